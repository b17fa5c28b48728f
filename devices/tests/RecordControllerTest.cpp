#include "devices/AutoDownloadWnd.h"
#include "devices/AutoRecordDlg.h"
#include "devices/CamDoc.h"
#include "devices/CamFrmSimple.h"
#include "devices/CamView.h"
#include "devices/DataSetLink.h"
#include "devices/DeviceSetFiles.h"
#include "devices/DlgCameraOptions.h"
#include "devices/RecordControllerDoc.h"
#include "devices/RecordControllerDoc2.h"
#include "devices/RecordControllerFrame.h"
#include "devices/RecordControllerFrame2.h"
#include "devices/RecordControllerView.h"
#include "devices/ToolWindowTitler.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "devices/sources/DeviceFrameSources.h"
#include "frames/FrameSource.h"
#include "frames/MessagePoster.h"
#include "frames/Notifier.h"
#include "frames/RecordFrameAdapter.h"
#include "platform/com/Bstr.h"
#include "platform/com/Variant.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/RunningOperation.h"
#include "resources/ProgramResources.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataPlayDoc.h"
#include "sensordata/DataPlayView.h"
#include "sensordata/DataQNSensorFrameVCF.h"
#include "sensordata/DataSensorDoc.h"
#include "sensordata/DataSensorView.h"
#include "sensordata/IDeviceSettingsSheet.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "shell/SaveController.h"
#include "shell/VidraApp.h"
#include "testsupport/IsolatedTest.h"
#include "views/RegionToolWnd.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"
#include "views/panels/ControlPanelBar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Touch(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The camera a device settings file was written for.
int CameraIndexOfFile(const QString& path) {
    CDlgCameraOptions sheet;
    if (sheet.Load(path) != S_OK)
        return -1;
    return sheet.GetDeviceSettings().m_index;
}

// The settings sheet of a live data window: the device's own sheet, bound to the window's link.
class CCardSheet : public IDeviceSettingsSheet {
public:
    HRESULT Load(const QString& path) override { return m_sheet.Load(path); }
    HRESULT Save(const QString& path) override { return m_sheet.Save(path); }
    void Bind(CDeviceLink* link) override { m_sheet.Bind(link); }
    CDeviceLink* GetLink() const override { return m_sheet.GetLink(); }
    CDeviceId GetDeviceId() const override { return m_sheet.GetDeviceSettings(); }
    void SetDeviceId(const CDeviceId& id) override {
        static_cast<CDeviceId&>(m_sheet.m_deviceValue.m_descriptor) = id;
        m_sheet.m_deviceEdit.CopyFrom(m_sheet.m_deviceValue);
    }
    void SerializeAcquisition(CArchive&) override {}

private:
    CDlgCameraOptions m_sheet;
};

class CRecordingApp : public CVidraApp {
public:
    CRecordingApp() : CVidraApp(QStringLiteral("Vidra Player")) {}
    void AddToRecentFileList(const QString& pathName) override { recent.push_back(pathName); }
    std::vector<QString> recent;
};

class RecordControllerTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_app = std::make_unique<CRecordingApp>();
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app->m_pMainWnd = m_main;
        m_main->ShowWindow(SW_SHOW);
        AddLeadingTemplates();
        AddTemplate("DT:Rec", RUNTIME_CLASS(CRecordControllerDoc),
                    RUNTIME_CLASS(CRecordControllerFrame), RUNTIME_CLASS(CRecordControllerView));
        AddTemplate("DT:Rec2", RUNTIME_CLASS(CRecordControllerDoc2),
                    RUNTIME_CLASS(CRecordControllerFrame2), RUNTIME_CLASS(CRecordControllerView2));
        AddTemplate("DT:Cam2", RUNTIME_CLASS(CCamDoc), RUNTIME_CLASS(CCamFrmSimple),
                    RUNTIME_CLASS(CCamView));
        AddTemplate("DT:PmoSensVCF", RUNTIME_CLASS(CDataSensorDoc),
                    RUNTIME_CLASS(CDataQNSensorFrameVCF), RUNTIME_CLASS(CDataSensorView));
        SimDriverConfig config;
        config.cameras = 3;
        config.cards = 1;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
        InstallDataCardFactory();
        IDeviceSettingsSheet::SetFactory([] { return std::make_unique<CCardSheet>(); });
    }

    void TearDown() override {
        for (POSITION pos = m_app->GetFirstDocTemplatePosition(); pos;)
            m_app->GetNextDocTemplate(pos)->CloseAllDocuments(TRUE);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        IDeviceSettingsSheet::SetFactory(nullptr);
        CFrameSource::SetSaveControllerFactory(nullptr);
        if (m_app->m_pMainWnd == m_main)
            m_main->DestroyWindow();
        m_app.reset();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    // Templates registered before the controller's: the first is the program's first kind.
    virtual void AddLeadingTemplates() {}

    void AddTemplate(const char* key, const CRuntimeClass* doc, const CRuntimeClass* frame,
                     const CRuntimeClass* view) {
        auto* docTemplate = new CMultiDocTemplate(134, doc, frame, view);
        m_app->AddDocTemplateWithKey(QString::fromLatin1(key), docTemplate);
    }

    template <class Doc>
    Doc* Open(const char* key, const QString& path = QString()) {
        return dynamic_cast<Doc*>(
            m_app->CreateDocumentByKey(QString::fromLatin1(key), path, TRUE, 0, 0, 0, 0));
    }

    CRecordControllerDoc* NewController() { return Open<CRecordControllerDoc>("DT:Rec"); }

    static CRecordControllerView* ViewOf(CDocument* doc) {
        POSITION pos = doc->GetFirstViewPosition();
        return dynamic_cast<CRecordControllerView*>(doc->GetNextView(pos));
    }
    static CRecordControllerFrame* FrameOf(CDocument* doc) {
        return dynamic_cast<CRecordControllerFrame*>(ViewOf(doc)->GetParentFrame());
    }
    static CDeviceId Camera(int index) { return CDeviceId(kDeviceTypeCamera, 1, index); }

    // Indices of the cameras in the controller's device windows, in order.
    static std::vector<int> CameraIndices(CRecordControllerDoc* doc) {
        std::vector<int> indices;
        for (CViewChildedFrame* frame : doc->DeviceFrames())
            indices.push_back(
                CRecordControllerDoc::DeviceOfView(frame->GetActiveView())->GetId().m_index);
        return indices;
    }

    SimHostClock m_clock;
    std::unique_ptr<CRecordingApp> m_app;
    CMainFrame* m_main = nullptr;
};

TEST_F(RecordControllerTest, ControllerFileHoldsOnlyItsTwoMarkers) {
    CRecordControllerDoc* doc = NewController();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "Record Group");
    const QString path = WorkPath("empty.recc");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(Bytes(path), QByteArray::fromHex("cc1601009c1e0000"));
    // Reading it gives nothing: a controller opened from it has no device.
    CRecordControllerDoc* opened = Open<CRecordControllerDoc>("DT:Rec", path);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetRecordGroup()->GetDeviceCount(), 0);
    EXPECT_EQ(opened->GetPathName(), path);
}

TEST_F(RecordControllerTest, SavesEachDeviceInTheOrderItWasAddedAndLoadsThemBack) {
    CRecordControllerDoc* doc = NewController();
    ASSERT_NE(doc, nullptr);
    for (int index : {2, 0, 1})
        ASSERT_NE(doc->AddDevice(Camera(index)), nullptr);
    // The first window comes to the top again: the order is that of adding, not of stacking.
    doc->GetControllerView()->ActivateDeviceFrame(doc->DeviceFrames().front());
    ASSERT_EQ(doc->GetRecordGroup()->GetDeviceCount(), 3);

    const QString path = WorkPath("rig.recc");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    const std::vector<CViewChildedFrame*> frames = doc->DeviceFrames();
    ASSERT_EQ(frames.size(), 3u);
    for (int n = 1; n <= 3; ++n) {
        const QString file = WorkPath(QStringLiteral("rig_dev%1.devset").arg(n));
        // Each file is exactly what that window's own settings sheet writes.
        auto* camDoc =
            dynamic_cast<CCamDoc*>(frames[size_t(n - 1)]->GetActiveView()->GetDocument());
        ASSERT_NE(camDoc, nullptr);
        const QString alone = WorkPath(QStringLiteral("alone%1.devset").arg(n));
        ASSERT_EQ(camDoc->GetSettingsSheet()->Save(alone), S_OK);
        EXPECT_EQ(Bytes(file), Bytes(alone)) << n;
        EXPECT_EQ(CameraIndexOfFile(file), std::vector<int>({2, 0, 1})[size_t(n - 1)]);
    }
    EXPECT_FALSE(QFileInfo::exists(WorkPath("rig_dev4.devset")));
    EXPECT_EQ(Bytes(path), QByteArray::fromHex("cc1601009c1e0000"));

    doc->OnCloseDocument();
    CRecordControllerDoc* loaded = Open<CRecordControllerDoc>("DT:Rec", path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CameraIndices(loaded), std::vector<int>({2, 0, 1}));
    EXPECT_EQ(loaded->GetRecordGroup()->GetDeviceCount(), 3);
}

