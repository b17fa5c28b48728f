#include "frames/FileNames.h"

#include "platform/wintypes/WinMessages.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Case {
    const char* input;
    const char* expected;
};

// Runs a table written with '\' once as written and once with '/' everywhere, since readers
// must treat both alike.
void RunBothSeparators(const char* name, std::initializer_list<Case> cases,
                       const std::function<QString(const QString&)>& fn) {
    for (const auto& c : cases) {
        const QString in = c.input;
        const QString expected = c.expected;
        EXPECT_EQ(fn(in), expected) << name << "(" << c.input << ")";
        QString slashIn = in;
        QString slashExpected = expected;
        slashIn.replace('\\', '/');
        slashExpected.replace('\\', '/');
        EXPECT_EQ(fn(slashIn), slashExpected) << name << "(" << qPrintable(slashIn) << ")";
    }
}

}  // namespace

TEST(FileNamesTest, Extension) {
    RunBothSeparators("GetFileExtension",
                      {{".hidden", ""},
                       {"a.b.c", "c"},
                       {"E:\\rec\\take.avi", "avi"},
                       {"E:\\dir.x\\file", ""},  // a dotted folder is not an extension
                       {"E:\\dir\\.hidden", ""},
                       {"noext", ""},
                       {"E:\\rec\\take.", ""}},
                      [](const QString& p) { return GetFileExtension(p); });
}

TEST(FileNamesTest, NameFolderAndDirectory) {
    RunBothSeparators("GetFileNameFromPath",
                      {{"E:\\rec\\take.avi", "take.avi"},
                       {"take.avi", "take.avi"},
                       {"\\take.avi", "\\take.avi"},
                       {"E:\\rec\\", ""}},
                      [](const QString& p) { return GetFileNameFromPath(p); });
    RunBothSeparators("GetFolderFromPath",
                      {{"E:\\rec\\take.avi", "E:\\rec"},
                       {"take.avi", ""},
                       {"\\take.avi", ""},
                       {"E:\\a\\b\\c", "E:\\a\\b"}},
                      [](const QString& p) { return GetFolderFromPath(p); });
    RunBothSeparators(
        "GetDirectoryPart",
        {{"E:\\rec\\take.avi", "E:\\rec"}, {"take.avi", "take.avi"}, {"\\take.avi", ""}},
        [](const QString& p) { return GetDirectoryPart(p); });
}

TEST(FileNamesTest, TitlesAndTags) {
    RunBothSeparators("GetFileTitle(keep)",
                      {{"E:\\rec\\take.avi", "E:\\rec\\take"},
                       {"E:\\dir.x\\file", "E:\\dir.x\\file"},
                       {".hidden", ".hidden"}},
                      [](const QString& p) { return GetFileTitle(p, true); });
    RunBothSeparators(
        "GetFileTitle",
        {{"E:\\rec\\take.avi", "take"}, {"take.v2.avi", "take.v2"}, {"\\take.avi", "\\take"}},
        [](const QString& p) { return GetFileTitle(p, false); });
    RunBothSeparators(
        "StripSyncNameTag",
        {{"E:\\rec\\take{d3}.avi", "take"}, {"E:\\rec\\take.avi", "take"}, {"{x}.avi", "{x"}},
        [](const QString& p) { return StripSyncNameTag(p, false); });
    RunBothSeparators(
        "StripSyncNameTag(keep)",
        {{"E:\\rec\\take{d3}.avi", "E:\\rec\\take"}, {"E:\\a{b}\\take.avi", "E:\\a{b}\\take"}},
        [](const QString& p) { return StripSyncNameTag(p, true); });
}

