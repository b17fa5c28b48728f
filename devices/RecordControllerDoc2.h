#pragma once

// CRecordControllerDoc2: the second generation of record controller, a play-group form
// document that owns a record group and embeds one camera window per device. Saved as the
// controller file (two marker integers) beside one camera settings file per embedded camera
// ("<base>_cam0.camset", "<base>_cam1.camset" ...). A launch name ("launchXXX" in the path)
// opens an empty controller without reading a file.

#include "devices/core/DeviceId.h"
#include "devices/core/RecordGroup.h"
#include "frames/FrameSourcePtr.h"
#include "groups/MeasurementFormDoc.h"

class CCmdUI;
class CViewChildedFrame;

class CRecordControllerDoc2 : public CMeasurementFormDoc {
    DECLARE_DYNCREATE(CRecordControllerDoc2)
    DECLARE_MESSAGE_MAP()

public:
    CRecordControllerDoc2();
    ~CRecordControllerDoc2() override;

    // Titles the document "Empty Record Controller".
    BOOL OnNewDocument() override;
    // A launch name is kept and gives a new, empty controller; a file must carry the
    // controller's extension and read as a controller file.
    BOOL OnOpenDocument(const QString& pathName) override;
    // Every camera window's document to its numbered file, then the controller file; FALSE when
    // any of them failed.
    BOOL OnSaveDocument(const QString& pathName) override;
    void OnCloseDocument() override;
    // A controller opened from a launch name never enters the recent-file list; the launch name
    // itself is no path.
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;
    // File/Save and Save As... write the controller's files, not a play-group file.
    BOOL DoSave(const QString& pathName, BOOL bReplace = TRUE) override;
    BOOL DoFileSave() override;
    void Serialize(CArchive& ar) override;

    const QString& GetLaunchName() const { return m_launchName; }
    CRecordGroup* GetRecordGroup() { return &m_group; }
    // The embedded camera windows in the order they were added.
    std::vector<CViewChildedFrame*> CameraFrames() const;
    // Opens the camera (when it is not open yet) in a window embedded in the controller and
    // puts it into the group; the window's view, or null for a device that is no camera or
    // cannot be opened.
    CView* AddDevice(const CDeviceId& id);

    static constexpr UINT kAddDeviceCommand = 32801;

protected:
    // Record/Add Device...: a camera chosen in Device Selection joins the controller.
    void OnAddDevice();
    void OnUpdateAddDevice(CCmdUI* pCmdUI);

private:
    QString m_launchName;
    CRecordGroup m_group;
    CFrameSourcePtr m_source;
};
