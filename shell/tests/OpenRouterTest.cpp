#include "platform/framework/Document.h"
#include "shell/ExtensionList.h"
#include "shell/OpenRouter.h"
#include "testsupport/IsolatedTest.h"

#include <QMap>
#include <QStringList>

#include <map>

namespace {

// Which windows are open when a file arrives.
enum OpenWindows : unsigned {
    kNone = 0,
    kRecordProject = 1,
    kRecordController = 2,
    kPlayProject = 4,
    kPlayGroup = 8,
    kAll = 15,
};

// Destinations that record, by document name, every operation the router asks for.
class RecordingDestinations : public IOpenDestinations {
public:
    int mode = 0;
    QMap<QString, int> settings;
    unsigned windows = kNone;
    bool windowsHaveDocuments = true;
    bool operationsSucceed = true;
    bool playGroupFileYieldsGroup = true;
    bool templatesOpen = true;
    QStringList calls;

    CDocument recordProject, recordController, playProject, playGroup, projectGroup, newProject,
        newGroup, newController;

    QString Name(const CDocument* document) const {
        const std::map<const CDocument*, QString> names = {{&recordProject, "recordProject"},
                                                           {&recordController, "recordController"},
                                                           {&playProject, "playProject"},
                                                           {&playGroup, "playGroup"},
                                                           {&projectGroup, "projectGroup"},
                                                           {&newProject, "newProject"},
                                                           {&newGroup, "newGroup"},
                                                           {&newController, "newController"},
                                                           {nullptr, "null"}};
        const auto it = names.find(document);
        return it == names.end() ? QStringLiteral("?") : it->second;
    }

    QString FilterExtensions(const QString& key) override {
        if (key == "DT:Rec")
            return ".recc";
        if (key == "DT:Meas2")
            return ".playgrp";
        return QString();
    }
    int IntegerSetting(const QString& key) override { return settings.value(key, 0); }
    int PlacementMode() override { return mode; }

    Window FindRecordProject() override { return Found(kRecordProject, &recordProject); }
    Window FindRecordController() override { return Found(kRecordController, &recordController); }
    Window FindPlayProject() override { return Found(kPlayProject, &playProject); }
    Window FindPlayGroup() override { return Found(kPlayGroup, &playGroup); }