TEST(FileNamesTest, SequenceAndNumberlessNames) {
    RunBothSeparators("GetSequenceBaseName",
                      {{"E:\\s\\img_0001.bmp", "E:\\s\\img"},
                       {"E:\\s\\img_*.bmp", "E:\\s\\img"},
                       {"E:\\s\\img*x.bmp", "E:\\s\\img*x"},
                       {"E:\\s\\0001.bmp", "E:\\s\\"}},
                      [](const QString& p) { return GetSequenceBaseName(p, false); });
    RunBothSeparators("GetSequenceBaseName(keep _)",
                      {{"E:\\s\\img_0001.bmp", "E:\\s\\img_"}, {"E:\\s\\img_*.bmp", "E:\\s\\img_"}},
                      [](const QString& p) { return GetSequenceBaseName(p, true); });
    RunBothSeparators("GetDigitlessBaseName",
                      {{"E:\\s\\img_0001.bmp", "E:\\s\\img_"},
                       {"E:\\s2\\img", "E:\\s2\\img"},
                       {"E:\\s2.1\\img7", "E:\\s2.1\\img"}},
                      [](const QString& p) { return GetDigitlessBaseName(p); });
    RunBothSeparators("GetNumberlessBaseName",
                      {{"shot_0012.tif", "shot"},
                       {"shot-0012.tif", "shot"},
                       {"shot0012.tif", "shot0012"},
                       {"E:\\r\\shot_-7.tif", "E:\\r\\shot"}},
                      [](const QString& p) { return GetNumberlessBaseName(p); });
    RunBothSeparators("GetConfigStem",
                      {{"E:\\r\\take.avi", "E:\\r\\take"},
                       {"E:\\r\\img_*.bmp", "E:\\r\\img"},
                       {"E:\\r\\img__.bmp", "E:\\r\\img_"},
                       {"E:\\r.d\\take", "E:\\r.d\\take"}},
                      [](const QString& p) { return GetConfigStem(p); });
}

TEST(FileNamesTest, ExtensionChanges) {
    RunBothSeparators(
        "ChangeFileExtension(cfg)",
        {{"E:\\r\\take.avi", "E:\\r\\take.cfg"}, {"E:\\r.d\\take", "E:\\r.d\\take.cfg"}},
        [](const QString& p) { return ChangeFileExtension(p, "cfg"); });
    EXPECT_EQ(ChangeFileExtension("take.avi", ".evt"), "take.evt");
    RunBothSeparators("ReplaceExtension(cih)",
                      {{"E:\\r\\take.avi", "E:\\r\\take.cih"},
                       {"E:\\r.d\\take", "E:\\r.d\\take.cih"},
                       {"take", "take.cih"}},
                      [](const QString& p) { return ReplaceExtension(p, "cih"); });
}

TEST(FileNamesTest, RelativePaths) {
    struct RelCase {
        const char* base;
        const char* file;
        const char* expected;
    };
    const RelCase cases[] = {
        {"E:\\proj\\groups", "E:\\proj\\video\\a.avi", "../video/a.avi"},
        {"E:\\proj", "E:\\proj\\video\\a.avi", "video/a.avi"},
        {"E:\\proj\\video", "E:\\proj\\video\\a.avi", "a.avi"},
        {"e:\\proj\\groups", "E:\\proj\\video\\a.avi", "../video/a.avi"},
        {"E:\\proj\\groups\\deep", "E:\\proj\\a.avi", "../../a.avi"},
        {"E:\\proj\\\\groups", "E:\\other\\a.avi", "../../other/a.avi"},
        {"/home/u/proj/groups", "/home/u/proj/video/a.avi", "../video/a.avi"},
        {"/home/u/proj/groups/", "/home/u/proj/video/a.avi", "../video/a.avi"},
        {"/home/u/proj", "/mnt/a.avi", "../../../mnt/a.avi"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeRelativePath(c.base, c.file), c.expected) << c.base << " " << c.file;
        QString base = c.base;
        QString file = c.file;
        EXPECT_EQ(MakeRelativePath(base.replace('\\', '/'), file.replace('\\', '/')), c.expected);
    }
    EXPECT_EQ(MakeRelativePath("E:\\proj", "D:\\video\\a.avi"), "D:\\video\\a.avi");
    EXPECT_EQ(MakeRelativePath("E:\\proj", "video\\a.avi"), "video\\a.avi");
    EXPECT_EQ(MakeRelativePath("proj\\g", "other\\a.avi"), "other\\a.avi");

    // A play group written on Windows, opened from a folder here.
    EXPECT_EQ(ResolveRelativePath("/home/u/proj/groups/..\\video\\a.avi"),
              "/home/u/proj/video/a.avi");
    RunBothSeparators("ResolveRelativePath",
                      {{"E:\\proj\\groups\\..\\video\\a.avi", "E:/proj/video/a.avi"},
                       {"E:\\proj\\g\\deep\\..\\..\\a.avi", "E:/proj/a.avi"},
                       {"E:\\proj\\groups\\D:\\video\\a.avi", "D:/video/a.avi"},
                       {"E:\\..\\a.avi", "E:/../a.avi"},
                       {"..\\a.avi", "../a.avi"},
                       {"\\data\\run:1\\x:2.avi", "/data/run:1/x:2.avi"},
                       {"E:\\p\\a..\\b.avi", "E:/p/a../b.avi"}},
                      [](const QString& p) { return ResolveRelativePath(p); });
}