// A controller launched for one camera and then handed a saved configuration (as File/Open does
// in its project) loads the configuration's devices, not the launch camera again.
TEST_F(RecordControllerTest, AConfigurationHandedToALaunchedControllerReplacesItsLaunchDevice) {
    CRecordControllerDoc* saved = NewController();
    ASSERT_NE(saved, nullptr);
    for (int index : {1, 2})
        ASSERT_NE(saved->AddDevice(Camera(index)), nullptr);
    const QString path = WorkPath("rig.recc");
    ASSERT_TRUE(saved->OnSaveDocument(path));
    saved->OnCloseDocument();

    auto* launched = Open<CRecordControllerDoc>(
        "DT:Rec", QStringLiteral("__launchXXXdevice") + Camera(0).ToString());
    ASSERT_NE(launched, nullptr);
    ASSERT_EQ(CameraIndices(launched), std::vector<int>({0}));
    launched->CloseDeviceWindows();
    ASSERT_TRUE(launched->DeviceFrames().empty());
    launched->StorePathName(path);
    launched->ReloadDeviceSet();
    EXPECT_EQ(CameraIndices(launched), std::vector<int>({1, 2}));
    EXPECT_EQ(launched->GetPathName(), path);
}

TEST_F(RecordControllerTest, LoadingStopsAtTheFirstMissingNumber) {
    CRecordControllerDoc* doc = NewController();
    for (int index : {0, 1, 2})
        ASSERT_NE(doc->AddDevice(Camera(index)), nullptr);
    const QString path = WorkPath("gap.recc");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    doc->OnCloseDocument();
    ASSERT_TRUE(QFile::rename(WorkPath("gap_dev3.devset"), WorkPath("gap_dev4.devset")));

    CRecordControllerDoc* loaded = Open<CRecordControllerDoc>("DT:Rec", path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CameraIndices(loaded), std::vector<int>({0, 1}));
}

TEST_F(RecordControllerTest, SavingFewerDevicesRemovesTheFilesBeyondThem) {
    CRecordControllerDoc* doc = NewController();
    for (int index : {0, 1, 2})
        ASSERT_NE(doc->AddDevice(Camera(index)), nullptr);
    const QString path = WorkPath("shrink.recc");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    // Left over from elsewhere: a number past a gap, and names this controller never writes.
    Touch(WorkPath("shrink_dev7.devset"));
    Touch(WorkPath("shrink_dev02.devset"));
    Touch(WorkPath("shrink_devx.devset"));
    Touch(WorkPath("other_dev2.devset"));

    doc->GetControllerView();
    for (size_t i = 1; i < 3; ++i)
        doc->DeviceFrames().back()->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_EQ(doc->DeviceFrames().size(), 1u);
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_TRUE(QFileInfo::exists(WorkPath("shrink_dev1.devset")));
    for (const char* gone : {"shrink_dev2.devset", "shrink_dev3.devset", "shrink_dev7.devset"})
        EXPECT_FALSE(QFileInfo::exists(WorkPath(gone))) << gone;
    for (const char* kept : {"shrink_dev02.devset", "shrink_devx.devset", "other_dev2.devset"})
        EXPECT_TRUE(QFileInfo::exists(WorkPath(kept))) << kept;

    doc->OnCloseDocument();
    CRecordControllerDoc* loaded = Open<CRecordControllerDoc>("DT:Rec", path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(CameraIndices(loaded), std::vector<int>({0}));
}

TEST_F(RecordControllerTest, ADeviceFileThatCannotBeWrittenFailsTheSaveAndKeepsTheOldFiles) {
    CRecordControllerDoc* doc = NewController();
    for (int index : {0, 1})
        ASSERT_NE(doc->AddDevice(Camera(index)), nullptr);
    // An old third device's file, and a folder where the second device's file is written first.
    Touch(WorkPath("bad_dev3.devset"), "old");
    ASSERT_TRUE(QDir(WorkDir()).mkdir("bad_dev2.devset.tmp"));
    Prompter().ExpectMessageBox(QStringLiteral("Could not save file."), IDOK);

    EXPECT_FALSE(doc->OnSaveDocument(WorkPath("bad.recc")));
    // The first device was still saved; nothing was cleared away after the failure.
    EXPECT_EQ(CameraIndexOfFile(WorkPath("bad_dev1.devset")), 0);
    EXPECT_EQ(Bytes(WorkPath("bad_dev3.devset")), QByteArray("old"));
}

TEST_F(RecordControllerTest, SecondGenerationSavesCamerasFromZeroBesideItsFile) {
    auto* doc = Open<CRecordControllerDoc2>("DT:Rec2");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), "Empty Record Controller");
    auto* container = dynamic_cast<CView*>(doc->GetMemberFrameParent());
    ASSERT_NE(container, nullptr);
    CDocTemplate* cameras = m_app->GetTemplateByKey(QStringLiteral("DT:Cam2"));
    for (int index : {1, 0}) {
        ASSERT_NE(DriverLoader::OpenById(Camera(index)), nullptr);
        CDocument* camDoc = cameras->OpenDocumentFile(
            QStringLiteral("deviceXXX__") + Camera(index).ToString(), FALSE);
        ASSERT_NE(camDoc, nullptr);
        POSITION pos = camDoc->GetFirstViewPosition();
        auto* frame = dynamic_cast<CViewChildedFrame*>(camDoc->GetNextView(pos)->GetParentFrame());
        ASSERT_NE(frame, nullptr);
        CViewChildedFrame::AttachToParentView(container, frame);
    }
    ASSERT_EQ(doc->CameraFrames().size(), 2u);

    const QString path = WorkPath("run.xxx");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_EQ(CameraIndexOfFile(WorkPath("run_cam0.camset")), 1);
    EXPECT_EQ(CameraIndexOfFile(WorkPath("run_cam1.camset")), 0);
    EXPECT_FALSE(QFileInfo::exists(WorkPath("run_cam2.camset")));
    EXPECT_EQ(Bytes(path), QByteArray::fromHex("cc1601009c1e0000"));
}

// A launch path opens no file: the controller holds the one device it names.
TEST_F(RecordControllerTest, LaunchPaths) {
    struct Case {
        const char* key;
        const char* path;
        const char* title;
        int devices;
    };
    const Case cases[] = {
        {"DT:Rec", "__launchXXXdevice#3#1#1#", "New Record Controller", 1},
        {"DT:Rec", "/some/folder/__launchXXXdevice#3#1#2#.recc", "New Record Controller", 1},
        // No such camera, and no device at all: an empty controller.
        {"DT:Rec", "__launchXXXdevice#3#1#9#", "New Record Controller", 0},
        {"DT:Rec", "__launchXXXdevice#0#0#0#", "New Record Controller", 0},
        {"DT:Rec2", "__launchXXXdevice#3#1#0#", "Empty Record Controller", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CDocument* doc =
            m_app->CreateDocumentByKey(QString::fromLatin1(c.key), c.path, TRUE, 0, 0, 0, 0);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetTitle(), c.title);
        EXPECT_TRUE(doc->GetPathName().isEmpty());
        if (auto* controller = dynamic_cast<CRecordControllerDoc*>(doc)) {
            EXPECT_EQ(controller->GetRecordGroup()->GetDeviceCount(), c.devices);
            EXPECT_EQ(controller->DeviceFrames().size(), size_t(c.devices));
        }
        doc->OnCloseDocument();
    }
    EXPECT_TRUE(m_app->recent.empty());
}

