#include "groups/tests/GroupFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString TestData(const QString& name) {
    return QStringLiteral(RM_TESTDATA_DIR "/playgroup/") + name;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteText(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class PlayGroupFileTest : public GroupFixture {
protected:
    // Entries of a group without opening them: the file holds paths only.
    void AddEntries(CMeasurementFormDoc* group, const QStringList& videos,
                    const QStringList& data) {
        for (const QString& path : videos)
            group->AddVideoEntry(CFrameSourcePtr(), CMeasurementFormDoc::kFromFile, path);
        for (const QString& path : data)
            group->AddDataEntry(CMemberDataRef(), CMeasurementFormDoc::kFromFile, path);
    }

    QStringList MemberPaths(const CMeasurementFormDoc* group) const {
        QStringList paths;
        for (int i = 0; i < group->GetVideoCount(); ++i)
            paths << group->GetVideoPath(i);
        for (int i = 0; i < group->GetDataCount(); ++i)
            paths << group->GetDataPath(i);
        return paths;
    }
};

TEST_F(PlayGroupFileTest, WritesBareRelativeAndAbsoluteLinesAsTheGoldenFiles) {
    const QString work = WorkDir();
    const QString groups = work + "/groups";
    struct Case {
        const char* golden;
        int relative;
        QStringList videos;
        QStringList data;
    };
    const Case cases[] = {
        {"bare.playgrp",
         1,
         {groups + "/a.raw", groups + "/b.raw", groups + "/c.raw"},
         {groups + "/d.mdat"}},
        {"relative.playgrp",
         1,
         {work + "/clips/a.raw", groups + "/b.raw", groups + "/sub/c.raw"},
         {work + "/clips/d.mdat"}},
        {"absolute.playgrp",
         0,
         {work + "/clips/a.raw", groups + "/b.raw", groups + "/sub/c.raw"},
         {work + "/clips/d.mdat"}},
    };
    QDir().mkpath(groups);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        SetIntSetting("Other:PGRelativeDefault", c.relative);
        CMeasurementFormDoc* group = NewGroup();
        ASSERT_NE(group, nullptr);
        AddEntries(group, c.videos, c.data);
        group->SetModifiedFlag(TRUE);
        const QString path = groups + "/g.playgrp";
        ASSERT_TRUE(group->WritePlayGroupFile(path));
        QByteArray expected = ReadAll(TestData(c.golden));
        expected.replace("@WORK@", work.toUtf8());
        EXPECT_EQ(ReadAll(path), expected);
        EXPECT_FALSE(group->IsModified());
        EXPECT_EQ(group->GetTitle(), "g.playgrp");
        EXPECT_EQ(QFileInfo(group->GetPathName()).canonicalFilePath(),
                  QFileInfo(path).canonicalFilePath());

        // Read back, every form names the same files again.
        for (const QString& member : c.videos + c.data)
            WriteText(member, "x");
        ASSERT_TRUE(group->ReadPlayGroupFile(path, 0));
        EXPECT_EQ(group->GetPendingList(), c.videos + c.data);
        for (const QString& member : c.videos + c.data)
            QFile::remove(member);
        group->OnCloseDocument();
    }
}

