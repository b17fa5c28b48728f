#include "app/SpanrecApp.h"

#include "app/AboutDlg.h"
#include "app/DeviceMemory.h"
#include "app/SensorSettingsSheet.h"
#include "app/SplashWnd.h"
#include "devices/AutoDownloadWnd.h"
#include "devices/AutoRecordHost.h"
#include "devices/CamDoc.h"
#include "devices/CamFrm.h"
#include "devices/CamFrmSimple.h"
#include "devices/CamView.h"
#include "devices/CaptureWizardSheet.h"
#include "devices/ConvertWizardSheet.h"
#include "devices/DeviceSelection.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/RecordControlPanelBar.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerDoc2.h"
#include "devices/RecordControllerFrame.h"
#include "devices/RecordControllerFrame2.h"
#include "devices/RecordControllerView.h"
#include "devices/RecordGroupHost.h"
#include "devices/RecordOptions.h"
#include "devices/SensorDeviceSelection.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/RecordGroup.h"
#include "frames/FileInUse.h"
#include "groups/FrameParentingView.h"
#include "groups/GeneralDoc.h"
#include "groups/GeneralFrame.h"
#include "groups/GeneralView.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementFormView.h"
#include "groups/MeasurementView.h"
#include "groups/NotesBasicDoc.h"
#include "groups/NotesBasicFrameVCF.h"
#include "groups/NotesBasicView.h"
#include "groups/ProjectGroupKinds.h"
#include "platform/com/Variant.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/CommandLineInfo.h"
#include "platform/framework/DocManager.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/View.h"
#include "platform/framework/WriteDestinationCheck.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDisplayWindow.h"
#include "sensordata/DataFrameVCF.h"
#include "sensordata/DataPlayDoc.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/DataQNPlayDoc.h"
#include "sensordata/DataQNPlayFrame.h"
#include "sensordata/DataQNPlayFrameVCF.h"
#include "sensordata/DataQNPlayView.h"
#include "sensordata/DataQNSensorDoc.h"
#include "sensordata/DataQNSensorFrame.h"
#include "sensordata/DataQNSensorFrameVCF.h"
#include "sensordata/DataQNSensorView.h"
#include "sensordata/DataSensorDoc.h"
#include "sensordata/DataSensorView.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensorres/SondrelModule.h"
#include "shell/ChildFrame.h"
#include "shell/DlgUpdateCheck.h"
#include "shell/IOpenDestinations.h"
#include "shell/MainFrame.h"
#include "shell/OpenRouter.h"
#include "shell/SpanrecDoc.h"
#include "shell/SpanrecView.h"
#include "tracking/CalibrationPanel.h"
#include "tracking/PlayDataCallback.h"
#include "tracking/VideoAnalysis.h"
#include "views/PlaybackView.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QFileInfo>

IMPLEMENT_DYNAMIC(CSpanrecApp, CVidraApp)

namespace {

constexpr UINT kToolsDataDisplay = 33100;
constexpr UINT kFileOpenFormView = 32990;
constexpr UINT kToolsDataAcquisition = 33102;
constexpr UINT kToolsDataSensor = 33103;
constexpr UINT kEditRecordOptions = 33120;
constexpr UINT kToolsAutoRecord = 33121;
constexpr UINT kToolsAutoRecordSettings = 33122;
constexpr UINT kToolsConvertWizard = 33110;
constexpr UINT kNewRecordController2 = 33131;

}  // namespace