TEST_F(RecordControllerTest, OnlyTheWholeControllerExtensionOpens) {
    const struct {
        const char* path;
        bool accepted;
    } cases[] = {
        {"/a/rig.recc", true}, {"/a/RIG.ReCc", true},      {"/a/rig.r", false},
        {"/a/rig.rec", false}, {"/a/rig.recc.bak", false}, {"/a/rig.recc/x", false},
        {"/a/rig", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CRecordControllerDoc::HasControllerExtension(c.path), c.accepted) << c.path;

    Touch(WorkPath("rig.r"), QByteArray::fromHex("cc1601009c1e0000"));
    EXPECT_EQ(Open<CRecordControllerDoc>("DT:Rec", WorkPath("rig.r")), nullptr);
    EXPECT_EQ(Open<CRecordControllerDoc2>("DT:Rec2", WorkPath("rig.r")), nullptr);
}

TEST_F(RecordControllerTest, DamagedDeviceFilesOpenNoDevice) {
    CRecordControllerDoc* doc = NewController();
    ASSERT_NE(doc->AddDevice(Camera(0)), nullptr);
    const QString path = WorkPath("hurt.recc");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    doc->OnCloseDocument();
    const QByteArray whole = Bytes(WorkPath("hurt_dev1.devset"));
    ASSERT_GT(whole.size(), 16);
    QByteArray flipped = whole;
    for (int i = 0; i < flipped.size(); i += 7)
        flipped[i] = char(~flipped[i]);
    for (const QByteArray& damaged : {whole.left(whole.size() / 2), whole.left(3), flipped}) {
        Touch(WorkPath("hurt_dev1.devset"), damaged);
        CRecordControllerDoc* loaded = Open<CRecordControllerDoc>("DT:Rec", path);
        ASSERT_NE(loaded, nullptr);
        EXPECT_LE(loaded->GetRecordGroup()->GetDeviceCount(), 1);
        loaded->OnCloseDocument();
    }
}

TEST_F(RecordControllerTest, DeviceSetFileNames) {
    const CDeviceSetFiles first(QStringLiteral("/d/my.run/rig.v2.recc"),
                                CDeviceSetFiles::kDeviceSets);
    EXPECT_EQ(first.GetFile(0), "/d/my.run/rig.v2_dev1.devset");
    EXPECT_EQ(first.GetFile(2), "/d/my.run/rig.v2_dev3.devset");
    const CDeviceSetFiles second(QStringLiteral("/d/my.run/rig"), CDeviceSetFiles::kCameraSets);
    EXPECT_EQ(second.GetFile(0), "/d/my.run/rig_cam0.camset");
}

// Pattern characters and spaces in a controller's name are plain characters: saving it with
// fewer devices removes only its own numbered files, never those of a controller whose name
// the pattern would match.
TEST_F(RecordControllerTest, OnlyTheSavedControllersFilesChange) {
    const char* names[] = {"rig?", "rig*", "rig[A]", "ri[g]A", "rig]A", "rig A", "r*_dev2"};
    const QStringList others{"rigA_dev1.devset",    "rigA_dev2.devset", "rigA_dev3.devset",
                             "rig A_x_dev2.devset", "r_dev2.devset",    "rig]_dev2.devset"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const QString own = QString::fromUtf8(name);
        for (const QString& other : others)
            Touch(WorkPath(other), other.toUtf8());
        for (int number : {1, 2, 3})
            Touch(WorkPath(own + QString("_dev%1.devset").arg(number)), "old");
        const CDeviceSetFiles files(WorkPath(own + ".recc"), CDeviceSetFiles::kDeviceSets);
        EXPECT_TRUE(files.SaveAll(1, [](int, const QString& file) {
            QFile out(file);
            return out.open(QIODevice::WriteOnly) && out.write("new") == 3;
        }));
        EXPECT_EQ(Bytes(WorkPath(own + "_dev1.devset")), QByteArray("new"));
        for (int number : {2, 3})
            EXPECT_FALSE(QFileInfo::exists(WorkPath(own + QString("_dev%1.devset").arg(number))))
                << number;
        for (const QString& other : others)
            EXPECT_EQ(Bytes(WorkPath(other)), other.toUtf8()) << other.toStdString();
        QFile::remove(WorkPath(own + "_dev1.devset"));
    }
}

// A menu item that remembers the check its update handler gave it.
class CProbeCmdUI : public CCmdUI {
public:
    explicit CProbeCmdUI(UINT id) { m_nID = id; }
    void SetCheck(int nCheck) override { checked = nCheck; }
    int checked = -1;
};

// A recording the device still holds, shown by a window that plays it from memory.
class CSharedRecording : public CHeldRecordingRef {
public:
    bool IsShared() const override { return true; }
};

class RecordControllerFrameTest : public RecordControllerTest {
protected:
    void SetUp() override {
        RecordControllerTest::SetUp();
        m_doc = NewController();
        ASSERT_NE(m_doc, nullptr);
        m_frame = FrameOf(m_doc);
        m_view = ViewOf(m_doc);
        ASSERT_NE(m_frame, nullptr);
        m_frameToken = m_frame->GetLifeToken();
    }

    // A camera window in the controller; its camera can be armed (it keeps frames after a
    // trigger).
    CViewChildedFrame* AddCamera(int index) {
        CView* view = m_doc->AddDevice(Camera(index));
        CDevice* device = CRecordControllerDoc::DeviceOfView(view);
        if (!device)
            return nullptr;
        DriverTriggerSetting setting;
        device->Driver()->GetTriggerSetting(&setting);
        setting.postTriggerFrames = 10;
        device->Driver()->SetTriggerSetting(setting);
        return dynamic_cast<CViewChildedFrame*>(view->GetParentFrame());
    }
    // The message boxes shown so far, as "caption|text".
    std::vector<QString> Boxes() const {
        std::vector<QString> boxes;
        for (const RecordedPrompt& prompt :
             const_cast<RecordControllerFrameTest*>(this)->Prompter().Prompts())
            boxes.push_back(prompt.caption + "|" + prompt.text);
        return boxes;
    }
    void Command(CWnd* target, UINT id) { target->SendMessage(WM_COMMAND, id, 0); }

    CRecordControllerDoc* m_doc = nullptr;
    CRecordControllerFrame* m_frame = nullptr;
    CRecordControllerView* m_view = nullptr;
    std::weak_ptr<bool> m_frameToken;
};

TEST_F(RecordControllerFrameTest, ClosingWaitsForTheRecordingToEnd) {
    ASSERT_NE(AddCamera(0), nullptr);
    CRecordGroup* group = m_doc->GetRecordGroup();
    ASSERT_EQ(group->RecordAllDevices(), S_OK);
    ASSERT_EQ(group->GetState(), CRecordGroup::kRecord);
    EXPECT_TRUE(m_doc->IsRecording());
    EXPECT_EQ(m_view->GetRecordGroupState(), CRecordGroup::kRecord);

    Prompter().ExpectMessageBox(QStringLiteral("Please complete the recording before closing."),
                                IDOK);
    m_frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(m_frameToken.expired());
    EXPECT_EQ(Boxes(), std::vector<QString>(
                           {"Unable to Close|Please complete the recording before closing."}));

    ASSERT_EQ(group->GoLive(), S_OK);
    m_frame->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_frameToken.expired());
}

TEST_F(RecordControllerFrameTest, ADeviceWindowStaysWhileItsMemoryPlaysOrTheGroupRecords) {
    CViewChildedFrame* camera = AddCamera(0);
    ASSERT_NE(camera, nullptr);
    const std::weak_ptr<bool> cameraToken = camera->GetLifeToken();
    CDevice* device = CRecordControllerDoc::DeviceOfView(camera->GetActiveView());
    CRecordGroup* group = m_doc->GetRecordGroup();
    ASSERT_EQ(group->RecordAllDevices(), S_OK);
    // Both hold: the memory is named first.
    device->SetRecordingSourceRef(std::make_shared<CSharedRecording>());
    Prompter().ExpectMessageBox(
        QStringLiteral("Please close all open playbacks from device memory."), IDOK);
    camera->SendMessage(WM_CLOSE, 0, 0);
    device->SetRecordingSourceRef(nullptr);
    Prompter().ExpectMessageBox(QStringLiteral("Please complete the recording before closing."),
                                IDOK);
    camera->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(cameraToken.expired());
    EXPECT_EQ(Boxes(),
              std::vector<QString>(
                  {"Unable to Free Memory|Please close all open playbacks from device memory.",
                   "Unable to Close Device|Please complete the recording before closing."}));
    EXPECT_EQ(group->GetDeviceCount(), 1);

    // Live, it goes and takes its device out of the group, which then idles.
    ASSERT_EQ(group->GoLive(), S_OK);
    camera->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(cameraToken.expired());
    EXPECT_EQ(group->GetDeviceCount(), 0);
}

