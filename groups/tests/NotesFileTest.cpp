#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"

#include "testsupport/ScriptedPrompter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The expected bytes, built field by field.
struct Bytes {
    QByteArray data;
    Bytes& I(int32_t v) {
        for (int i = 0; i < 4; ++i)
            data.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xff));
        return *this;
    }
    Bytes& S(const QByteArray& text) {
        I(static_cast<int32_t>(text.size() + 1));
        data.append(text);
        data.append('\0');
        return *this;
    }
};

Bytes Head() {
    Bytes b;
    b.I(1).S("Vidra Binary File 1.");
    return b;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class NotesFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
};

TEST_F(NotesFileTest, EmptyVideoWritesListAndGlobalSectionsOnly) {
    CRecordingNotes notes;
    notes.ResetAll(10, 0);
    ASSERT_TRUE(CNotesFile().SaveNotes(Path("take.avi"), notes, 3));
    Bytes b = Head();
    b.S("!SECTION=FRAMENOTES_LIST").I(1).I(10).I(0).I(0).S("?SECTION=FRAMENOTES_LIST");
    b.S("!SECTION=GLOBALNOTES!").I(0).S("?SECTION=GLOBALNOTES?");
    EXPECT_EQ(ReadAll(Path("take.ntv")), b.data);
    EXPECT_FALSE(QFile::exists(Path("take.ntv.saving")));
}

TEST_F(NotesFileTest, NotedFramesAreWrittenAsItemsAndReadBack) {
    CRecordingNotes notes;
    notes.ResetAll(10, 0);
    notes.SetFrameNote(9, "nine");
    notes.SetFrameNote(2, "two");
    notes.SetFrameNote(5, "five");
    notes.SetGlobalNote("whole run");
    ASSERT_TRUE(notes.IsModified());
    ASSERT_TRUE(CNotesFile().SaveNotes(Path("take.avi"), notes, 3));
    EXPECT_FALSE(notes.IsModified());

    Bytes b = Head();
    b.S("!SECTION=FRAMENOTES_LIST").I(1).I(10).I(3).I(3).S("!SECTION=FRAMENOTES_ITEMS");
    b.I(2).I(0).S("two").I(5).I(0).S("five").I(9).I(0).S("nine");
    b.I(-1).I(-1).S("No0Comments0").S("?SECTION=FRAMENOTES_ITEMS").S("?SECTION=FRAMENOTES_LIST");
    b.S("!SECTION=GLOBALNOTES!").I(1).S("whole run").S("?SECTION=GLOBALNOTES?");
    EXPECT_EQ(ReadAll(Path("take.ntv")), b.data);

    CRecordingNotes back;
    back.ResetAll(10, 0);
    CNotesFile().ReadVideoNotes(Path("take.avi"), back, 10);
    QString text;
    for (auto [frame, expected] : {std::pair{2, "two"}, {5, "five"}, {9, "nine"}}) {
        ASSERT_TRUE(back.GetFrameNote(frame, &text)) << frame;
        EXPECT_EQ(text, expected);
    }
    EXPECT_FALSE(back.GetFrameNote(3, &text));
    back.GetGlobalNote(&text);
    EXPECT_EQ(text, "whole run");
    EXPECT_FALSE(back.IsModified());
}

TEST_F(NotesFileTest, RangeWithStepNumbersVisits) {
    CRecordingNotes notes;
    notes.ResetAll(0, 20);
    notes.SetDataNote(4, "four");
    notes.SetDataNote(5, "five");
    notes.SetDataNote(10, "ten");
    ASSERT_TRUE(CNotesFile().WriteNotes(Path("run.mdat"), notes, 2, 4, 12, 2));
    EXPECT_TRUE(notes.IsModified());
    // Visits 4, 7, 10: three positions, two of them noted.
    Bytes b = Head();
    b.S("!SECTION=DATANOTES_LIST").I(1).I(3).I(2).I(2).S("!SECTION=DATANOTES_ITEMS");
    b.I(0).I(0).S("four").I(2).I(0).S("ten");
    b.I(-1).I(-1).S("No0Comments0").S("?SECTION=DATANOTES_ITEMS").S("?SECTION=DATANOTES_LIST");
    b.S("!SECTION=GLOBALNOTES!").I(0).S("?SECTION=GLOBALNOTES?");
    EXPECT_EQ(ReadAll(Path("run.ntd")), b.data);
}

