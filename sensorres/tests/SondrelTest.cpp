#include "platform/framework/ResourceChain.h"
#include "platform/framework/ResourceModuleScope.h"
#include "sensorres/SensorResource.h"
#include "sensorres/SensorResourceIds.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

// The library in the chain the way the program puts it there, and a program module in front
// of it that has templates of the same numbers.
class SondrelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program.name = QStringLiteral("program");
        for (UINT id : {157u, 180u, 1576u}) {
            DialogTemplate d;
            d.id = id;
            d.caption = QStringLiteral("program %1").arg(id);
            m_program.dialogs.push_back(d);
        }
        CResourceChain::AddModule(&m_program);
        QString error;
        ASSERT_TRUE(CResourceChain::LoadLibrary(SONDREL_LIBRARY_PATH, &error))
            << error.toStdString();
    }
    void TearDown() override {
        CResourceChain::UnloadLibrary(SONDREL_LIBRARY_PATH);
        CResourceChain::RemoveModule(&m_program);
    }

    CResourceModule m_program;
};

TEST_F(SondrelTest, LoadsIntoTheChainWithItsImages) {
    const std::vector<QString> names = CResourceChain::ModuleNames();
    EXPECT_NE(std::find(names.begin(), names.end(), SensorRes::kModuleName), names.end());
    ASSERT_NE(CResourceChain::FindDialog(SensorRes::kDataDisplayTemplate), nullptr);
    for (UINT id : {SensorRes::kBitmapAdd, SensorRes::kBitmapRemove, SensorRes::kBitmapRecord,
                    SensorRes::kBitmapStop})
        EXPECT_FALSE(CResourceChain::LoadBitmap(id).isNull()) << id;
    for (UINT id :
         {SensorRes::kBackIcon, SensorRes::kStepIcon, SensorRes::kPlayIcon, SensorRes::kRewIcon,
          SensorRes::kStopIcon, SensorRes::kRevIcon, SensorRes::kForwIcon})
        EXPECT_FALSE(CResourceChain::LoadIcon(id).isNull()) << id;
}