TEST_F(RecordControllerFrameTest, QuickDeviceButtonsAddTheOpenDeviceAtTheirIndex) {
    const struct {
        UINT id;
        int index;
    } cases[] = {{1125, 0}, {1141, 0}, {1140, 15}, {1156, 15},
                 {1133, 8}, {1149, 8}, {1124, -1}, {1157, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(CRecordControllerView::QuickDeviceIndex(c.id), c.index) << c.id;

    ASSERT_NE(DriverLoader::OpenById(Camera(2)), nullptr);
    // Beyond the open devices a button does nothing.
    Command(m_view, 1142);
    EXPECT_EQ(m_doc->GetRecordGroup()->GetDeviceCount(), 0);
    EXPECT_TRUE(m_doc->DeviceFrames().empty());
    Command(m_view, 1141);
    EXPECT_EQ(CameraIndices(m_doc), std::vector<int>({2}));
}

TEST_F(RecordControllerFrameTest, PlayControlsComeAndGoWithEachToggle) {
    EXPECT_EQ(m_frame->GetPlayControlState(), 1);
    EXPECT_EQ(m_frame->GetPlayControlBar(), nullptr);
    Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
    ASSERT_NE(m_frame->GetPlayControlBar(), nullptr);
    EXPECT_TRUE(m_frame->GetPlayControlBar()->IsVisible());
    EXPECT_EQ(m_frame->GetPlayControlState(), 0);
    // The bar carries the group's record buttons.
    CRecordTab& buttons = m_frame->GetPlayBarTab();
    ASSERT_NE(buttons.GetSafeHwnd(), nullptr);
    EXPECT_EQ(buttons.GetPageTemplate(), 30046u);
    EXPECT_EQ(buttons.GetGroup(), m_doc->GetRecordGroup());
    Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
    EXPECT_EQ(m_frame->GetPlayControlBar(), nullptr);
    EXPECT_EQ(buttons.GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_frame->GetPlayControlState(), 1);
}

TEST_F(RecordControllerFrameTest, TheControlBarTogglesWithTheGroupsRecordButtons) {
    CRecordDialogBar& bar = m_frame->GetControlBar();
    CRecordTab& buttons = m_frame->GetControlBarTab();
    ASSERT_NE(buttons.GetSafeHwnd(), nullptr);
    EXPECT_EQ(buttons.GetPageTemplate(), 30072u);
    EXPECT_EQ(buttons.GetParent(), bar.GetDlgItem(CRecordDialogBar::kPageItem));
    EXPECT_EQ(buttons.GetGroup(), m_doc->GetRecordGroup());
    const auto checked = [this] {
        CProbeCmdUI probe(CRecordControllerFrame::kToggleControlBar);
        m_frame->OnCmdMsg(probe.m_nID, CN_UPDATE_COMMAND_UI, &probe, nullptr);
        return probe.checked;
    };
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_EQ(checked(), 0);
    Command(m_frame, CRecordControllerFrame::kToggleControlBar);
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_EQ(checked(), 1);
    // With a camera in the group its buttons follow the group.
    ASSERT_NE(AddCamera(0), nullptr);
    ASSERT_EQ(m_doc->GetRecordGroup()->GoLive(), S_OK);
    buttons.UpdatePage();
    EXPECT_TRUE(buttons.GetDlgItem(CRecordTab::kRecord)->IsWindowEnabled());
    EXPECT_TRUE(buttons.GetDlgItem(CRecordTab::kIdle)->IsWindowEnabled());
    Command(m_frame, CRecordControllerFrame::kToggleControlBar);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_EQ(checked(), 0);
}

TEST_F(RecordControllerFrameTest, StatusPanesShowTheDeviceModeAndTheGroupState) {
    CStatusBar& bar = m_frame->GetStatusBar();
    ASSERT_EQ(bar.GetCount(), 3);
    const struct {
        UINT id;
        const char* text;
        int width;
    } panes[] = {{59142, "-- Idle", 400}, {59143, " ", 100}, {59144, "No Mssg - ", 400}};
    for (int i = 0; i < 3; ++i) {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        bar.GetPaneInfo(i, id, style, width);
        EXPECT_EQ(id, panes[i].id);
        EXPECT_EQ(width, panes[i].width);
        EXPECT_EQ(bar.GetPaneText(i), panes[i].text);
    }
    m_frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(bar.GetPaneText(0), "Mode - ");
    EXPECT_EQ(bar.GetPaneText(2), "Unknown");

    ASSERT_NE(AddCamera(1), nullptr);
    ASSERT_EQ(m_doc->GetRecordGroup()->GoLive(), S_OK);
    m_frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(bar.GetPaneText(0), "Mode - Live");
    EXPECT_EQ(bar.GetPaneText(2), "Live");
    ASSERT_EQ(m_doc->GetRecordGroup()->RecordAllDevices(), S_OK);
    m_frame->OnIdleUpdateCmdUI();
    EXPECT_EQ(bar.GetPaneText(0), "Mode - Armed");
    EXPECT_EQ(bar.GetPaneText(2), "Record");
    m_doc->GetRecordGroup()->GoIdle();
}

TEST_F(RecordControllerFrameTest, TheBusyBoxShowsWhileRecordingUnlessTurnedOff) {
    ASSERT_NE(AddCamera(0), nullptr);
    CRecordingBusyDlg& busy = m_frame->GetBusyBox();
    m_frame->UpdateBusyBox();
    EXPECT_FALSE(busy.IsWindowVisible());
    ASSERT_EQ(m_doc->GetRecordGroup()->RecordAllDevices(), S_OK);
    m_frame->UpdateBusyBox();
    EXPECT_TRUE(busy.IsWindowVisible());
    EXPECT_EQ(busy.GetText(), "Record");

    busy.ShowWindow(SW_HIDE);
    VARIANT off;
    off.vt = VT_I4;
    off.lVal = 0;
    ASSERT_EQ(m_doc->GetRecordOptions().SetSetting(QStringLiteral("Record:RecordBusyDlg"), off, -1),
              S_OK);
    m_frame->UpdateBusyBox();
    EXPECT_FALSE(busy.IsWindowVisible());
    m_doc->GetRecordGroup()->GoIdle();
}

TEST_F(RecordControllerFrameTest, ProjectCodesShowAndHideTheBars) {
    // Hosted in a project's view, as the project shows its groups.
    auto* host = new CRecordControllerView;
    ASSERT_TRUE(
        host->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), m_main, 1));
    CViewChildedFrame::AttachToParentView(host, m_frame);
    Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
    CRecordDialogBar& barA = m_frame->GetControlBar();
    CRecordDialogBar* barB = m_frame->GetPlayControlBar();
    ASSERT_NE(barB, nullptr);
    const struct {
        int code;
        bool a;
        bool b;
    } cases[] = {{-1, false, true}, {-2, false, true}, {-3, false, false}, {-4, true, true}};
    for (const auto& c : cases) {
        m_frame->ShowControlBar(&barA, TRUE, FALSE);
        m_frame->ShowControlBar(barB, TRUE, FALSE);
        m_frame->ActivateFrame(c.code);
        EXPECT_EQ(bool(barA.IsVisible()), c.a) << c.code;
        EXPECT_EQ(bool(barB->IsVisible()), c.b) << c.code;
    }
    // A frame made to open maximized shows bar A on -1.
    m_frame->SetMaximizeOnCreate(TRUE);
    m_frame->ShowControlBar(&barA, FALSE, FALSE);
    m_frame->ActivateFrame(-1);
    EXPECT_TRUE(barA.IsVisible());
    // View/Control Bar toggles bar A.
    Command(m_frame, CRecordControllerFrame::kToggleControlBar);
    EXPECT_FALSE(barA.IsVisible());
}

TEST_F(RecordControllerFrameTest, ActivatingADeviceWindowShowsItsPages) {
    CControlPanelBar bar;
    ASSERT_TRUE(bar.Create(m_main, kControlPanelBarTemplate, WS_CHILD | WS_VISIBLE, 0xE811));
    bar.AttachTabControl(TRUE);
    std::vector<std::unique_ptr<CDialog>> pages;
    for (int i = 0; i < 4; ++i) {
        pages.push_back(std::make_unique<CDialog>(30060u, &bar));
        ASSERT_TRUE(pages.back()->Create(30060, &bar));
    }
    for (int i = 0; i < 3; ++i)
        bar.AddPage(pages[size_t(i)].get(), QStringLiteral("Tab %1").arg(i), 0);
    bar.SetTabPage(pages[3].get(), 2, 1);
    m_frame->AttachToControlPanel(&bar);
    ASSERT_EQ(m_frame->GetRecordControlPanel(), &bar);

    CViewChildedFrame* first = AddCamera(0);
    CViewChildedFrame* second = AddCamera(1);
    CView* card = m_doc->AddDevice(CDeviceId(kDeviceTypeDataCard, 1, 0));
    ASSERT_TRUE(first && second && card);
    auto* cardFrame = dynamic_cast<CViewChildedFrame*>(card->GetParentFrame());
    ASSERT_NE(dynamic_cast<CDataQNSensorFrameVCF*>(cardFrame), nullptr);
    // The device's page of the third tab comes to the front: the camera's first, the card's
    // second; whatever tab and page were shown before.
    const struct {
        CViewChildedFrame* frame;
        int shownPage;
        int kind;
    } cases[] = {{first, 2, kDeviceTypeCamera},
                 {cardFrame, 3, kDeviceTypeDataCard},
                 {second, 2, kDeviceTypeCamera}};
    for (const auto& c : cases) {
        bar.SelectTab(1, 0);
        bar.SetCurrentPage(2, c.shownPage == 2 ? 1 : 0);
        m_view->ActivateDeviceFrame(c.frame);
        EXPECT_EQ(bar.GetCurTab(), 2) << c.kind;
        EXPECT_FALSE(pages[size_t(c.shownPage)]->GetQWidget()->isHidden()) << c.kind;
        EXPECT_TRUE(pages[size_t(5 - c.shownPage)]->GetQWidget()->isHidden()) << c.kind;
        // The front window is the one the record pages work on.
        int kind = 0;
        CDevice* device = nullptr;
        EXPECT_EQ(m_frame->GetActiveDeviceView(&kind, &device), c.frame->GetActiveView());
        EXPECT_EQ(kind, c.kind);
        int handle = -1;
        ASSERT_NE(device, nullptr);
        device->GetHandle(&handle);
        EXPECT_EQ(m_view->FindDeviceWindow(handle, c.kind), c.frame->GetActiveView());
        EXPECT_EQ(m_view->FindDeviceWindow(handle, 5 - c.kind), nullptr);
    }
    m_frame->AttachToControlPanel(nullptr);
    for (auto& page : pages)
        page->DestroyWindow();
}