BEGIN_MESSAGE_MAP(CSpanrecApp, CVidraApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(kToolsDataDisplay, OnToolsDataDisplay)
ON_COMMAND(kToolsDataAcquisition, OnToolsDataAcquisition)
ON_COMMAND(kToolsDataSensor, OnToolsDataSensor)
ON_COMMAND(ID_FILE_OPEN_CAMERA, OnFileOpenCamera)
ON_COMMAND(ID_FILE_OPEN_DATA_CARD, OnFileOpenDataCard)
ON_UPDATE_COMMAND_UI(ID_FILE_OPEN_DATA_CARD, OnUpdateNeedsRecordController)
ON_COMMAND(ID_RECORD_ADD_DEVICE, OnRecordAddDevice)
ON_UPDATE_COMMAND_UI(ID_RECORD_ADD_DEVICE, OnUpdateNeedsRecordController)
ON_COMMAND(kFileOpenFormView, OnFileOpenFormView)
ON_COMMAND(kEditRecordOptions, OnEditRecordOptions)
ON_COMMAND(kToolsAutoRecord, OnToolsAutoRecord)
ON_COMMAND(kToolsAutoRecordSettings, OnToolsAutoRecordSettings)
ON_COMMAND(kToolsConvertWizard, OnToolsConvertWizard)
ON_COMMAND(kNewRecordController2, OnNewRecordController2)
END_MESSAGE_MAP()

namespace {

struct TemplateRow {
    const char* key;
    UINT resourceId;
    const CRuntimeClass* document;
    const CRuntimeClass* frame;
    const CRuntimeClass* view;
};

// Registration order is key index: later code finds the templates by these keys. A row with
// placeholder classes is a window kind whose subsystem is not built yet.
const TemplateRow* Rows() {
    static const TemplateRow rows[CSpanrecApp::kTemplateCount] = {
        {"DT:Orig", 129, RUNTIME_CLASS(CSpanrecDoc), RUNTIME_CLASS(CChildFrame),
         RUNTIME_CLASS(CSpanrecView)},
        {"DT:Rec", 134, RUNTIME_CLASS(CRecordControllerDoc), RUNTIME_CLASS(CRecordControllerFrame),
         RUNTIME_CLASS(CRecordControllerView)},
        {"DT:Rec2", 134, RUNTIME_CLASS(CRecordControllerDoc2),
         RUNTIME_CLASS(CRecordControllerFrame2), RUNTIME_CLASS(CRecordControllerView2)},
        {"DT:Cam", 138, RUNTIME_CLASS(CCamDoc), RUNTIME_CLASS(CCamFrm), RUNTIME_CLASS(CCamView)},
        {"DT:Cam2", 141, RUNTIME_CLASS(CCamDoc), RUNTIME_CLASS(CCamFrmSimple),
         RUNTIME_CLASS(CCamView)},
        {"DT:Meas", 129, RUNTIME_CLASS(CMeasurementFormDoc), RUNTIME_CLASS(CMeasurementFormFrame),
         RUNTIME_CLASS(CMeasurementFormView)},
        {"DT:Meas2", 152, RUNTIME_CLASS(CMeasurementFormDoc), RUNTIME_CLASS(CMeasurementFormFrame),
         RUNTIME_CLASS(CMeasurementView)},
        {"DT:Vid", 145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView)},
        {"DT:QNSens", 149, RUNTIME_CLASS(CDataQNSensorDoc), RUNTIME_CLASS(CDataQNSensorFrame),
         RUNTIME_CLASS(CDataQNSensorView)},
        {"DT:QNSensVCF", 149, RUNTIME_CLASS(CDataQNSensorDoc), RUNTIME_CLASS(CDataQNSensorFrameVCF),
         RUNTIME_CLASS(CDataQNSensorView)},
        {"DT:QNSensPlay", 151, RUNTIME_CLASS(CDataQNPlayDoc), RUNTIME_CLASS(CDataQNPlayFrame),
         RUNTIME_CLASS(CDataQNPlayView)},
        {"DT:QNSensPlayVCF", 151, RUNTIME_CLASS(CDataQNPlayDoc), RUNTIME_CLASS(CDataQNPlayFrameVCF),
         RUNTIME_CLASS(CDataQNPlayView)},
        {"DT:PmoSensVCF", 149, RUNTIME_CLASS(CDataSensorDoc), RUNTIME_CLASS(CDataQNSensorFrameVCF),
         RUNTIME_CLASS(CDataSensorView)},
        {"DT:PmoPlayVCF", 151, RUNTIME_CLASS(CDataPlayDoc), RUNTIME_CLASS(CDataQNPlayFrameVCF),
         RUNTIME_CLASS(CDataPlayView)},
        {"DT:NotesBasicVCF", 153, RUNTIME_CLASS(CNotesBasicDoc), RUNTIME_CLASS(CNotesBasicFrameVCF),
         RUNTIME_CLASS(CNotesBasicView)},
        {"DT:Gen", 154, RUNTIME_CLASS(CGeneralDoc), RUNTIME_CLASS(CGeneralFrame),
         RUNTIME_CLASS(CGeneralView)},
    };
    return rows;
}

const char* const kFileOpenFilter =
    "Video File Types (*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi)|*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi|"
    "Data Files (*.mdat;*.au2;*.vidatqn)|*.mdat;*.au2;*.vidatqn|Play Group Files "
    "(*.playgrp)|*.playgrp|All Files (*.*)|*.*||";

// The open router's destinations among the main window's MDI children. Window classes are
// looked up by name, so a kind of window that is not part of the program is simply never
// found.
class CSpanrecOpenDestinations : public IOpenDestinations {
public:
    explicit CSpanrecOpenDestinations(CSpanrecApp& app)
        : m_app(app), m_frame(dynamic_cast<CVidraFrameWnd*>(app.m_pMainWnd)) {}

    QString FilterExtensions(const QString& templateKey) override {
        QString extensions;
        if (CDocTemplate* docTemplate = m_app.GetTemplateByKey(templateKey))
            docTemplate->GetDocString(extensions, CDocTemplate::filterExt);
        return extensions;
    }

    int IntegerSetting(const QString& key) override {
        VARIANT value;
        if (!m_frame || FAILED(m_frame->GetSetting(key, &value, -1)))
            return 0;
        VARIANT number;
        const bool ok = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4));
        VariantClear(&value);
        return ok ? number.lVal : 0;
    }

    int PlacementMode() override {
        int mode = 0;
        m_app.GetCreateOption(0, &mode);
        return mode;
    }

    Window FindRecordProject() override {
        const CRuntimeClass* frameClass = Class("CRecordControllerFrame");
        if (!m_frame || !frameClass || !Class("CGeneralView"))
            return {};
        return Of(m_frame->FindViewWithChildFrame(Class("CGeneralView"), frameClass));
    }

    // Record controllers live inside projects: their documents find them.
    Window FindRecordController() override {
        CRecordControllerView* view = m_app.FirstRecordController();
        return view ? Window{view, view->GetDocument()} : Window{};
    }

    Window FindPlayProject() override {
        const CRuntimeClass* frameClass = Class("CRecordControllerFrame");
        if (!frameClass)
            return FirstViewOf("CGeneralView");
        if (!m_frame || !Class("CGeneralView"))
            return {};
        return Of(m_frame->FindGroupView(Class("CGeneralView"), frameClass));
    }

    Window FindPlayGroup() override { return FirstViewOf("CMeasurementView"); }

    bool OpenRecordConfiguration(CDocument* project, const QString& path) override {
        auto* doc = dynamic_cast<CGeneralDoc*>(project);
        CDocument* group = nullptr;
        return doc && doc->OpenRecordConfiguration(path, &group) && group;
    }

    bool OpenPlayGroupFile(CDocument* project, const QString& path, CDocument** group) override {
        auto* doc = dynamic_cast<CGeneralDoc*>(project);
        if (!doc || !doc->OpenPlayGroupFile(path, group) || !*group)
            return false;
        // The group is there; the file may still have failed to open in it.
        auto* playGroup = dynamic_cast<CMeasurementFormDoc*>(*group);
        return !playGroup || !playGroup->HasLoadFailed();
    }

    bool AddFileToPlayGroup(CDocument* group, const QString& path) override {
        auto* doc = dynamic_cast<CMeasurementFormDoc*>(group);
        return doc && doc->AddPlaybackFromFile(path, 0, 1, nullptr, nullptr);
    }

    bool OpenFileWithSimilarlyNamed(CDocument* group, const QString& path) override {
        auto* doc = dynamic_cast<CMeasurementFormDoc*>(group);
        return doc && doc->OpenFileWithSimilarlyNamed(path);
    }

    bool StorePathName(CDocument* recordController, const QString& path) override {
        auto* doc = dynamic_cast<CRecordControllerDoc*>(recordController);
        if (doc)
            doc->StorePathName(path);
        return doc != nullptr;
    }

    // A configuration whose device files open no device has still been opened.
    bool LoadDeviceSet(CDocument* recordController, int) override {
        auto* doc = dynamic_cast<CRecordControllerDoc*>(recordController);
        if (doc)
            doc->LoadDeviceSet();
        return doc != nullptr;
    }

    // A project or group whose file did not open (its play group said so) closes again, and
    // only a file that opened joins the recent-file list.
    CDocument* OpenWithTemplate(const QString& templateKey, const QString& path) override {
        CDocTemplate* docTemplate = m_app.GetTemplateByKey(templateKey);
        CDocument* doc = docTemplate ? docTemplate->OpenDocumentFile(path, TRUE) : nullptr;
        if (!doc)
            return nullptr;
        auto* project = dynamic_cast<CGeneralDoc*>(doc);
        auto* group = dynamic_cast<CMeasurementFormDoc*>(doc);
        if ((project && project->HasOpenFailed()) || (group && group->HasOpenFailed())) {
            doc->OnCloseDocument();
            return nullptr;
        }
        if (QFileInfo(path).isFile())
            m_app.AddToRecentFileList(path);
        return doc;
    }

    void AddToRecentFileList(const QString& path) override { m_app.AddToRecentFileList(path); }

    void Activate(const Window& window) override {
        auto* view = static_cast<CView*>(window.view);
        auto* child = view ? dynamic_cast<CMDIChildWnd*>(view->GetParentFrame()) : nullptr;
        if (m_frame && child)
            m_frame->MDIActivate(child);
    }

