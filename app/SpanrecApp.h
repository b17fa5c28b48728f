#pragma once

// CSpanrecApp: the program's application object. It registers the sixteen document
// templates under their keys, creates the main window, registers the document types with the
// desktop, handles the command line and routes every opened file. Each
// window kind whose subsystem is not built yet is registered with placeholder classes that
// say so when opened.

#include "devices/core/DeviceManager.h"
#include "shell/VidraApp.h"

#include <QString>

class CMainFrame;

#include <array>
#include <memory>
#include <vector>

class CCaptureWizardSheet;
class CCmdUI;
class CRecordControllerView;
class CDataDisplayWindow;
class CDeviceSelection;
class CRecordGroupHost;
class CRecordControlPanelBar;

class CMultiDocTemplate;

class CSpanrecApp : public CVidraApp {
    DECLARE_DYNAMIC(CSpanrecApp)
    DECLARE_MESSAGE_MAP()

public:
    CSpanrecApp();
    ~CSpanrecApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Gives the splash the first look at input.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Every file that reaches the program comes here (File/Open, the main window's open
    // commands, the recent-file list, drops, the command line) and goes into a project or
    // play group, open or new, as the user's settings say (COpenRouter). The document it went
    // into, or null when it did not open.
    CDocument* OpenDocumentFile(const QString& fileName) override;

    // The template registered at index i of the table, or nullptr before start-up.
    CMultiDocTemplate* GetTemplate(int index) const {
        return m_templates[static_cast<size_t>(index)];
    }

    static constexpr int kTemplateCount = 16;
    // The key of table row i.
    static QString TemplateKey(int index);

    // The one device manager of the run: open devices live until the program ends, whichever
    // windows come and go.
    CDeviceManager* GetDeviceManager() { return &m_deviceManager; }

    // The video at path alone in the form view of a new play group ("DT:Meas"); null, with
    // the user told, when it does not open.
    CDocument* OpenInFormView(const QString& path);
    // The view of the first record controller that is open, or null.
    CRecordControllerView* FirstRecordController() const;
    // The live sensor window of a data card's document path ("sensorXXX" and the card's id)
    // in the open play project, else a new one; the sensor document, or null when it could not
    // be made.
    CDocument* OpenSensorWindow(const QString& path);

protected:
    void OnAppAbout();
    // File/Open: the program's own dialog of video, data and play-group files.
    void OnFileOpen();
    // Tools/Data Display: a data file chosen by the user, shown in a window of its own.
    void OnToolsDataDisplay();
    // Tools/Data Acquisition: a data card chosen in Device Selection, shown live in its
    // acquisition window with its record page (a record controller, once there is one, hosts
    // the card's page itself).
    void OnToolsDataAcquisition();
    // Tools/Data Sensor: a data card chosen in Device Selection, shown live in a sensor window
    // of the open play project (a new one when none is open).
    void OnToolsDataSensor();
    // File/Open Camera: a camera chosen in Device Selection joins the first record controller;
    // without one it is shown live in a camera window of its own.
    void OnFileOpenCamera();
    // File/Open Data Card and add-device: a device chosen in Device Selection joins the first
    // record controller; enabled only while there is one.
    void OnFileOpenDataCard();
    void OnRecordAddDevice();
    void OnUpdateNeedsRecordController(CCmdUI* pCmdUI);
    // File/Open Video in Form View...: the chosen video alone in the form view of a new play
    // group.
    void OnFileOpenFormView();
    // Edit/Record Options...: the recording options, saved to the registry on OK.
    void OnEditRecordOptions();
    // Tools/Auto-Record Controller...: the automatic download of the open cameras and data
    // cards (a record controller, once there is one, runs it for its own group).
    void OnToolsAutoRecord();
    // Tools/Auto-Record Control Panel...: the automatic download's options (its folders, base
    // name and format, cycles and delays), kept in its option file.
    void OnToolsAutoRecordSettings();
    // Tools/Convert Vidra 2.0 Files to Play Group...: the conversion wizard.
    void OnToolsConvertWizard();
    // Record/New Record Controller (Second Generation)...: an empty second-generation
    // controller in a window of its own.
    void OnNewRecordController2();

private:
    void AddTemplates();
    // When "Update:bUpdateCheck" is on and a check is due, asks the update server and offers
    // the update dialog when a newer version is listed.
    static void RunStartupUpdateCheck(CMainFrame* frame);

    std::array<CMultiDocTemplate*, kTemplateCount> m_templates{};
    CDeviceManager m_deviceManager;
    std::unique_ptr<CDeviceSelection> m_deviceSelection;
    // The capture wizard of the whole run: what its first pass chose waits for the second.
    std::unique_ptr<CCaptureWizardSheet> m_captureWizard;
    std::unique_ptr<CRecordGroupHost> m_recordGroupHost;
    // The main window's record control-panel bar (View/Control Bar).
    std::unique_ptr<CRecordControlPanelBar> m_recordPanel;
    std::vector<std::unique_ptr<CDataDisplayWindow>> m_dataDisplays;
};