TEST_F(RecordControllerFrameTest, RecordPagesJoinTheControlPanelAndEditTheAutoRecordOptions) {
    CAutoDownloadWnd* download = m_doc->GetAutoDownload();
    ASSERT_NE(download, nullptr);
    VARIANT start;
    start.vt = VT_I4;
    start.lVal = 7;
    ASSERT_TRUE(download->GetOptionStore().SetValue("ADL:nStartCount", start, -1));

    CControlPanelBar bar;
    ASSERT_TRUE(bar.Create(m_main, kControlPanelBarTemplate, WS_CHILD | WS_VISIBLE, 0xE811));
    bar.AttachTabControl(TRUE);
    m_frame->AttachToControlPanel(&bar);
    CAutoRecordPage& page = m_frame->GetAutoRecordPage();
    ASSERT_EQ(bar.GetTabCount(), 3);
    EXPECT_EQ(bar.GetTabPage(0, 0), &m_frame->GetRecordPage());
    EXPECT_EQ(bar.GetTabPage(1, 0), &m_frame->GetSmartTriggerPage());
    EXPECT_EQ(bar.GetTabPage(2, 0), &page);
    QStringList names;
    for (int i = 0; i < 3; ++i)
        names << bar.GetTabCtrl().GetItemText(i);
    EXPECT_EQ(names, QStringList({"Record", "Smart Trigger", "Auto-Record"}));
    EXPECT_EQ(bar.GetCurTab(), 0);
    // The page shows the controller's own options.
    EXPECT_EQ(page.GetDlgItemText(CAutoRecordPage::kStartCountId), "7");

    // What the user changes reaches the running download and its option file at once.
    const auto notify = [&page](int id, WORD code) {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(id, code),
                         reinterpret_cast<LPARAM>(page.GetDlgItem(id)->GetSafeHwnd()));
    };
    page.CheckDlgButton(CAutoRecordPage::kSelfTriggerId, 1);
    notify(CAutoRecordPage::kSelfTriggerId, BN_CLICKED);
    page.SetDlgItemText(CAutoRecordPage::kSelfTriggerTimeId, "5");
    notify(CAutoRecordPage::kSelfTriggerTimeId, EN_CHANGE);
    page.SetDlgItemText(CAutoRecordPage::kRearmTimeId, "9");
    notify(CAutoRecordPage::kRearmTimeId, EN_CHANGE);
    EXPECT_EQ(download->GetSettings().selfTrigger, 1);
    EXPECT_EQ(download->GetSettings().selfTriggerDelaySeconds, 5);
    EXPECT_EQ(download->GetSettings().rearmDelaySeconds, 9);
    CAutoDownloadWnd reread(nullptr);
    ASSERT_EQ(reread.LoadOptionFile(), S_OK);
    reread.LoadSettings();
    EXPECT_EQ(reread.GetSettings().selfTrigger, 1);
    EXPECT_EQ(reread.GetSettings().selfTriggerDelaySeconds, 5);
    EXPECT_EQ(reread.GetSettings().startCount, 7);
    m_frame->AttachToControlPanel(nullptr);
}

TEST_F(RecordControllerFrameTest, ADataPlaybackFindsTheCameraHoldingItsData) {
    CViewChildedFrame* first = AddCamera(0);
    CViewChildedFrame* second = AddCamera(1);
    ASSERT_TRUE(first && second);
    const CSharedRef<CSensorDataSet> shown(new CSensorDataSet);
    const CSharedRef<CSensorDataSet> other(new CSensorDataSet);
    auto* doc = new CDataPlayDoc;
    doc->m_bAutoDelete = FALSE;
    doc->SetDataSet(shown, 1);
    CDataPlayView playback;
    doc->AddView(&playback);
    const auto camera = [](CViewChildedFrame* frame) {
        return dynamic_cast<CCamView*>(frame->GetActiveView());
    };
    const auto link = [&](CViewChildedFrame* frame, const CSharedRef<CSensorDataSet>& data) {
        camera(frame)->GetDevice()->LinkDataObject(std::make_shared<CDataSetLink>(data));
    };

    EXPECT_EQ(m_frame->FindCameraViewForDataView(&playback), nullptr);
    link(first, other);
    EXPECT_EQ(m_frame->FindCameraViewForDataView(&playback), nullptr);
    link(second, shown);
    EXPECT_EQ(m_frame->FindCameraViewForDataView(&playback), camera(second));
    // The first camera in the order the windows were added wins.
    link(first, shown);
    EXPECT_EQ(m_frame->FindCameraViewForDataView(&playback), camera(first));
    // Views that show no data playback find none.
    EXPECT_EQ(m_frame->FindCameraViewForDataView(second->GetActiveView()), nullptr);
    EXPECT_EQ(m_frame->FindCameraViewForDataView(nullptr), nullptr);
    doc->RemoveView(&playback);
    delete doc;
}

TEST_F(RecordControllerFrameTest, ConnectionsNeedAnOpenDevice) {
    Prompter().ExpectMessageBox(QStringLiteral("No devices are currently open to show "
                                               "connections.  Please open a device first."),
                                IDOK);
    m_doc->ShowConnections();
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts().front().caption, "Vidra Player");
}

// The controller's windows that are no device's, in window order, by title.
QStringList OtherWindows(CRecordControllerView* view) {
    QStringList titles;
    for (CWnd* child = view->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        if (auto* frame = dynamic_cast<CViewChildedFrame*>(child);
            frame && CRecordControllerDoc::DeviceKindOfView(frame->GetActiveView()) == 0)
            titles << frame->GetWindowText();
    titles.sort();
    return titles;
}

TEST_F(RecordControllerFrameTest, DerivedPicturesOpenOnceInTheControllerAndCloseWithTheirSource) {
    AddTemplate("DT:Vid", RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame),
                RUNTIME_CLASS(CVidView));
    CViewChildedFrame* camera = AddCamera(0);
    ASSERT_NE(camera, nullptr);
    auto* cameraView = dynamic_cast<CCamView*>(camera->GetActiveView());
    ASSERT_NE(cameraView, nullptr);
    CRecordFrameAdapter* adapter = m_doc->GetFrameWindowAdapter();
    // The camera's tools open their windows through the controller.
    EXPECT_EQ(reinterpret_cast<IFrameWindowAdapter*>(cameraView->GetToolContext()),
              static_cast<IFrameWindowAdapter*>(adapter));

    // The camera's own picture is in front already: nothing opens.
    const CFrameSourcePtr picture = cameraView->GetFrameSource();
    ASSERT_FALSE(picture.IsEmpty());
    ASSERT_EQ(adapter->ShowVideo(picture, "Camera"), S_OK);
    EXPECT_TRUE(OtherWindows(m_view).isEmpty());
    CFrameWnd* shown = nullptr;
    ASSERT_EQ(adapter->FindVideoWindow(picture, &shown), S_OK);
    EXPECT_EQ(shown, camera);

    // A region cut out of it opens once, in the controller.
    CRegionToolWnd region;
    region.CreateRegionSource(picture);
    CFrameSourcePtr cutOut;
    region.GetSource(&cutOut);
    ASSERT_EQ(adapter->ShowVideo(cutOut, "Zoom : camera"), S_OK);
    ASSERT_EQ(OtherWindows(m_view), QStringList({"Zoom : camera"}));
    ASSERT_EQ(adapter->FindVideoWindow(cutOut, &shown), S_OK);
    EXPECT_TRUE(shown->IsWindowVisible());
    EXPECT_EQ(shown->GetParent(), m_view);
    ASSERT_EQ(adapter->ShowVideo(cutOut, "Again"), S_OK);
    EXPECT_EQ(OtherWindows(m_view), QStringList({"Zoom : camera"}));
    EXPECT_EQ(adapter->CloseVideo(cutOut), S_OK);
    EXPECT_TRUE(OtherWindows(m_view).isEmpty());
    EXPECT_EQ(adapter->FindVideoWindow(cutOut, &shown), E_FAIL);
    EXPECT_EQ(m_doc->DeviceFrames().size(), 1u);
}