TEST_F(NotesFileTest, SidePaths) {
    const struct {
        const char* recording;
        const char* extension;
        const char* side;
    } cases[] = {
        {"/d/run_0001.tif", "ntv", "/d/run.ntv"}, {"/d/run0001.tif", "ntv", "/d/run0001.ntv"},
        {"/d/shot-12.JPG", "ntv", "/d/shot.ntv"}, {"/d/take.avi", "ntv", "/d/take.ntv"},
        {"/d/data.mdat", "ntd", "/d/data.ntd"},   {"/d/noext", "au3", "/d/noext.au3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CNotesFile::SidePath(c.recording, c.extension), c.side) << c.recording;
}

TEST_F(NotesFileTest, SectionsInAnyOrderAndAu3Fallback) {
    Bytes b = Head();
    b.S("!SECTION=GLOBALNOTES!").I(1).S("g").S("?SECTION=GLOBALNOTES?");
    // Items out of order and one repeated: texts stay with their frames.
    b.S("!SECTION=FRAMENOTES_LIST").I(1).I(8).I(3).I(3).S("!SECTION=FRAMENOTES_ITEMS");
    b.I(6).I(0).S("six").I(1).I(0).S("one").I(6).I(0).S("six again");
    b.I(-1).I(-1).S("No0Comments0");
    WriteAll(Path("clip.au3"), b.data);

    CRecordingNotes notes;
    notes.ResetAll(8, 0);
    CNotesFile().ReadVideoNotes(Path("clip.avi"), notes, 8);
    QString text;
    ASSERT_TRUE(notes.GetFrameNote(1, &text));
    EXPECT_EQ(text, "one");
    ASSERT_TRUE(notes.GetFrameNote(6, &text));
    EXPECT_EQ(text, "six again");
    EXPECT_EQ(notes.FrameSet().CountSet(), 2);
    notes.GetGlobalNote(&text);
    EXPECT_EQ(text, "g");

    // The side file of the recording's own kind wins over the stand-in.
    CRecordingNotes own;
    own.ResetAll(8, 0);
    own.SetGlobalNote("own");
    ASSERT_TRUE(CNotesFile().SaveNotes(Path("clip.avi"), own, 3));
    CRecordingNotes again;
    again.ResetAll(8, 0);
    CNotesFile().ReadVideoNotes(Path("clip.avi"), again, 8);
    again.GetGlobalNote(&text);
    EXPECT_EQ(text, "own");
    EXPECT_EQ(again.FrameSet().CountSet(), 0);
}

TEST_F(NotesFileTest, CountMismatchKeepsNotesInsideTheRecording) {
    CRecordingNotes notes;
    notes.ResetAll(100, 0);
    notes.SetFrameNote(3, "early");
    notes.SetFrameNote(99, "late");
    notes.SetGlobalNote("kept");
    ASSERT_TRUE(CNotesFile().SaveNotes(Path("v.avi"), notes, 3));

    const struct {
        int frameCount;
        int expectedNotes;
    } cases[] = {{120, 2}, {50, 1}, {100, 2}};
    for (const auto& c : cases) {
        CRecordingNotes back;
        back.ResetAll(c.frameCount, 0);
        CNotesFile().ReadVideoNotes(Path("v.avi"), back, c.frameCount);
        EXPECT_EQ(back.FrameSet().GetSize(), c.frameCount);
        EXPECT_EQ(back.FrameSet().CountSet(), c.expectedNotes) << c.frameCount;
        QString text;
        ASSERT_TRUE(back.GetFrameNote(3, &text));
        EXPECT_EQ(text, "early");
        back.GetGlobalNote(&text);
        EXPECT_EQ(text, "kept");
    }
}

TEST_F(NotesFileTest, DataNotesKeepALargerStoredSet) {
    CRecordingNotes notes;
    notes.ResetAll(4, 40);
    notes.SetDataNote(30, "late scan");
    ASSERT_TRUE(CNotesFile().SaveNotes(Path("d.mdat"), notes, 2));
    CRecordingNotes back;
    back.ResetAll(2, 20);
    CNotesFile().ReadDataNotes(Path("d.mdat"), back, 2, 20);
    EXPECT_EQ(back.DataSet().GetSize(), 40);
    QString text;
    ASSERT_TRUE(back.GetDataNote(30, &text));
    EXPECT_EQ(text, "late scan");
    // No frame section in a data side file: frame notes sized to the recording.
    EXPECT_EQ(back.FrameSet().GetSize(), 2);
}

TEST_F(NotesFileTest, UnwritableSideFileKeepsModifiedAndOldFile) {
    CRecordingNotes notes;
    notes.ResetAll(5, 0);
    notes.SetGlobalNote("x");
    m_prompter.ExpectMessageBox("Could not create binary file.", IDOK);
    EXPECT_FALSE(CNotesFile().SaveNotes(Path("missing/folder/take.avi"), notes, 3));
    EXPECT_TRUE(notes.IsModified());
    ASSERT_EQ(m_prompter.Prompts().size(), 1u);
}

TEST_F(NotesFileTest, BadFilesLeaveTheCallersState) {
    Bytes badVersion;
    badVersion.I(2).S("Vidra Binary File 2.");
    Bytes truncated = Head();
    truncated.S("!SECTION=FRAMENOTES_LIST").I(1).I(6).I(1).I(1).S("!SECTION=FRAMENOTES_ITEMS");
    truncated.I(2).I(0).I(1000);
    const QByteArray cases[] = {QByteArray(), QByteArray("\x01\x00", 2), badVersion.data,
                                truncated.data};
    for (const QByteArray& bytes : cases) {
        WriteAll(Path("b.ntv"), bytes);
        CRecordingNotes notes;
        notes.ResetAll(6, 0);
        notes.SetGlobalNote("caller");
        CNotesFile().ReadVideoNotes(Path("b.avi"), notes, 6);
        EXPECT_EQ(notes.FrameSet().GetSize(), 6);
        EXPECT_EQ(notes.FrameSet().CountSet(), 0);
        QString text;
        notes.GetGlobalNote(&text);
        EXPECT_EQ(text, "caller");
    }
}

TEST_F(NotesFileTest, MutatedFilesNeverBreakThePairing) {
    CRecordingNotes notes;
    notes.ResetAll(12, 0);
    for (int f : {0, 4, 7, 11})
        notes.SetFrameNote(f, QStringLiteral("note %1").arg(f));
    notes.SetGlobalNote("global");
    ASSERT_TRUE(CNotesFile().SaveNotes(Path("m.avi"), notes, 3));
    const QByteArray original = ReadAll(Path("m.ntv"));
    QRandomGenerator random(40);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = original;
        const int edits = 1 + random.bounded(4);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(static_cast<int>(bytes.size()));
            switch (random.bounded(3)) {
                case 0:
                    bytes[at] = static_cast<char>(random.bounded(256));
                    break;
                case 1:
                    bytes.truncate(at);
                    break;
                default:
                    bytes.insert(at, static_cast<char>(random.bounded(256)));
            }
            if (bytes.isEmpty())
                break;
        }
        WriteAll(Path("m.ntv"), bytes);
        CRecordingNotes back;
        back.ResetAll(12, 0);
        CNotesFile().ReadVideoNotes(Path("m.avi"), back, 12);
        ASSERT_EQ(back.FrameSet().GetSize(), 12);
        QString text;
        for (int f = 0; f < 12; ++f) {
            if (back.GetFrameNote(f, &text)) {
                ASSERT_FALSE(text.isEmpty()) << round;
            }
        }
    }
}

}  // namespace