TEST(FileNamesTest, RelativePathRoundTrips) {
    const char* pairs[][2] = {
        {"E:/proj/groups", "E:/proj/video/a.avi"},  {"E:/proj", "E:/proj/video/a.avi"},
        {"E:/proj/g/deep", "E:/proj/a.avi"},        {"E:/proj", "D:/video/a.avi"},
        {"/home/u/proj/groups", "/home/u/v/a.avi"}, {"/home/u", "/home/u/a.avi"},
        {"/home/u/proj/g", "/opt/r.d/take.avi"},
    };
    for (const auto& p : pairs) {
        const QString base = p[0];
        const QString file = p[1];
        EXPECT_EQ(ResolveRelativePath(base + "/" + MakeRelativePath(base, file)), file)
            << p[0] << " " << p[1];
        QString winBase = base;
        QString winFile = file;
        winBase.replace('/', '\\');
        winFile.replace('/', '\\');
        EXPECT_EQ(ResolveRelativePath(winBase + "\\" + MakeRelativePath(winBase, winFile)), file)
            << "with backslashes: " << p[0] << " " << p[1];
    }
}

class CheckDiskSpaceTest : public IsolatedTest {
protected:
    void TearDown() override {
        SetFreeSpaceQuery({});
        IsolatedTest::TearDown();
    }
};

TEST_F(CheckDiskSpaceTest, ComparesKibibytesOfTheFolder) {
    QString asked;
    SetFreeSpaceQuery([&](const QString& folder) {
        asked = folder;
        return int64_t{100} << 10;
    });
    EXPECT_EQ(CheckDiskSpace(99, "/data/out/take.avi", false), 1);
    EXPECT_EQ(asked, "/data/out/");
    EXPECT_EQ(CheckDiskSpace(100, "/data/out/", false), 0);  // needed == free is not enough
    EXPECT_EQ(asked, "/data/out/");
    EXPECT_EQ(CheckDiskSpace(101, "", false), 0);
    EXPECT_EQ(asked, "");
    EXPECT_EQ(CheckDiskSpace(5, "E:\\rec\\x.avi", false), 1);
    EXPECT_EQ(asked, "E:/rec/");

    EXPECT_TRUE(Prompter().Prompts().empty());
    Prompter().ExpectMessageBox("Insufficient Disk Space.", IDOK);
    EXPECT_EQ(CheckDiskSpace(100, "/data/out/", true), 0);
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(CheckDiskSpace(99, "/data/out/", true), 1);  // room: nothing said
    EXPECT_EQ(Prompter().Prompts().size(), 1u);

    SetFreeSpaceQuery([](const QString&) { return int64_t{-1}; });
    EXPECT_EQ(CheckDiskSpace(0, "/data", false), 0);  // unknown space is no room
}

TEST_F(CheckDiskSpaceTest, RealVolumeOfAFolderNotYetCreated) {
    EXPECT_EQ(CheckDiskSpace(1, WorkPath("new/sub/take.avi"), false), 1);
    EXPECT_EQ(CheckDiskSpace(int64_t{1} << 60, WorkDir() + "/", false), 0);
}