TEST_F(RecordControllerFrameTest, TheVideoTriggerRegionShowsInTwoToolWindows) {
    EXPECT_EQ(CToolWindowTitler(nullptr).OpenToolWindows(), E_FAIL);
    EXPECT_EQ(CToolWindowTitler(m_doc).OpenToolWindows(), E_FAIL) << "no owner";
    AddTemplate("DT:Vid", RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame),
                RUNTIME_CLASS(CVidView));
    CViewChildedFrame* camera = AddCamera(0);
    ASSERT_NE(camera, nullptr);
    auto* cameraView = dynamic_cast<CCamView*>(camera->GetActiveView());
    EXPECT_EQ(m_doc->ShowVideoTriggerRegion(nullptr, CRect(0, 0, 8, 8)), E_FAIL);

    ASSERT_EQ(m_doc->ShowVideoTriggerRegion(cameraView, CRect(10, 20, 74, 84)), S_OK);
    EXPECT_EQ(OtherWindows(m_view), QStringList({"VT Settings", "VT Zoom Region"}));
    CToolWindowTitler& titler = m_doc->GetToolWindowTitler();
    CVidView* settings = titler.GetSettingsView();
    CVidView* zoom = titler.GetZoomView();
    ASSERT_TRUE(settings && zoom);
    EXPECT_EQ(settings->GetFrameSource().Get(), cameraView->GetFrameSource().Get());
    CFrameSourcePtr cutOut;
    m_doc->GetRegionTool().GetSource(&cutOut);
    EXPECT_EQ(zoom->GetFrameSource().Get(), cutOut.Get());
    int rect[4] = {};
    m_doc->GetRegionTool().GetRect(rect);
    EXPECT_EQ(std::vector<int>(rect, rect + 4), std::vector<int>({10, 20, 74, 84}));
    // The outline is drawn on the settings window's picture.
    EXPECT_GE(settings->GetOverlayHost().GetCount(), 1);

    // A new region keeps the windows.
    ASSERT_EQ(m_doc->ShowVideoTriggerRegion(cameraView, CRect(0, 0, 32, 16)), S_OK);
    EXPECT_EQ(OtherWindows(m_view), QStringList({"VT Settings", "VT Zoom Region"}));
    EXPECT_EQ(titler.GetZoomView(), zoom);
    m_doc->GetRegionTool().GetRect(rect);
    EXPECT_EQ(std::vector<int>(rect, rect + 4), std::vector<int>({0, 0, 32, 16}));

    // With one of them closed, the pair opens anew.
    zoom->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(titler.GetZoomView(), nullptr);
    ASSERT_EQ(m_doc->ShowVideoTriggerRegion(cameraView, CRect(4, 4, 36, 36)), S_OK);
    EXPECT_EQ(OtherWindows(m_view), QStringList({"VT Settings", "VT Zoom Region"}));
    ASSERT_NE(titler.GetZoomView(), nullptr);
    EXPECT_EQ(titler.GetZoomView()->GetFrameSource().Get(), cutOut.Get());
    // Closing the settings window leaves the region tool on no view.
    titler.GetSettingsView()->GetParentFrame()->SendMessage(WM_CLOSE);
    COverlayHost* attached = nullptr;
    m_doc->GetRegionTool().GetOverlayListener().GetAttachment(nullptr, &attached);
    EXPECT_EQ(attached, nullptr);
}

TEST_F(RecordControllerFrameTest, APlaybackOfTheLatestRecordingKeepsTheCameraWindow) {
    CViewChildedFrame* camera = AddCamera(0);
    ASSERT_NE(camera, nullptr);
    const std::weak_ptr<bool> cameraAlive = camera->GetLifeToken();
    CDevice* device = CRecordControllerDoc::DeviceOfView(camera->GetActiveView());
    EXPECT_FALSE(CRecordControllerDoc::HoldsRecording(device));
    EXPECT_EQ(m_doc->FindPlaybackDevice(), nullptr);
    double rate = 0;
    ASSERT_EQ(device->Driver()->GetRecordRate(&rate), 0);
    ASSERT_EQ(device->SetMode(kModeArmed), 0);
    m_clock.AtTick(50, rate);
    ASSERT_EQ(device->Trigger(), 0);
    m_clock.AtTick(60, rate);
    device->Driver()->Poll();
    ASSERT_EQ(device->GetMode(), kModeStopped);
    EXPECT_TRUE(CRecordControllerDoc::HoldsRecording(device));
    EXPECT_EQ(m_doc->FindPlaybackDevice(), device);

    CFrameSourcePtr playback = DeviceFrameSources::GetLatestRecording(device);
    ASSERT_FALSE(playback.IsEmpty());
    Prompter().ExpectMessageBox(
        QStringLiteral("Please close all open playbacks from device memory."), IDOK);
    camera->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_FALSE(cameraAlive.expired());
    EXPECT_EQ(Boxes(), std::vector<QString>({"Unable to Free Memory|Please close all open "
                                             "playbacks from device memory."}));
    playback = CFrameSourcePtr();
    Prompter().ExpectMessageBox(QStringLiteral("The memory of Simulated camera 1 holds a "
                                               "recording that has not been saved.\nSave it "
                                               "before it is lost?"),
                                IDNO);
    camera->SendMessage(WM_CLOSE, 0, 0);
    EXPECT_TRUE(cameraAlive.expired());
}

// A recording the camera holds and nobody saved is the user's work: closing its window, the
// controller or the program asks first. Yes saves it through the save dialog and closes, No
// closes without it, Cancel keeps everything open.
TEST_F(RecordControllerFrameTest, ClosingAsksBeforeAnUnsavedRecordingInMemoryIsLost) {
    CSaveController::Install();
    const QString question = QStringLiteral(
        "The memory of Simulated camera 1 holds a recording that has not been saved.\n"
        "Save it before it is lost?");
    struct Case {
        const char* path;
        int answer;
        bool closes;
    };
    const Case cases[] = {
        {"camera window", IDYES, true},     {"camera window", IDNO, true},
        {"camera window", IDCANCEL, false}, {"controller", IDYES, true},
        {"controller", IDNO, true},         {"controller", IDCANCEL, false},
        {"program", IDYES, true},           {"program", IDNO, true},
        {"program", IDCANCEL, false},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << " answer " << c.answer);
        if (!m_doc) {
            m_doc = NewController();
            ASSERT_NE(m_doc, nullptr);
            m_frame = FrameOf(m_doc);
            m_frameToken = m_frame->GetLifeToken();
        }
        CViewChildedFrame* camera = AddCamera(0);
        ASSERT_NE(camera, nullptr);
        const std::weak_ptr<bool> cameraAlive = camera->GetLifeToken();
        CDevice* device = CRecordControllerDoc::DeviceOfView(camera->GetActiveView());
        double rate = 0;
        ASSERT_EQ(device->Driver()->GetRecordRate(&rate), 0);
        // Each case records later than the one before: the clock only goes forward.
        const int64_t start = 1000 * (number + 1);
        m_clock.AtTick(start, rate);
        ASSERT_EQ(device->SetMode(kModeArmed), 0);
        m_clock.AtTick(start + 50, rate);
        ASSERT_EQ(device->Trigger(), 0);
        m_clock.AtTick(start + 60, rate);
        device->Driver()->Poll();
        ASSERT_EQ(device->HoldsUnsavedRecording(), 1);

        const QString stem = QStringLiteral("kept") + QChar('a' + number++);
        Prompter().ExpectMessageBox(question, c.answer);
        if (c.answer == IDYES) {
            // Saved as a numbered picture set.
            Prompter().AnswerFileDialog({WorkPath(stem + ".bmp")}, 2);
            Prompter().ExpectMessageBox("Save as sequence " + WorkPath(stem + "_*.bmp") + "?",
                                        IDOK);
        }
        const std::weak_ptr<bool>& closed =
            std::string(c.path) == "camera window" ? cameraAlive : m_frameToken;
        if (std::string(c.path) == "camera window")
            camera->SendMessage(WM_CLOSE, 0, 0);
        else if (std::string(c.path) == "controller")
            m_frame->SendMessage(WM_CLOSE, 0, 0);
        else if (m_app->SaveAllModified())
            m_app->CloseAllDocuments(FALSE);
        EXPECT_EQ(closed.expired(), c.closes);
        const QStringList pictures =
            QDir(WorkDir()).entryList({stem + "_*.bmp"}, QDir::Files, QDir::Name);
        EXPECT_EQ(pictures.size(), c.answer == IDYES ? 60 : 0) << "every frame held";
        if (!c.closes) {
            EXPECT_FALSE(cameraAlive.expired());
            EXPECT_EQ(device->HoldsUnsavedRecording(), 1) << "asked again next time";
            // Let go of it, so that the next case starts afresh.
            device->SetRecordingKept();
            camera->SendMessage(WM_CLOSE, 0, 0);
        }
        if (m_frameToken.expired())
            m_doc = nullptr;
    }
}