TEST_F(PlayGroupFileTest, RelativeIsTheDefaultWhenNoStoreAnswers) {
    // Without a main window no store answers: the option counts as on.
    m_app.m_pMainWnd = nullptr;
    CMeasurementFormDoc* group = NewGroup();
    AddEntries(group, {WorkPath("clips/a.raw")}, {});
    ASSERT_TRUE(group->WritePlayGroupFile(WorkPath("g.playgrp")));
    EXPECT_EQ(ReadAll(WorkPath("g.playgrp")), "clips/a.raw\n");
    m_app.m_pMainWnd = m_main;
    group->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, DeviceMemoryEntriesAreNotWrittenAndKeepTheGroupModified) {
    SetIntSetting("Other:PGRelativeDefault", 1);
    CMeasurementFormDoc* group = NewGroup();
    group->AddVideoEntry(CFrameSourcePtr(), CMeasurementFormDoc::kFromDeviceMemory,
                         "addplaybackXXX#3#0#1#");
    AddEntries(group, {WorkPath("a.raw")}, {});
    group->AddDataEntry(CMemberDataRef(), CMeasurementFormDoc::kFromDeviceMemory,
                        "addplaybackXXX#2#0#1#");
    ASSERT_TRUE(group->WritePlayGroupFile(WorkPath("g.playgrp")));
    EXPECT_EQ(ReadAll(WorkPath("g.playgrp")), "a.raw\n");
    EXPECT_TRUE(group->IsModified());
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, AnUnwritablePlaceFailsAndLeavesTheGroupAsItWas) {
    CMeasurementFormDoc* group = NewGroup();
    AddEntries(group, {WorkPath("a.raw")}, {});
    group->SetModifiedFlag(TRUE);
    const QString title = group->GetTitle();

    const QString folder = WorkPath("locked");
    QDir().mkpath(folder);
    WriteText(folder + "/g.playgrp", "old.raw\n");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QFile::setPermissions(folder + "/g.playgrp", QFile::ReadOwner);
    // Whoever may write anyway (the superuser) meets a place nobody may create files in.
    QFile probe(folder + "/probe");
    const bool folderWritable = probe.open(QIODevice::WriteOnly);
    probe.remove();
    const QString target =
        folderWritable ? QStringLiteral("/proc/reelmark/g.playgrp") : folder + "/g.playgrp";

    EXPECT_FALSE(group->WritePlayGroupFile(target));
    EXPECT_TRUE(group->IsModified());
    EXPECT_EQ(group->GetTitle(), title);
    EXPECT_TRUE(group->GetPathName().isEmpty());
    EXPECT_EQ(ReadAll(folder + "/g.playgrp"), "old.raw\n");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, AnExistingFileIsReplacedWithoutAQuestion) {
    WriteText(WorkPath("g.playgrp"), "old.raw\nolder.raw\n");
    CMeasurementFormDoc* group = NewGroup();
    AddEntries(group, {WorkPath("a.raw")}, {});
    ASSERT_TRUE(group->WritePlayGroupFile(WorkPath("g.playgrp")));
    EXPECT_EQ(ReadAll(WorkPath("g.playgrp")), "a.raw\n");
    EXPECT_TRUE(Prompter().Prompts().empty());
    group->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, AWindowsWrittenFileLoadsHere) {
    const QString groups = WorkPath("proj/groups");
    QDir().mkpath(groups);
    ASSERT_TRUE(QFile::copy(TestData("windows.playgrp"), groups + "/w.playgrp"));
    WriteText(groups + "/clips/a.raw", "x");
    WriteText(WorkPath("proj/shared/b.raw"), "x");
    WriteText(groups + "/clips/c.mdat", "x");

    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->ReadPlayGroupFile(groups + "/w.playgrp", 0));
    // The line with another drive, the empty line and the missing file are dropped.
    EXPECT_EQ(group->GetPendingList(),
              (QStringList{groups + "/clips/a.raw", WorkPath("proj/shared/b.raw"),
                           groups + "/clips/c.mdat"}));
    group->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, PathsAreUtf8WhenTheyCanBeAndWindows1252Otherwise) {
    const QString groups = WorkPath("groups");
    const QString member = QStringLiteral("Mess\u00B01.avi");
    WriteText(groups + "/" + member, "x");
    struct Case {
        const char* name;
        QByteArray line;
    };
    const Case cases[] = {
        {"utf8.playgrp",
         "Mess\xC2\xB0"
         "1.avi\r\n"},
        {"windows1252.playgrp",
         "Mess\xB0"
         "1.avi\r\n"},
    };
    for (const Case& c : cases) {
        WriteText(groups + "/" + c.name, c.line);
        CMeasurementFormDoc* group = NewGroup();
        ASSERT_TRUE(group->ReadPlayGroupFile(groups + "/" + c.name, 0)) << c.name;
        EXPECT_EQ(group->GetPendingList(), QStringList{groups + "/" + member}) << c.name;
        group->OnCloseDocument();
    }
}