private:
    static const CRuntimeClass* Class(const char* name) { return CRuntimeClass::FromName(name); }
    static Window Of(CView* view) { return view ? Window{view, view->GetDocument()} : Window{}; }

    Window FirstViewOf(const char* viewClass) {
        const CRuntimeClass* cls = Class(viewClass);
        return m_frame && cls ? Of(m_frame->FindViewOfClass(cls)) : Window{};
    }

    CSpanrecApp& m_app;
    CVidraFrameWnd* m_frame;
};

}  // namespace

CSpanrecApp::CSpanrecApp() : CVidraApp(QString::fromLatin1(kMainTitle)) {}

CSpanrecApp::~CSpanrecApp() {
    if (m_captureWizard)
        CVidraFrameWnd::SetCaptureWizard(nullptr);
}

QString CSpanrecApp::TemplateKey(int index) {
    return QString::fromLatin1(Rows()[index].key);
}

void CSpanrecApp::AddTemplates() {
    for (int i = 0; i < kTemplateCount; ++i) {
        const TemplateRow& row = Rows()[i];
        auto* docTemplate =
            new CMultiDocTemplate(row.resourceId, row.document, row.frame, row.view);
        // The play group's type strings are its own: its file extension is defined there. The
        // form view of a single video opens no files of that type itself.
        if (row.document == RUNTIME_CLASS(CMeasurementFormDoc))
            docTemplate->SetDocString(QString::fromLatin1(
                row.view == RUNTIME_CLASS(CMeasurementView) ? CMeasurementFormDoc::kDocString
                                                            : CMeasurementFormDoc::kFormDocString));
        m_templates[static_cast<size_t>(i)] = docTemplate;
        AddDocTemplateWithKey(QString::fromLatin1(row.key), docTemplate);
    }
}