// Going live would clear the memory: a recording not yet saved is asked about with the
// memory's own question, and an automatic download counts as its save.
TEST_F(RecordControllerFrameTest, GoingLiveAsksBeforeAnUnsavedRecordingIsErased) {
    CSaveController::Install();
    CViewChildedFrame* camera = AddCamera(0);
    ASSERT_NE(camera, nullptr);
    CDevice* device = CRecordControllerDoc::DeviceOfView(camera->GetActiveView());
    CRecordGroup* group = m_doc->GetRecordGroup();
    double rate = 0;
    ASSERT_EQ(device->Driver()->GetRecordRate(&rate), 0);
    m_clock.AtTick(0, rate);
    ASSERT_EQ(device->SetMode(kModeArmed), 0);
    m_clock.AtTick(50, rate);
    ASSERT_EQ(device->Trigger(), 0);
    m_clock.AtTick(60, rate);
    device->Driver()->Poll();
    Prompter().ExpectMessageBox("Erase device memory?", IDNO);
    EXPECT_EQ(group->GoLive(), E_ABORT);
    EXPECT_EQ(device->GetMode(), kModeStopped);

    m_doc->GetAutoDownload()->GetOptionStore().m_snapkeepValue.m_dirs = {WorkDir()};
    m_doc->GetAutoDownload()->LoadSettings();
    ASSERT_EQ(m_doc->GetAutoDownload()->Download(), S_OK);
    EXPECT_EQ(device->HoldsUnsavedRecording(), 0);
    EXPECT_EQ(group->GoLive(), S_OK) << "saved: no question";
    EXPECT_EQ(device->GetMode(), kModeLive);
}

TEST_F(RecordControllerFrameTest, LinkedViewsJoinTheControllersNotifier) {
    EXPECT_EQ(m_doc->LinkInterfaceObject(nullptr), E_POINTER);
    CMessagePoster noNotifier;
    EXPECT_EQ(m_doc->LinkInterfaceObject(&noNotifier), E_POINTER);
    int count = -1;
    {
        auto view = std::make_unique<CNotifier>();
        ASSERT_EQ(m_doc->LinkInterfaceObject(view.get()), S_OK);
        // Linked again (a second playback in the same play group): still told once.
        ASSERT_EQ(m_doc->LinkInterfaceObject(view.get()), S_OK);
        m_doc->GetInterfaceObject()->GetCount(&count);
        EXPECT_EQ(count, 1);
        view->GetCount(&count);
        EXPECT_EQ(count, 1);
    }
    // A view that goes takes its link with it.
    m_doc->GetInterfaceObject()->GetCount(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(RecordControllerFrameTest, AutoRecordDrivesTheControllersOwnGroupWithTheCurrentOptions) {
    // Without a device there is nothing to record.
    Prompter().ExpectMessageBox(QStringLiteral("No devices are currently open to record.  Please "
                                               "open a camera or a data card first."),
                                IDOK);
    Command(m_frame, CRecordControllerDoc::kAutoRecordCommand);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);

    ASSERT_NE(AddCamera(0), nullptr);
    ASSERT_NE(DriverLoader::OpenById(Camera(1)), nullptr);
    // The options change after the controller opened, as the Auto-Record Control Panel saves them.
    {
        CAutoDownloadWnd editor(nullptr);
        ISettingsStore* store = nullptr;
        ASSERT_EQ(editor.GetSettingsStore(&store), S_OK);
        VARIANT name;
        name.vt = VT_BSTR;
        name.bstrVal = SysAllocQString(QStringLiteral("late"));
        ASSERT_EQ(store->SetSetting(QStringLiteral("SK:sBaseName"), name, -1), S_OK);
        VariantClear(&name);
        ASSERT_EQ(editor.GetOptionStore().SaveOptionFile(), S_OK);
    }
    CRecordGroup* group = m_doc->GetRecordGroup();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CAutoRecordDlg*>(
            CWnd::FromWidgetPermanent(QApplication::activeModalWidget()));
        ASSERT_NE(dialog, nullptr);
        seen << dialog->GetDlgItemText(CAutoRecordDlg::kBaseNameField);
        dialog->SendMessage(WM_COMMAND, CAutoRecordDlg::kEngage);
        // The controller's group records (the other open camera stays out of it), and the
        // controller's busy box says so.
        seen << CRecordGroup::GetStateName(group->GetState())
             << QString::number(group->GetDeviceCount());
        m_frame->OnIdleUpdateCmdUI();
        seen << (m_frame->GetBusyBox().IsWindowVisible() ? "busy" : "hidden");
        dialog->SendMessage(WM_COMMAND, CAutoRecordDlg::kEngage);
        dialog->SendMessage(WM_COMMAND, IDCANCEL);
    });
    Command(m_frame, CRecordControllerDoc::kAutoRecordCommand);
    EXPECT_EQ(seen, QStringList({"late", "Record", "1", "busy"}));
    EXPECT_EQ(group->GetState(), CRecordGroup::kLive);
}

// An automatic download saving a camera's recording (its progress window lets messages through)
// while the user closes what it reads from: the save ends as its own Cancel ends it, the cycle
// stops with the recording still in the camera, and only then does the window go.
enum class DownloadClose { CameraWindow, CardWindow, Controller, MainWindow, FileExit };

class CloseDuringDownloadTest : public RecordControllerFrameTest,
                                public ::testing::WithParamInterface<DownloadClose> {
protected:
    void TearDown() override {
        CFrameSource::SetSaveControllerFactory(nullptr);
        RecordControllerFrameTest::TearDown();
    }
    void SetText(CAutoDownloadWnd* download, const char* key, const QString& text) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocQString(text);
        ASSERT_EQ(download->GetOptionStore().SetSetting(QString::fromLatin1(key), v, -1), S_OK);
        VariantClear(&v);
    }
};

TEST_P(CloseDuringDownloadTest, TheDownloadEndsAsCancelledBeforeTheCloseGoesOn) {
    const DownloadClose path = GetParam();
    CSaveController::Install();
    CViewChildedFrame* camera = AddCamera(0);
    ASSERT_NE(camera, nullptr);
    const std::weak_ptr<bool> cameraAlive = camera->GetLifeToken();
    CDocument* cameraDoc = camera->GetActiveView()->GetDocument();
    CDevice* device = CRecordControllerDoc::DeviceOfView(camera->GetActiveView());
    // A card beside the camera: its window is one the download reads from too.
    const CDeviceId cardId(kDeviceTypeDataCard, 1, 0);
    CView* card = path == DownloadClose::CardWindow ? m_doc->AddDevice(cardId) : nullptr;
    CFrameWnd* cardFrame = card ? card->GetParentFrame() : nullptr;
    const std::weak_ptr<bool> cardAlive =
        cardFrame ? cardFrame->GetLifeToken() : std::weak_ptr<bool>();
    ASSERT_EQ(cardFrame != nullptr, path == DownloadClose::CardWindow);
    if (cardFrame) {
        // Recording as the camera records, as the group asks of its devices.
        IDriverDevice* cameraDriver = device->Driver();
        IDriverDevice* cardDriver = CRecordControllerDoc::DeviceOfView(card)->Driver();
        double cameraRate = 0;
        int frames = 0;
        DriverTriggerSetting setting;
        ASSERT_EQ(cameraDriver->GetRecordRate(&cameraRate), 0);
        ASSERT_EQ(cameraDriver->GetMaxFrames(&frames), 0);
        ASSERT_EQ(cameraDriver->GetTriggerSetting(&setting), 0);
        ASSERT_EQ(cardDriver->SetRecordRate(cameraRate), 0);
        ASSERT_EQ(cardDriver->SetMaxFrames(frames), 0);
        ASSERT_EQ(cardDriver->SetTriggerSetting(setting), 0);
    }
    CAutoDownloadWnd* download = m_doc->GetAutoDownload();
    ASSERT_NE(download, nullptr);
    QDir().mkpath(WorkPath("out"));
    download->GetOptionStore().m_snapkeepValue.m_dirs = {WorkPath("out")};
    SetText(download, "SK:sFormat", QStringLiteral("BMP"));
    download->LoadSettings();

    // One recording of the cycle, made to its end.
    CRecordGroup* group = m_doc->GetRecordGroup();
    download->Enable();
    ASSERT_EQ(group->RecordAllDevices(), S_OK);
    double rate = 0;
    ASSERT_EQ(device->Driver()->GetRecordRate(&rate), 0);
    m_clock.AtTick(50, rate);
    ASSERT_EQ(group->Trigger(), 0);
    m_clock.AtTick(60, rate);

    // The group finds the recording ended, as the controller polls it, and the download saves
    // it; the close comes with the first step of the save's progress.
    bool closed = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(CRunningOperation::IsRunning(m_doc));
        EXPECT_TRUE(CRunningOperation::IsRunning(cameraDoc));
        switch (path) {
            case DownloadClose::CameraWindow:
                camera->SendMessage(WM_CLOSE, 0, 0);
                break;
            case DownloadClose::CardWindow:
                cardFrame->SendMessage(WM_CLOSE, 0, 0);
                EXPECT_FALSE(cardAlive.expired());
                break;
            case DownloadClose::Controller:
                m_frame->SendMessage(WM_CLOSE, 0, 0);
                break;
            case DownloadClose::MainWindow:
                m_main->SendMessage(WM_CLOSE, 0, 0);
                break;
            case DownloadClose::FileExit:
                m_app->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, nullptr);
                break;
        }
        closed = true;
        EXPECT_FALSE(cameraAlive.expired()) << "nothing goes while the save runs";
        EXPECT_FALSE(m_frameToken.expired());
    });
    group->GetMasterRecordState();

    ASSERT_TRUE(closed);
    EXPECT_FALSE(CRunningOperation::IsRunning(m_doc));
    EXPECT_EQ(download->IsActive(), 0) << "a cancelled download stops the cycle";
    EXPECT_EQ(download->GetCounter(), 0);
    EXPECT_EQ(download->GetLastSaveFolder(), QString());
    EXPECT_EQ(device->GetMode(), kModeStopped) << "the recording stays in the camera";
    const int recorded = DeviceFrameSources::GetLatestRecording(device)->GetFrameCount();
    EXPECT_GT(recorded, 1);
    EXPECT_LT(QDir(WorkPath("out")).entryList({"*.bmp"}, QDir::Files).size(), recorded);

    // Then the close goes on, with its own question about the recording the cancel left in the
    // camera: No lets it go.
    const QString question = QStringLiteral(
        "The memory of %1 holds a recording that has not been saved.\nSave it "
        "before it is lost?");
    Prompter().ExpectMessageBox(
        question.arg(path == DownloadClose::CardWindow ? "Simulated data card 1"
                                                       : "Simulated camera 1"),
        IDNO);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    const bool windowOnly =
        path == DownloadClose::CameraWindow || path == DownloadClose::CardWindow;
    EXPECT_EQ(cameraAlive.expired(), path != DownloadClose::CardWindow);
    if (cardFrame) {
        EXPECT_TRUE(cardAlive.expired());
    }
    EXPECT_EQ(m_frameToken.expired(), !windowOnly);
    const bool mainGoes = path == DownloadClose::MainWindow || path == DownloadClose::FileExit;
    EXPECT_EQ(m_app->m_pMainWnd == nullptr, mainGoes);
    if (!mainGoes) {
        // The program still answers: the camera opens again in a new window of a controller.
        CRecordControllerDoc* controller = windowOnly ? m_doc : NewController();
        ASSERT_NE(controller, nullptr);
        EXPECT_NE(controller->AddDevice(path == DownloadClose::CardWindow ? cardId : Camera(0)),
                  nullptr);
    }
    // The camera still holds its recording when the test's controller goes.
    if (path == DownloadClose::CardWindow)
        Prompter().ExpectMessageBox(question.arg("Simulated camera 1"), IDNO);
}