TEST_F(PlayGroupFileTest, TheExtensionIsComparedWholeAndWithoutCase) {
    WriteVideo(WorkPath("a.raw"));
    const struct {
        const char* name;
        bool accepted;
    } cases[] = {
        {"x.playgrp", true}, {"x.PLAYGRP", true},   {"x.PlayGrp", true}, {"x.play", false},
        {"x.grp", false},    {"x.playgrpx", false}, {"x", false},        {"x.playgrp.txt", false},
    };
    CMeasurementFormDoc* group = NewGroup();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteText(WorkPath(c.name), "a.raw\n");
        EXPECT_EQ(group->ReadPlayGroupFile(WorkPath(c.name), 0) != FALSE, c.accepted);
        EXPECT_EQ(group->GetPendingList().size(), c.accepted ? 1 : 0);
        group->OpenPendingFiles();
    }
    group->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, AMovedFolderTreeKeepsItsRelativeGroup) {
    SetIntSetting("Other:PGRelativeDefault", 1);
    SetIntSetting("AppBehave:bOpenSimilarlyNamed", 0);
    const QString before = WorkPath("before");
    WriteVideo(before + "/clips/a.raw");
    WriteVideo(before + "/groups/b.raw");
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(before + "/clips/a.raw", 0, 0, nullptr, nullptr));
    ASSERT_TRUE(group->AddPlaybackFromFile(before + "/groups/b.raw", 0, 0, nullptr, nullptr));
    ASSERT_TRUE(group->WritePlayGroupFile(before + "/groups/g.playgrp"));
    group->OnCloseDocument();

    const QString after = WorkPath("moved/elsewhere");
    QDir().mkpath(WorkPath("moved"));
    ASSERT_TRUE(QDir().rename(before, after));
    CMeasurementFormDoc* reloaded = NewGroup();
    reloaded->SetPendingPath(after + "/groups/g.playgrp");
    reloaded->LoadPlayGroup(0);
    EXPECT_EQ(MemberPaths(reloaded),
              (QStringList{after + "/clips/a.raw", after + "/groups/b.raw"}));
    EXPECT_EQ(MemberFrames().size(), 2u);
    EXPECT_FALSE(reloaded->IsModified());
    reloaded->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, MissingLinesAreDroppedAndAnEmptyGroupFileAddsNothing) {
    WriteVideo(WorkPath("a.raw"));
    WriteText(WorkPath("g.playgrp"), "gone.raw\na.raw\nalso-gone.raw\n");
    WriteText(WorkPath("empty.playgrp"), "gone.raw\n");
    CMeasurementFormDoc* group = NewGroup();
    group->SetPendingPath(WorkPath("g.playgrp"));
    group->LoadPlayGroup(0);
    EXPECT_EQ(MemberPaths(group), QStringList{WorkPath("a.raw")});

    // No line survives: the path itself is tried as a playback, and a group path adds nothing.
    CMeasurementFormDoc* empty = NewGroup();
    empty->SetPendingPath(WorkPath("empty.playgrp"));
    empty->LoadPlayGroup(0);
    EXPECT_EQ(empty->GetVideoCount() + empty->GetDataCount(), 0);
    EXPECT_TRUE(Prompter().Prompts().empty());
    group->OnCloseDocument();
    empty->OnCloseDocument();
}

TEST_F(PlayGroupFileTest, AGroupThatListsItselfOpensItsMembersOnce) {
    WriteVideo(WorkPath("a.raw"));
    WriteText(WorkPath("g.playgrp"), "a.raw\ng.playgrp\nh.playgrp\n");
    WriteText(WorkPath("h.playgrp"), "g.playgrp\n");
    CMeasurementFormDoc* group = NewGroup();
    group->SetPendingPath(WorkPath("g.playgrp"));
    group->LoadPlayGroup(0);
    // g opens a; its h lists g again, which is refused while g is being opened.
    EXPECT_EQ(MemberPaths(group), QStringList{WorkPath("a.raw")});
    group->OnCloseDocument();
}

}  // namespace