BOOL CSpanrecApp::InitInstance() {
    // The program's texts are needed by the first message, that of a second start.
    CProgramResources::Register();
    // No document save writes over a recording that is open here.
    SetWriteDestinationCheck([](const QString& path) { return CheckWriteDestination(path); });
    m_deviceSelection = std::make_unique<CDeviceSelection>();
    IDeviceSelection::Install(m_deviceSelection.get());
    // The sensor windows' templates come from the sensor-resource library, after the program's.
    CResourceChain::AddModule(RmResourceModule());
    CCommandLineInfo splashInfo;
    ParseCommandLine(splashInfo);
    CSplashWnd::EnableSplashScreen(splashInfo.m_bShowSplash);
    if (!CVidraApp::InitInstance())
        return FALSE;

    SetRegistryKey(QStringLiteral("Tolvar"));
    LoadStdProfileSettings(10);
    AddTemplates();
    // Data cards open as the sensor-data layer's devices.
    InstallDataCardFactory();
    m_recordGroupHost = std::make_unique<CRecordGroupHost>();
    CRecordGroup::SetHost(m_recordGroupHost.get());
    CProjectGroupKinds kinds;
    kinds.playGroupView = RUNTIME_CLASS(CMeasurementView);
    kinds.playGroupFrame = RUNTIME_CLASS(CMeasurementFormFrame);
    kinds.playbackView = RUNTIME_CLASS(CPlaybackView);
    kinds.recordControllerView = RUNTIME_CLASS(CRecordControllerView);
    kinds.recordControllerFrame = RUNTIME_CLASS(CRecordControllerFrame);
    kinds.cameraView = RUNTIME_CLASS(CCamView);
    kinds.sensorDataView = RUNTIME_CLASS(CDataSensorView);
    kinds.dataFrame = RUNTIME_CLASS(CDataFrameVCF);
    kinds.dataPlayFrame = RUNTIME_CLASS(CDataQNPlayFrameVCF);
    kinds.sensorDataFrame = RUNTIME_CLASS(CDataQNSensorFrameVCF);
    CGeneralDoc::SetGroupKinds(kinds);
    // The live sensor documents keep the device layer's settings sheet.
    IDeviceSettingsSheet::SetFactory([] { return std::make_unique<CSensorSettingsSheet>(); });
    // A data member, its window and its save target share one data set.
    CMeasurementFormDoc::SetDataSetFactory([] { return new CSensorDataSet; });
    // Each video member gets its calibration, feature set and overlays.
    CMeasurementFormDoc::SetAnalysisFactory(&CVideoAnalysis::Create);
    // A device marker opens what the device holds.
    CMeasurementFormDoc::SetDeviceMemory(&CDeviceMemory::Instance());
    // Each play group's frame has the calibration panel of its active video, and its view
    // carries tracked points to and from that video's measurement points.
    CMeasurementFormFrame::SetCalibrationPanelFactory([] { return new CCalibrationPanel; });
    CMeasurementView::SetPlayDataFactory(
        [](CMeasurementFormDoc* doc, CMeasurementView* view) -> IPlayDataGatherer* {
            return new CPlayDataCallback(doc, view);
        });

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        m_nExitCode = 1;
        return FALSE;
    }
    m_pMainWnd = frame;
    m_recordPanel = std::make_unique<CRecordControlPanelBar>([this]() -> CRecordGroup* {
        CRecordControllerView* controller = FirstRecordController();
        return controller ? controller->GetRecordGroup() : nullptr;
    });
    m_recordPanel->CreateIn(frame);
    m_captureWizard = std::make_unique<CCaptureWizardSheet>(frame);
    CVidraFrameWnd::SetCaptureWizard(m_captureWizard.get());
    frame->DragAcceptFiles();
    CSplashWnd::ShowSplashScreen(frame);
    if (m_pDocManager)
        m_pDocManager->RegisterShellFileTypes(TRUE);

    // There is no object server on this platform: /Embedding and /Automation start the
    // program normally instead of leaving a hidden process with nothing to serve.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    cmdInfo.m_bRunEmbedded = FALSE;
    cmdInfo.m_bRunAutomated = FALSE;
    // The main window is shown maximised before a file opens in it, so that the file's
    // windows are made inside the size the window keeps.
    const bool opensFiles = cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen;
    m_nCmdShow = SW_SHOWMAXIMIZED;
    if (opensFiles)
        frame->ShowWindow(SW_SHOWMAXIMIZED);
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister ||
        cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen) {
        if (!ProcessShellCommand(cmdInfo))
            return FALSE;
        // The shell command opened the first file; the others open after it, in order.
        for (qsizetype i = 1; i < cmdInfo.m_fileNames.size(); ++i)
            OpenDocumentFile(cmdInfo.m_fileNames[i]);
    }

    if (!opensFiles)
        frame->ShowWindow(SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    frame->SetWindowText(QString::fromLatin1(kMainTitle));
    RunStartupUpdateCheck(frame);
    return TRUE;
}