std::string DownloadCloseName(const ::testing::TestParamInfo<DownloadClose>& info) {
    static const char* const names[] = {"CameraWindow", "CardWindow", "Controller", "MainWindow",
                                        "FileExit"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryClose, CloseDuringDownloadTest,
                         ::testing::Values(DownloadClose::CameraWindow, DownloadClose::CardWindow,
                                           DownloadClose::Controller, DownloadClose::MainWindow,
                                           DownloadClose::FileExit),
                         DownloadCloseName);

}  // namespace

// Bars that the frame docks in another frame's window (the frame that holds it) go with the
// frame: none stays behind in the other frame, and either frame may go first.
TEST_F(RecordControllerFrameTest, BarsDockedInAnotherFrameGoWithTheirOwnFrame) {
    // The bars' strips, docked in a new frame of their own.
    const auto dockElsewhere = [](std::initializer_list<CControlBar*> bars,
                                  std::vector<QPointer<QWidget>>* strips) {
        auto* other = new CFrameWnd;
        EXPECT_TRUE(other->LoadFrame(0, WS_OVERLAPPEDWINDOW));
        other->EnableDocking(CBRS_ALIGN_ANY);
        for (CControlBar* bar : bars) {
            other->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
            strips->emplace_back(bar->GetDockWidget());
            EXPECT_EQ(strips->back()->parentWidget(), other->GetQWidget());
        }
        return other;
    };

    // The other frame goes first: the bars go with the window they are in, and the frame asks
    // after them safely and makes its play controls again.
    Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
    ASSERT_NE(m_frame->GetPlayControlBar(), nullptr);
    std::vector<QPointer<QWidget>> strips;
    CFrameWnd* other =
        dockElsewhere({m_frame->GetPlayControlBar(), &m_frame->GetControlBar()}, &strips);
    other->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_frame->GetPlayControlBar(), nullptr);
    EXPECT_FALSE(m_frame->GetControlBar().IsVisible());
    Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
    Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
    ASSERT_NE(m_frame->GetPlayControlBar(), nullptr);

    // The controller goes first: its play bar comes back and goes with it.
    strips.clear();
    other = dockElsewhere({m_frame->GetPlayControlBar()}, &strips);
    const std::weak_ptr<bool> otherAlive = other->GetLifeToken();
    m_frame->SendMessage(WM_CLOSE, 0, 0);
    ASSERT_TRUE(m_frameToken.expired());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(strips.front().isNull()) << "the bar stays in the other frame";
    EXPECT_TRUE(other->GetQWidget()->findChildren<QToolBar*>().isEmpty());
    other->DestroyWindow();
    EXPECT_TRUE(otherAlive.expired());
}

// Made again, the play-control bar leaves no empty strip behind in the frame.
TEST_F(RecordControllerFrameTest, TogglingThePlayControlsLeavesNoStripBehind) {
    QWidget* frameWidget = m_frame->GetQWidget();
    const auto strips = [frameWidget] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return frameWidget->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly).size();
    };
    const qsizetype before = strips();
    for (int i = 0; i < 3; ++i) {
        Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
        EXPECT_EQ(strips(), before + 1);
        Command(m_frame, CRecordControllerFrame::kTogglePlayControls);
        EXPECT_EQ(strips(), before);
    }
}

// The program's first kind of window, as its template makes it: an MDI child.
class CFirstKindDoc : public CDocument {
    DECLARE_DYNCREATE(CFirstKindDoc)
};
IMPLEMENT_DYNCREATE(CFirstKindDoc, CDocument)

class CFirstKindFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CFirstKindFrame)
};
IMPLEMENT_DYNCREATE(CFirstKindFrame, CMDIChildWnd)

class CFirstKindView : public CView {
    DECLARE_DYNCREATE(CFirstKindView)

public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CFirstKindView, CView)

class NewWindowTest : public RecordControllerFrameTest {
protected:
    void AddLeadingTemplates() override {
        AddTemplate("DT:Orig", RUNTIME_CLASS(CFirstKindDoc), RUNTIME_CLASS(CFirstKindFrame),
                    RUNTIME_CLASS(CFirstKindView));
    }
    // The windows of the first kind inside the controller's view.
    std::vector<CFirstKindFrame*> Embedded() const {
        std::vector<CFirstKindFrame*> frames;
        for (QObject* child : m_view->GetQWidget()->children())
            if (auto* frame = dynamic_cast<CFirstKindFrame*>(
                    CWnd::FromWidgetPermanent(qobject_cast<QWidget*>(child))))
                frames.push_back(frame);
        return frames;
    }
};

TEST_F(NewWindowTest, NewWindowMovesAWindowOfTheFirstKindOutOfTheMdiClientIntoTheController) {
    m_frame->ShowWindow(SW_SHOW);
    m_frame->MoveWindow(CRect(0, 0, 600, 400));
    EXPECT_TRUE(m_frame->HasSystemMenu());
    Command(m_view, CRecordControllerView::kNewEmbeddedWindow);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const std::vector<CFirstKindFrame*> embedded = Embedded();
    ASSERT_EQ(embedded.size(), 1u);
    CFirstKindFrame* frame = embedded.front();
    EXPECT_TRUE(dynamic_cast<CFirstKindView*>(frame->GetActiveView()));
    EXPECT_TRUE(dynamic_cast<CFirstKindDoc*>(frame->GetActiveDocument()));
    // No longer an MDI child: no sub-window, unknown to the main frame, shown here.
    EXPECT_EQ(frame->GetSubWindow(), nullptr);
    EXPECT_EQ(frame->GetMDIFrame(), nullptr);
    const std::vector<CMDIChildWnd*> children = m_main->GetMDIChildren();
    EXPECT_EQ(std::find(children.begin(), children.end(), frame), children.end());
    EXPECT_TRUE(m_main->GetMDIArea()->subWindowList().isEmpty());
    EXPECT_TRUE(frame->GetQWidget()->isVisibleTo(m_view->GetQWidget()));
    CRect client;
    m_view->GetClientRect(&client);
    CRect placed;
    frame->GetWindowRect(&placed);
    m_view->ScreenToClient(&placed);
    EXPECT_EQ(placed, CRect(0, 0, client.Width() / 2, client.Height() / 2));
    EXPECT_FALSE(m_frame->HasSystemMenu());

    // It goes with the controller, its document with it.
    const std::weak_ptr<bool> alive = frame->GetLifeToken();
    m_frame->SendMessage(WM_CLOSE, 0, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.expired());
    POSITION pos = m_app->GetFirstDocTemplatePosition();
    EXPECT_EQ(m_app->GetNextDocTemplate(pos)->GetFirstDocPosition(), nullptr);
}