TEST_F(SondrelTest, ScopeSearchesTheLibraryFirstUntilItEnds) {
    for (UINT id : {157u, 180u, 1576u})
        EXPECT_EQ(CResourceChain::FindDialog(id)->caption, QStringLiteral("program %1").arg(id));
    {
        CResourceModuleScope scope(SensorRes::kModuleName);
        EXPECT_TRUE(scope.IsActive());
        EXPECT_EQ(CResourceChain::FindDialog(180)->caption, QStringLiteral("Graph Configuration"));
        EXPECT_NE(CResourceChain::FindDialog(1576)->caption, QStringLiteral("program 1576"));
        {
            CResourceModuleScope inner(QStringLiteral("program"));
            EXPECT_EQ(CResourceChain::FindDialog(180)->caption, QStringLiteral("program 180"));
        }
        EXPECT_EQ(CResourceChain::FindDialog(180)->caption, QStringLiteral("Graph Configuration"));
    }
    EXPECT_EQ(CResourceChain::FindDialog(180)->caption, QStringLiteral("program 180"));

    // An exception through the scope restores the order as well.
    try {
        CResourceModuleScope scope(SensorRes::kModuleName);
        throw std::runtime_error("window failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(CResourceChain::PreferredModule(), nullptr);
    EXPECT_EQ(CResourceChain::FindDialog(180)->caption, QStringLiteral("program 180"));

    CResourceModuleScope missing(QStringLiteral("NoSuch.dll"));
    EXPECT_FALSE(missing.IsActive());
    EXPECT_EQ(CResourceChain::FindDialog(180)->caption, QStringLiteral("program 180"));
}

// The templates the program's windows are made from, with the caption and the controls those
// windows look up by id.
TEST_F(SondrelTest, UsedTemplatesCarryTheControlsTheirWindowsUse) {
    struct Case {
        UINT id;
        const char* caption;
        std::vector<int> controls;
        std::vector<const char*> texts;
    };
    const std::vector<Case> cases = {
        {102, "Test Trigger Controls", {IDOK, 1003, 1009}, {"Toggle"}},
        {162,
         "Format Settings",
         {1122, 1018, 1019, 1020, 1141, 2221, 2240, 2081, 2101, IDOK, IDCANCEL},
         {"Small Font (15 pt)", "Large Font (30 pt)", "Auto Select", "Scale Data when Exporting"}},
        {180,
         "Graph Configuration",
         {1204, 1205, 1208, 1209, 1210, 1003, 1004, IDOK, IDCANCEL},
         {"Chan.   Acq.   Disp.\tY-Label"}},
        {287,
         "Data Display",
         {1000, 1009, 1018, 1019, 1020, 1022, 1023, 1118, 1119, 1120, 1132, 1133, 2004, 2005},
         {"Configure", "Cursor Values"}},
        {1538,
         "",
         {1000, 1009, 1018, 1019, 1020, 1022, 1023, 1118, 1119, 1120, 1132, 1133, 2004, 2005},
         {"Configure Graph", "Display Values", "Edit Mode:", "Data-centric"}},
        {1539, "Data Acquisition Settings", {2021, 1130, 1065, 2081, 2101, 2221, 2240}, {}},
    };
    CResourceModuleScope scope(SensorRes::kModuleName);
    for (const Case& c : cases) {
        const DialogTemplate* d = CResourceChain::FindDialog(c.id);
        ASSERT_NE(d, nullptr) << c.id;
        EXPECT_EQ(d->caption, QString::fromUtf8(c.caption)) << c.id;
        for (int control : c.controls) {
            EXPECT_EQ(std::count_if(d->items.begin(), d->items.end(),
                                    [&](const DialogItemTemplate& i) { return i.id == control; }),
                      1)
                << c.id << " control " << control;
        }
        for (const char* text : c.texts) {
            EXPECT_TRUE(std::any_of(
                d->items.begin(), d->items.end(),
                [&](const DialogItemTemplate& i) { return i.text == QString::fromUtf8(text); }))
                << c.id << " text " << text;
        }
    }
    // The sensor record page and the record controller's three variants share their controls.
    const std::vector<int> record = {1005, 1574, 202,  1114, 1050, 1530, 1110, 1537, 1106,
                                     1532, 1047, 1528, 1009, 1535, 1539, 1053, 1051, 1540,
                                     1541, 1013, 204,  205,  206,  207,  208,  209,  210};
    for (UINT id : {321u, 1574u, 1575u, 1576u}) {
        const DialogTemplate* d = CResourceChain::FindDialog(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_TRUE(d->style & WS_CHILD) << id;
        for (int control : record) {
            EXPECT_TRUE(std::any_of(d->items.begin(), d->items.end(),
                                    [&](const DialogItemTemplate& i) { return i.id == control; }))
                << id << " control " << control;
        }
    }
    EXPECT_EQ(CResourceChain::FindDialog(321)->caption, QStringLiteral("Sensor Record"));
    EXPECT_TRUE(CResourceChain::FindDialog(1538)->style & WS_CHILD);
}

TEST(SensorResourceTest, CopyAndAssignmentCarryNothing) {
    static_assert(sizeof(CSensorResource) == sizeof(void*));
    CSensorResource a;
    CSensorResource b(a);
    std::byte before[sizeof(CSensorResource)];
    std::memcpy(before, &b, sizeof b);
    CSensorResource& result = (b = a);
    EXPECT_EQ(&result, &b);
    EXPECT_EQ(std::memcmp(before, &b, sizeof b), 0);
    // Deleting through the base pointer runs the library's destructor.
    CSensorResource* heap = new CSensorResource(a);
    delete heap;
}

TEST(SondrelExportsTest, OnlyTheClassAndTheEntryPoint) {
    QProcess nm;
    nm.start(SONDREL_NM, {"-D", "-C", "--defined-only", "--format=posix", SONDREL_LIBRARY_PATH});
    ASSERT_TRUE(nm.waitForFinished(30000));
    ASSERT_EQ(nm.exitCode(), 0) << nm.readAllStandardError().toStdString();
    QStringList names;
    static const QRegularExpression symbolLine(QStringLiteral("^(.*) [A-Za-z]( |$)"));
    for (const QString& line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n')) {
        // "name type [value size]"; demangled names hold blanks themselves.
        const QRegularExpressionMatch m = symbolLine.match(line);
        if (m.hasMatch())
            names << m.captured(1);
    }
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        EXPECT_TRUE(name == QStringLiteral("RmResourceModule") ||
                    name.contains(QStringLiteral("CSensorResource")))
            << name.toStdString();
    }
    EXPECT_TRUE(names.contains(QStringLiteral("RmResourceModule")));
}

}  // namespace