void CSpanrecApp::RunStartupUpdateCheck(CMainFrame* frame) {
    VARIANT enabled;
    if (FAILED(frame->GetSetting(QStringLiteral("Update:bUpdateCheck"), &enabled, -1)) ||
        enabled.vt != VT_I4 || enabled.lVal == 0)
        return;
    CDlgUpdateCheck check;
    if (check.AutoCheck() <= 0)
        return;
    MessageBoxPrompt prompt;
    prompt.text = QStringLiteral(
        "A new version of this product is available for download.\nDo you wish to view "
        "information about the update now?");
    prompt.type = MB_YESNO | MB_ICONINFORMATION;
    prompt.owner = frame->GetQWidget();
    if (AfxPrompter().MessageBox(prompt) == IDYES)
        check.DoModal(TRUE);
}

void CSpanrecApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CSpanrecApp::OnFileOpen() {
    CFileDialog dialog(TRUE, QStringLiteral("avi"), QString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       QString::fromLatin1(kFileOpenFilter), m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

void CSpanrecApp::OnToolsDataDisplay() {
    CFileDialog dialog(
        TRUE, QStringLiteral("mdat"), QString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
        QStringLiteral("Data Files (*.mdat;*.au2;*.vidatqn)|*.mdat;*.au2;*.vidatqn||"), m_pMainWnd);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Select Data File to Load");
    if (dialog.DoModal() != IDOK)
        return;
    // Windows the user closed are let go before a new one comes.
    std::erase_if(m_dataDisplays, [](const auto& window) { return !window->IsShown(); });
    const QString path = dialog.GetPathName();
    if (auto window = CDataDisplayWindow::Open(path, m_pMainWnd))
        m_dataDisplays.push_back(std::move(window));
    else
        AfxMessageBox(QStringLiteral("Error opening file %1.").arg(path));
}

void CSpanrecApp::OnToolsConvertWizard() {
    CConvertWizardSheet sheet(m_pMainWnd);
    sheet.DoModal();
}

void CSpanrecApp::OnToolsDataAcquisition() {
    CDeviceSelectionDlg dialog(m_pMainWnd);
    dialog.SetDeviceKind(2);
    if (dialog.DoModal() != IDOK)
        return;
    CDeviceId id;
    dialog.GetDeviceId(&id);
    if (id.IsNone())
        return;
    if (id.m_type != kDeviceTypeDataCard) {
        AfxMessageBox(QStringLiteral("The selected device is not a data acquisition device."),
                      MB_OK | MB_ICONWARNING);
        return;
    }
    auto* card = dynamic_cast<CDataAcqWnd*>(DriverLoader::OpenById(id));
    if (!card || !card->ShowWindowFor(m_pMainWnd)) {
        AfxMessageBox(QStringLiteral("The device could not be opened."), MB_OK | MB_ICONWARNING);
        return;
    }
    card->StartAcquisition();
}

CRecordControllerView* CSpanrecApp::FirstRecordController() const {
    CDocTemplate* controllers = m_templates[1];
    for (POSITION pos = controllers ? controllers->GetFirstDocPosition() : nullptr; pos;) {
        auto* doc = dynamic_cast<CRecordControllerDoc*>(controllers->GetNextDoc(pos));
        if (CRecordControllerView* view = doc ? doc->GetControllerView() : nullptr)
            return view;
    }
    return nullptr;
}

void CSpanrecApp::OnFileOpenDataCard() {
    if (CRecordControllerView* controller = FirstRecordController())
        controller->AddDeviceOfKind(kDeviceTypeDataCard);
}

void CSpanrecApp::OnRecordAddDevice() {
    if (CRecordControllerView* controller = FirstRecordController())
        controller->AddDeviceOfKind(0);
}

void CSpanrecApp::OnUpdateNeedsRecordController(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FirstRecordController() != nullptr);
}

void CSpanrecApp::OnToolsDataSensor() {
    const QString path = SensorDeviceSelection::ChooseSensorPath(m_pMainWnd);
    if (path.isEmpty())
        return;
    if (!DriverLoader::OpenById(CDataSensorDoc::DeviceIdOfPath(path)) || !OpenSensorWindow(path))
        AfxMessageBox(QStringLiteral("The device could not be opened."), MB_OK | MB_ICONWARNING);
}

CDocument* CSpanrecApp::OpenSensorWindow(const QString& path) {
    // The live window joins the open play project, else a new one, beside its groups.
    CSpanrecOpenDestinations destinations(*this);
    auto* project = dynamic_cast<CGeneralDoc*>(destinations.FindPlayProject().document);
    if (!project) {
        CDocTemplate* projects = GetTemplateByKey(QStringLiteral("DT:Gen"));
        project = dynamic_cast<CGeneralDoc*>(projects ? projects->OpenDocumentFile(QString(), TRUE)
                                                      : nullptr);
    }
    CFrameParentingView* host = project ? project->GetProjectView() : nullptr;
    CDocTemplate* sensors = GetTemplateByKey(QStringLiteral("DT:PmoSensVCF"));
    if (!host || !sensors)
        return nullptr;
    CDocument* doc = sensors->OpenDocumentFile(path, FALSE);
    POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr;
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    auto* frame = view ? dynamic_cast<CViewChildedFrame*>(view->GetParentFrame()) : nullptr;
    if (!frame) {
        if (doc)
            doc->OnCloseDocument();
        return nullptr;
    }
    CViewChildedFrame::AttachToParentView(host, frame);
    frame->SetMenu(nullptr);
    frame->ShowWindow(SW_SHOW);
    view->ShowWindow(SW_SHOW);
    CRect client;
    host->GetClientRect(&client);
    host->SendMessage(WM_SIZE, SIZE_RESTORED,
                      static_cast<LPARAM>(MAKELONG(client.Width(), client.Height())));
    destinations.Activate({host, project});
    frame->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return doc;
}

void CSpanrecApp::OnFileOpenCamera() {
    if (CRecordControllerView* controller = FirstRecordController()) {
        controller->AddDeviceOfKind(kDeviceTypeCamera);
        return;
    }
    CDeviceSelectionDlg dialog(m_pMainWnd);
    dialog.SetDeviceKind(3);
    if (dialog.DoModal() != IDOK)
        return;
    CDeviceId id;
    dialog.GetDeviceId(&id);
    if (id.IsNone())
        return;
    if (!DriverLoader::OpenById(id)) {
        AfxMessageBox(QStringLiteral("The device could not be opened."), MB_OK | MB_ICONWARNING);
        return;
    }
    CreateDocumentByKey(QStringLiteral("DT:Cam"),
                        QString::fromLatin1(CCamDoc::kDeviceMarker) + "__" + id.ToString(), TRUE);
}

void CSpanrecApp::OnEditRecordOptions() {
    CRecordOptions options(m_pMainWnd);
    options.DoModal();
}

void CSpanrecApp::OnToolsAutoRecord() {
    CAutoRecordHost host;
    host.Run(m_pMainWnd);
}

void CSpanrecApp::OnToolsAutoRecordSettings() {
    CAutoDownloadWnd settings(nullptr);
    settings.LoadOptionFile();
    settings.EditOptions();
}

void CSpanrecApp::OnNewRecordController2() {
    // A launch name opens no file: the controller starts empty and stays out of the recent
    // files.
    if (CDocTemplate* controllers = GetTemplateByKey(QStringLiteral("DT:Rec2")))
        controllers->OpenDocumentFile(
            QStringLiteral("__") + QString::fromLatin1(CRecordControllerDoc::kLaunchMarker), TRUE);
}

void CSpanrecApp::OnFileOpenFormView() {
    CFileDialog dialog(TRUE, QStringLiteral("avi"), QString(), OFN_HIDEREADONLY,
                       QStringLiteral("Recognized File Types (*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi)|"
                                      "*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi|All Files (*.*)|*.*||"),
                       m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenInFormView(dialog.GetPathName());
}

CDocument* CSpanrecApp::OpenInFormView(const QString& path) {
    CDocTemplate* forms = GetTemplateByKey(QStringLiteral("DT:Meas"));
    auto* group = dynamic_cast<CMeasurementFormDoc*>(
        forms ? forms->OpenDocumentFile(QString(), TRUE) : nullptr);
    if (!group)
        return nullptr;
    if (!group->AddVideoWithoutWindow(path)) {
        group->OnCloseDocument();
        return nullptr;
    }
    return group;
}

int CSpanrecApp::ExitInstance() {
    IDeviceSelection::Install(nullptr);
    IDeviceSettingsSheet::SetFactory(nullptr);
    CRecordGroup::SetHost(nullptr);
    CVidraFrameWnd::SetCaptureWizard(nullptr);
    m_captureWizard.reset();
    m_dataDisplays.clear();
    return CVidraApp::ExitInstance();
}

CDocument* CSpanrecApp::OpenDocumentFile(const QString& fileName) {
    CSpanrecOpenDestinations destinations(*this);
    return COpenRouter(destinations).Open(fileName);
}

BOOL CSpanrecApp::PreTranslateMessage(MSG* pMsg) {
    if (CSplashWnd::PreTranslateAppMessage(pMsg))
        return TRUE;
    return CVidraApp::PreTranslateMessage(pMsg);
}
