#include "groups/tests/GroupFixture.h"
#include "sensordata/model/SensorDataSet.h"

#include "platform/com/ComVariant.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MessageMap.h"
#include "shell/DlgOptionsBase.h"
#include "shell/PlaceholderDoc.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

BEGIN_MESSAGE_MAP(CTestContainerView, CView)
ON_MESSAGE(WM_CHILDED_MAYCLOSE, OnMayClose)
END_MESSAGE_MAP()

IMPLEMENT_DYNCREATE(CTestGroupView, CView)

void CTestGroupView::SetUpMember(CView* memberView, int viewFlag) {
    setUpFlags.push_back(viewFlag);
    auto* doc = dynamic_cast<CMeasurementFormDoc*>(GetDocument());
    auto* playback = dynamic_cast<CPlaybackView*>(memberView);
    if (!doc || !playback)
        return;
    int type = 0;
    int index = 0;
    int id = -1;
    int kind = 0;
    int handle = 0;
    doc->GetLastAdded(&type, &index, &id, &kind, &handle);
    // As the group view does: a video shows its source, a data member is known by its id.
    if (auto* video = dynamic_cast<CVidView*>(playback);
        video && type == CPlaybackView::kVideoMember)
        video->SetFrameSource(doc->GetVideoSourcePtr(index));
    playback->SetGroupMember(type, type == CPlaybackView::kDataMember ? id : index, kind, handle);
    playback->SetGroupDocument(doc);
}

IMPLEMENT_DYNCREATE(CTestMemberDoc, CDocument)

IMPLEMENT_DYNCREATE(CTestMemberFrame, CViewChildedFrame)

BEGIN_MESSAGE_MAP(CTestMemberFrame, CViewChildedFrame)
ON_MESSAGE(kClosePlaybackMessage, OnCloseMember)
END_MESSAGE_MAP()

LRESULT CTestMemberFrame::OnCloseMember(WPARAM, LPARAM) {
    SendMessage(WM_CLOSE);
    return 0;
}

IMPLEMENT_DYNCREATE(CTestPlaybackView, CPlaybackView)

namespace {

struct TemplateRow {
    const char* key;
    const char* docString;
    const CRuntimeClass* doc;
    const CRuntimeClass* frame;
    const CRuntimeClass* view;
};

}  // namespace

void GroupFixture::SetUp() {
    IsolatedTest::SetUp();
    CDlgOptionsBase::SetApplicationFolder(WorkDir());
    m_main = new CMainFrame;
    ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    m_app.m_pMainWnd = m_main;
    // Member frames count as visible only inside a shown main window.
    m_main->ShowWindow(SW_SHOW);

    const TemplateRow rows[] = {
        {"DT:Meas2", CMeasurementFormDoc::kDocString, RUNTIME_CLASS(CMeasurementFormDoc),
         RUNTIME_CLASS(CViewChildedFrame), RUNTIME_CLASS(CTestGroupView)},
        {"DT:Vid", "\nVid\nVid\nVideo Files\n.avi;.raw;.bmp;.tif;.jpg;.pvi\n\n",
         RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView)},
        {"DT:QNSensPlayVCF", "\nData\nData\nData Files\n.mdat;.au2;.vidatqn\n\n",
         RUNTIME_CLASS(CTestMemberDoc), RUNTIME_CLASS(CTestMemberFrame),
         RUNTIME_CLASS(CTestPlaybackView)},
        {"DT:PmoPlayVCF", "\nData\nData\n\n\n\n", RUNTIME_CLASS(CTestMemberDoc),
         RUNTIME_CLASS(CTestMemberFrame), RUNTIME_CLASS(CTestPlaybackView)},
    };
    for (TemplateRow row : rows) {
        if (m_placeholderData && QLatin1String(row.key) == QLatin1String("DT:PmoPlayVCF")) {
            row.doc = RUNTIME_CLASS(CPlaceholderDoc);
            row.frame = RUNTIME_CLASS(CPlaceholderFrame);
            row.view = RUNTIME_CLASS(CPlaceholderView);
        }
        auto* docTemplate = new CMultiDocTemplate(0, row.doc, row.frame, row.view);
        docTemplate->SetDocString(QString::fromLatin1(row.docString));
        m_app.AddDocTemplateWithKey(QString::fromLatin1(row.key), docTemplate);
    }

    m_container = new CTestContainerView;
    ASSERT_TRUE(m_container->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE,
                                    CRect(0, 0, 602, 402), m_main, 1));
    CTestGroupView::s_container = m_container;
    CMeasurementFormDoc::SetDataSetFactory([] { return new CSensorDataSet; });
}

void GroupFixture::TearDown() {
    CMeasurementFormDoc::SetDataSetFactory(nullptr);
    CTestGroupView::s_container = nullptr;
    // Groups close before their container goes, as a project closes its groups first.
    m_app.CloseAllDocuments(TRUE);
    if (m_app.m_pMainWnd == m_main)
        m_main->DestroyWindow();
    CDlgOptionsBase::SetApplicationFolder(QString());
    IsolatedTest::TearDown();
}

CMeasurementFormDoc* GroupFixture::NewGroup() {
    CDocument* doc = m_app.CreateDocumentByKey(QStringLiteral("DT:Meas2"), QString(), FALSE);
    auto* group = dynamic_cast<CMeasurementFormDoc*>(doc);
    if (!group)
        return nullptr;
    POSITION pos = group->GetFirstViewPosition();
    CView* view = group->GetNextView(pos);
    CViewChildedFrame::AttachToParentView(m_container,
                                          dynamic_cast<CViewChildedFrame*>(view->GetParentFrame()));
    return group;
}

void GroupFixture::SetIntSetting(const char* key, int value) {
    CComVariant variant(static_cast<LONG>(value));
    ASSERT_EQ(m_main->SetSetting(QString::fromLatin1(key), variant, -1), S_OK) << key;
}

QString WriteDataFile(const QString& path) {
    CSensorDataSet data;
    EXPECT_EQ(data.Init(2, 10, 1, 1000.0, 0), S_OK);
    EXPECT_EQ(data.Save(path), S_OK) << path.toStdString();
    return path;
}

QString GroupFixture::WriteVideo(const QString& path) {
    // Two frames of 8 x 4 grey pixels behind the camera's 72-byte header.
    constexpr int kFrames = 2;
    constexpr int kWidth = 8;
    constexpr int kHeight = 4;
    QByteArray bytes(72, '\0');
    const auto put = [&bytes](int at, int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    };
    bytes.replace(0, 4, "OP05");
    put(8, kFrames);
    put(12, kWidth);
    put(16, kHeight);
    put(24, 72);
    put(28, 8);
    put(68, 100);
    bytes.append(QByteArray(kFrames * kWidth * kHeight, '\x40'));
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

std::vector<CViewChildedFrame*> GroupFixture::MemberFrames() const {
    std::vector<CViewChildedFrame*> frames;
    for (CWnd* child = m_container->GetWindow(GW_CHILD); child;
         child = child->GetWindow(GW_HWNDNEXT)) {
        auto* frame = dynamic_cast<CViewChildedFrame*>(child);
        if (frame && dynamic_cast<CPlaybackView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST)))
            frames.push_back(frame);
    }
    return frames;
}
