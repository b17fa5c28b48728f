#pragma once

// A program with the templates a play group uses: the group itself under "DT:Meas2" with a
// group view that hosts its members in a container view, videos under "DT:Vid" and data
// recordings under "DT:PmoPlayVCF", each member a hosted frame around a playback view.

#include "groups/IPlayGroupView.h"
#include "groups/MeasurementFormDoc.h"
#include "platform/framework/Document.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/View.h"
#include "shell/MainFrame.h"
#include "shell/VidraApp.h"
#include "shell/ViewChildedFrame.h"
#include "testsupport/IsolatedTest.h"
#include "views/PlaybackView.h"

#include <QString>

#include <vector>

// The window that holds the group's frame and its members; it lets every frame close.
class CTestContainerView : public CView {
    DECLARE_MESSAGE_MAP()

public:
    void OnDraw(CDC*) override {}
    LRESULT OnMayClose(WPARAM, LPARAM) { return 1; }
};

// The group's own view: it names the container and records the members it is given.
class CTestGroupView : public CView, public IPlayGroupView {
    DECLARE_DYNCREATE(CTestGroupView)

public:
    void OnDraw(CDC*) override {}
    CWnd* GetOwnerParentingView() override { return s_container; }
    void SetUpMember(CView* memberView, int viewFlag) override;
    int GetActiveVideoSourceId() override { return -1; }

    static inline CWnd* s_container = nullptr;
    std::vector<int> setUpFlags;
};

class CTestMemberDoc : public CDocument {
    DECLARE_DYNCREATE(CTestMemberDoc)
};

// A member frame closes itself, through the hosted-frame protocol, when its group asks.
class CTestMemberFrame : public CViewChildedFrame {
    DECLARE_DYNCREATE(CTestMemberFrame)
    DECLARE_MESSAGE_MAP()

public:
    LRESULT OnCloseMember(WPARAM, LPARAM);
};

class CTestPlaybackView : public CPlaybackView {
    DECLARE_DYNCREATE(CTestPlaybackView)

public:
    void OnDraw(CDC*) override {}
};

// Writes a small data file the sensor-data set reads; returns path.
QString WriteDataFile(const QString& path);

class GroupFixture : public IsolatedTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new play group hosted in the container, as a project shows it.
    CMeasurementFormDoc* NewGroup();
    void SetIntSetting(const char* key, int value);
    // Writes a small readable recording at path (a ".raw" name) and returns path.
    QString WriteVideo(const QString& path);
    // The hosted member frames in the container, top first.
    std::vector<CViewChildedFrame*> MemberFrames() const;

    // Set before SetUp: the data windows are of a kind that is not built.
    bool m_placeholderData = false;
    CVidraApp m_app{QStringLiteral("Vidra Player")};
    CMainFrame* m_main = nullptr;
    CTestContainerView* m_container = nullptr;
};