    bool OpenRecordConfiguration(CDocument* project, const QString&) override {
        return Call("OpenRecordConfiguration", project);
    }
    bool OpenPlayGroupFile(CDocument* project, const QString&, CDocument** group) override {
        const bool ok = Call("OpenPlayGroupFile", project);
        if (ok && playGroupFileYieldsGroup)
            *group = &projectGroup;
        return ok;
    }
    bool AddFileToPlayGroup(CDocument* group, const QString&) override {
        return Call("AddFileToPlayGroup", group);
    }
    bool OpenFileWithSimilarlyNamed(CDocument* group, const QString&) override {
        calls << "OpenFileWithSimilarlyNamed(" + Name(group) + ")";
        // Having no companions is no failure of the open.
        return false;
    }
    bool StorePathName(CDocument* controller, const QString&) override {
        return Call("StorePathName", controller);
    }
    bool LoadDeviceSet(CDocument* controller, int flag) override {
        return Call(QStringLiteral("LoadDeviceSet%1").arg(flag), controller);
    }
    CDocument* OpenWithTemplate(const QString& key, const QString&) override {
        calls << "OpenWithTemplate(" + key + ")";
        if (!templatesOpen)
            return nullptr;
        return key == "DT:Gen"     ? &newProject
               : key == "DT:Meas2" ? &newGroup
               : key == "DT:Rec"   ? &newController
                                   : nullptr;
    }
    void AddToRecentFileList(const QString& path) override { calls << "AddToRecent(" + path + ")"; }
    void Activate(const Window& window) override {
        calls << "Activate(" + Name(window.document) + ")";
    }

private:
    Window Found(unsigned which, CDocument* document) {
        if (!(windows & which))
            return {};
        return {document, windowsHaveDocuments ? document : nullptr};
    }
    bool Call(const QString& operation, CDocument* document) {
        calls << operation + "(" + Name(document) + ")";
        return operationsSucceed;
    }
};

struct RouteCase {
    const char* name;
    int mode;
    int inExisting;
    int pgInExisting;
    int similar;
    unsigned windows;
    const char* path;
    const char* result;
    const char* calls;  // "|"-separated; AddToRecent and Activate as "+"
};

const RouteCase kRouteCases[] = {
    // Videos and data files.
    {"NewProjectPerVideo", 0, 0, 1, 1, kAll, "/v/a.avi", "newProject", "OpenWithTemplate(DT:Gen)"},
    {"IntoPlayProject", 0, 1, 0, 1, kAll, "/v/a.avi", "playProject",
     "OpenPlayGroupFile(playProject)|OpenFileWithSimilarlyNamed(projectGroup)|+playProject"},
    {"IntoPlayProjectAlone", 0, 1, 0, 0, kAll, "/v/a.avi", "playProject",
     "OpenPlayGroupFile(playProject)|+playProject"},
    {"RecordProjectIsNoPlayProject", 0, 1, 0, 1, kRecordProject | kPlayGroup, "/v/a.avi",
     "newProject", "OpenWithTemplate(DT:Gen)"},
    {"IntoPlayGroup", 1, 1, 0, 1, kAll, "/v/a.avi", "playGroup",
     "AddFileToPlayGroup(playGroup)|OpenFileWithSimilarlyNamed(playGroup)|+playGroup"},
    {"IntoPlayGroupAlone", 1, 1, 0, 0, kAll, "/v/a.avi", "playGroup",
     "AddFileToPlayGroup(playGroup)|+playGroup"},
    {"NoPlayGroupMakesOne", 1, 1, 0, 1, kPlayProject, "/v/a.avi", "newGroup",
     "OpenWithTemplate(DT:Meas2)|OpenFileWithSimilarlyNamed(newGroup)"},
    {"NewGroupPerVideo", 1, 0, 1, 1, kAll, "/v/a.avi", "newGroup",
     "OpenWithTemplate(DT:Meas2)|OpenFileWithSimilarlyNamed(newGroup)"},
    {"NewGroupPerVideoAlone", 1, 0, 1, 0, kAll, "/v/a.avi", "newGroup",
     "OpenWithTemplate(DT:Meas2)"},
    {"InExistingIsOnlyOne", 0, 2, 0, 0, kAll, "/v/a.avi", "newProject", "OpenWithTemplate(DT:Gen)"},
    // Play-group files follow their own setting.
    {"PlayGroupFileOwnSettingOff", 0, 1, 0, 1, kAll, "/g/set.playgrp", "newProject",
     "OpenWithTemplate(DT:Gen)"},
    {"PlayGroupFileOwnSettingOn", 0, 0, 1, 0, kAll, "/g/set.playgrp", "playProject",
     "OpenPlayGroupFile(playProject)|+playProject"},
    {"PlayGroupFileUpperCase", 1, 0, 1, 0, kAll, "/g/SET.PlayGrp", "playGroup",
     "AddFileToPlayGroup(playGroup)|+playGroup"},
    {"PlayIsNoPlayGroupFile", 0, 0, 1, 0, kAll, "/g/x.play", "newProject",
     "OpenWithTemplate(DT:Gen)"},
    {"LongerIsNoPlayGroupFile", 0, 0, 1, 0, kAll, "/g/x.playgrp2", "newProject",
     "OpenWithTemplate(DT:Gen)"},
    {"NameWithoutDot", 0, 0, 1, 0, kAll, "/g/playgrp", "newProject", "OpenWithTemplate(DT:Gen)"},
    {"DotOnlyInFolder", 0, 0, 1, 0, kAll, "/g/set.playgrp/readme", "newProject",
     "OpenWithTemplate(DT:Gen)"},
    // Record configurations go into an open record group, else into a new project (which
    // takes it as its record group) or a new controller; never into a play group.
    {"RecordIntoProject", 0, 1, 1, 1, kAll, "/r/setup.recc", "recordProject",
     "OpenRecordConfiguration(recordProject)|+recordProject"},
    {"RecordWithoutRecordProject", 0, 1, 1, 1, kAll & ~kRecordProject, "/r/setup.recc",
     "newProject", "OpenWithTemplate(DT:Gen)"},
    {"RecordIntoController", 1, 0, 0, 1, kAll, "/r/SETUP.RECC", "recordController",
     "StorePathName(recordController)|LoadDeviceSet0(recordController)|+recordController"},
    {"RecordWithoutController", 1, 1, 1, 1, kAll & ~kRecordController, "/r/setup.recc",
     "newController", "OpenWithTemplate(DT:Rec)"},
    // Extensions come from the last component only.
    {"VideoInRecordFolderBackslash", 0, 0, 0, 0, kAll, "D:\\a.recc\\v.avi", "newProject",
     "OpenWithTemplate(DT:Gen)"},
    {"VideoInRecordFolderSlash", 1, 1, 0, 0, kAll, "/a.recc/v.avi", "playGroup",
     "AddFileToPlayGroup(playGroup)|+playGroup"},
    {"VideoInPlayGroupFolder", 0, 0, 1, 0, kAll, "C:\\x.playgrp\\v.avi", "newProject",
     "OpenWithTemplate(DT:Gen)"},
};

void PrintTo(const RouteCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenRouterTableTest : public IsolatedTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(OpenRouterTableTest, RoutesToTheExpectedDestination) {
    const RouteCase& c = GetParam();
    RecordingDestinations fake;
    fake.mode = c.mode;
    fake.settings = {{"AppBehave:bOpenInExisting", c.inExisting},
                     {"AppBehave:bOpenPGInExisting", c.pgInExisting},
                     {"AppBehave:bOpenSimilarlyNamed", c.similar}};
    fake.windows = c.windows;
    const QString path = QString::fromLatin1(c.path);

    CDocument* result = COpenRouter(fake).Open(path);

    EXPECT_EQ(fake.Name(result), QString::fromLatin1(c.result));
    QStringList expected = QString::fromLatin1(c.calls).split('|', Qt::SkipEmptyParts);
    if (!expected.isEmpty() && expected.back().startsWith('+')) {
        const QString window = expected.takeLast().mid(1);
        expected << "AddToRecent(" + path + ")"
                 << "Activate(" + window + ")";
    }
    EXPECT_EQ(fake.calls, expected);
}

INSTANTIATE_TEST_SUITE_P(Routes, OpenRouterTableTest, ::testing::ValuesIn(kRouteCases),
                         [](const ::testing::TestParamInfo<RouteCase>& info) {
                             return std::string(info.param.name);
                         });

class OpenRouterTest : public IsolatedTest {
protected:
    OpenRouterTest() {
        m_fake.settings = {{"AppBehave:bOpenInExisting", 1}, {"AppBehave:bOpenSimilarlyNamed", 1}};
        m_fake.windows = kAll;
    }
    RecordingDestinations m_fake;
};

TEST_F(OpenRouterTest, ProjectGivingNoGroupSkipsTheCompanions) {
    m_fake.playGroupFileYieldsGroup = false;
    EXPECT_EQ(COpenRouter(m_fake).Open("/v/a.avi"), &m_fake.playProject);
    EXPECT_EQ(m_fake.calls, QStringList({"OpenPlayGroupFile(playProject)", "AddToRecent(/v/a.avi)",
                                         "Activate(playProject)"}));
}

TEST_F(OpenRouterTest, OperationThatDidNotHappenOpensNothing) {
    m_fake.operationsSucceed = false;
    for (int mode : {0, 1}) {
        m_fake.mode = mode;
        for (const char* path : {"/v/a.avi", "/r/setup.recc"}) {
            m_fake.calls.clear();
            EXPECT_EQ(COpenRouter(m_fake).Open(path), nullptr) << mode << path;
            EXPECT_FALSE(m_fake.calls.join(' ').contains("AddToRecent")) << mode << path;
            EXPECT_FALSE(m_fake.calls.join(' ').contains("Activate")) << mode << path;
        }
    }
}

TEST_F(OpenRouterTest, WindowWithoutDocumentCountsAsNone) {
    m_fake.windowsHaveDocuments = false;
    EXPECT_EQ(COpenRouter(m_fake).Open("/v/a.avi"), &m_fake.newProject);
    EXPECT_EQ(COpenRouter(m_fake).Open("/r/setup.recc"), &m_fake.newProject);
    m_fake.mode = 1;
    EXPECT_EQ(COpenRouter(m_fake).Open("/v/a.avi"), &m_fake.newGroup);
    EXPECT_EQ(m_fake.calls,
              QStringList({"OpenWithTemplate(DT:Gen)", "OpenWithTemplate(DT:Gen)",
                           "OpenWithTemplate(DT:Meas2)", "OpenFileWithSimilarlyNamed(newGroup)"}));
}

TEST_F(OpenRouterTest, NewGroupThatDidNotOpenGetsNoCompanions) {
    m_fake.mode = 1;
    m_fake.windows = kNone;
    m_fake.templatesOpen = false;
    EXPECT_EQ(COpenRouter(m_fake).Open("/v/a.avi"), nullptr);
    EXPECT_EQ(m_fake.calls, QStringList({"OpenWithTemplate(DT:Meas2)"}));
}

TEST_F(OpenRouterTest, EmptyPathOpensNothing) {
    EXPECT_EQ(COpenRouter(m_fake).Open(QString()), nullptr);
    EXPECT_TRUE(m_fake.calls.isEmpty());
}

struct ExtensionCase {
    const char* list;
    const char* path;
    bool matches;
};

TEST(ExtensionListTest, MatchesWholeExtensionsOfTheLastComponent) {
    const ExtensionCase cases[] = {
        {".avi;.raw;.bmp", "/a/b.RAW", true},      {".avi;.raw;.bmp", "/a/b.ra", false},
        {".avi;.raw;.bmp", "/a/b.avi.bak", false}, {".avi;.raw;.bmp", "/a.avi/b", false},
        {".avi;.raw;.bmp", "D:\\a.avi\\b", false}, {".avi;.raw;.bmp", "D:\\x\\b.bmp", true},
        {".avi;;.raw", "/a/noext", false},         {".avi;;.raw", "/a/trailingdot.", false},
        {"*.mdat; .au2", "/a/b.au2", true},        {"", "/a/b.avi", false},
    };
    for (const ExtensionCase& c : cases)
        EXPECT_EQ(CExtensionList(c.list).Matches(c.path), c.matches) << c.list << " " << c.path;
    EXPECT_EQ(CExtensionList(".Avi;.RAW").Extensions(), QStringList({"avi", "raw"}));
}

}  // namespace
