#include "tracking/sectioned/StoredString.h"

#include "TestFiles.h"
#include "testsupport/IsolatedTest.h"

#include <optional>

class StoredStringTest : public IsolatedTest {
protected:
    QString MakeFile(const QByteArray& bytes) {
        const QString path = WorkPath("strings.bin");
        WriteFileBytes(path, bytes);
        return path;
    }
};

TEST_F(StoredStringTest, WritesLengthWordTextAndZeroByte) {
    struct Case {
        QString text;
        QByteArray expected;
    };
    const Case cases[] = {
        {"!SECTION=CI!", Bytes().Int32(13).Raw("!SECTION=CI!").Raw(QByteArray(1, '\0')).Get()},
        {"", QByteArray("\x01\0\0\0\0", 5)},
        {QString(QChar(0x00B0)) + "C", QByteArray("\x03\0\0\0\xB0"
                                                  "C\0",
                                                  7)},
        {QString("ab") + QChar(0) + "cd", QByteArray("\x03\0\0\0"
                                                     "ab\0",
                                                     7)},
    };
    for (const auto& c : cases) {
        const QString path = WorkPath("out.bin");
        {
            CFile f(path, CFile::modeCreate | CFile::modeWrite);
            WriteStringToFile(f, c.text);
        }
        EXPECT_EQ(ReadFileBytes(path), c.expected) << c.text.toStdString();
    }
}

TEST_F(StoredStringTest, UnboundedSearchFindsFirstTextWithZeroByte) {
    const QByteArray big(200000, 'x');
    struct Case {
        const char* name;
        QByteArray file;
        QString text;
        std::optional<int64_t> offset;
    };
    const Case cases[] = {
        {"first of two", Bytes().Raw("zz").Stored("FO").Stored("FO").Get(), "FO", 6},
        {"only as a prefix", Bytes().Stored("!SECTION=FO_LIST").Get(), "!SECTION=FO", {}},
        {"text ends the file", QByteArray("abcFO"), "FO", {}},
        {"zero byte ends the file", QByteArray("abcFO", 6), "FO", 3},
        {"empty text: first zero byte", QByteArray("ab\0c", 4), "", 2},
        {"empty file", QByteArray(), "FO", {}},
        {"across a window edge", big.left(65535) + QByteArray("FO", 3) + big, "FO", 65535},
        {"after a window edge", big.left(65537) + QByteArray("FO", 3), "FO", 65537},
        {"late in a large file", big + big + QByteArray("FO", 3) + "tail", "FO", 400000},
    };
    for (const auto& c : cases) {
        CFile f(MakeFile(c.file), CFile::modeRead);
        f.Seek(1, CFile::begin);
        int64_t offset = -7;
        const bool found = FindBinaryStoredStringInFile(f, c.text, &offset);
        EXPECT_EQ(found, c.offset.has_value()) << c.name;
        if (c.offset) {
            EXPECT_EQ(offset, *c.offset) << c.name;
            EXPECT_EQ(f.GetPosition(), 1u) << c.name << ": position restored";
        } else {
            EXPECT_EQ(offset, -7) << c.name << ": offset untouched";
            EXPECT_EQ(f.GetPosition(), f.GetLength()) << c.name;
        }
    }
}

TEST_F(StoredStringTest, BoundedSearchNeedsNoZeroByteAndStopsAfterBound) {
    QByteArray riff(6000, 'r');
    riff.replace(5000, 4, "AVIF");
    QByteArray early(200, 'r');
    early.replace(100, 5, "AVIFx");
    struct Case {
        const char* name;
        QByteArray file;
        int64_t bound;
        std::optional<int64_t> offset;
    };
    const Case cases[] = {
        {"match within the bound", early, 3000, 100},
        {"no match, file ends before the bound", QByteArray(200, 'r'), 3000, {}},
        {"first match beyond the bound", riff, 3000, 3001},
        {"match right after the bound", riff, 4999, 5000},
        {"text is the last bytes", QByteArray(10, 'r') + "AVIF", 3000, {}},
        {"bound below -1 tries nothing", early, -2, {}},
    };
    for (const auto& c : cases) {
        CFile f(MakeFile(c.file), CFile::modeRead);
        int64_t offset = -7;
        const bool found = FindBinaryStoredStringInFile(f, "AVIF", c.bound, &offset);
        EXPECT_EQ(found, c.offset.has_value()) << c.name;
        if (c.offset) {
            EXPECT_EQ(offset, *c.offset) << c.name;
            EXPECT_EQ(f.GetPosition(), 0u) << c.name;
        }
    }
}

TEST_F(StoredStringTest, ReadStringFromFileAcceptsOnlyWellFormedStrings) {
    struct Case {
        const char* name;
        QByteArray file;
        bool ok;
        QString out;  // "keep" marks an output left unchanged.
        uint64_t position;
    };
    const Case cases[] = {
        {"plain", Bytes().Stored("FO").Raw("zz").Get(), true, "FO", 7},
        {"empty text", Bytes().Stored("").Get(), true, "", 5},
        {"zero length", Bytes().Int32(0).Raw("ab").Get(), false, "", 4},
        {"inner zero byte", Bytes().Int32(6).Raw(QByteArray("ab\0cd\0", 6)).Get(), false, "", 10},
        {"no zero byte", Bytes().Int32(2).Raw("ab").Get(), false, "", 6},
        {"short length word", QByteArray("\x02\0", 2), false, "", 2},
        {"empty file", QByteArray(), false, "", 0},
        {"length beyond the file", Bytes().Int32(100).Raw("ab").Get(), false, "keep", 4},
        {"negative length", Bytes().Int32(-5).Raw("ab").Get(), false, "keep", 4},
        {"length beyond what is left", Bytes().Int32(5).Raw("ab").Get(), false, "", 6},
    };
    for (const auto& c : cases) {
        CFile f(MakeFile(c.file), CFile::modeRead);
        QString out = "keep";
        EXPECT_EQ(ReadStringFromFile(f, out), c.ok) << c.name;
        EXPECT_EQ(out, c.out) << c.name;
        EXPECT_EQ(f.GetPosition(), c.position) << c.name;
    }
}

TEST_F(StoredStringTest, ReadAndCompareMatchesExactly) {
    struct Case {
        const char* name;
        QByteArray file;
        bool ok;
        QString out;
        uint64_t position;
    };
    const QString expected = "?SECTION=FO_LIST";
    const Case cases[] = {
        {"same marker", Bytes().Stored("?SECTION=FO_LIST").Get(), true, expected, 21},
        {"other marker, same length", Bytes().Stored("?SECTION=FR_LIST").Get(), false,
         "?SECTION=FR_LIST", 21},
        {"case differs", Bytes().Stored("?section=FO_LIST").Get(), false, "?section=FO_LIST", 21},
        {"other length: body not read", Bytes().Stored("?SECTION=FO_ITEMS").Get(), false, "", 4},
        {"body cut short", Bytes().Stored("?SECTION=FO_LIST").Get().left(12), false, "?SECTION",
         12},
        {"short length word", QByteArray("\x11", 1), false, "", 1},
    };
    for (const auto& c : cases) {
        CFile f(MakeFile(c.file), CFile::modeRead);
        QString out = "keep";
        EXPECT_EQ(ReadStringFromFileAndCompare(f, out, expected), c.ok) << c.name;
        EXPECT_EQ(out, c.out) << c.name;
        EXPECT_EQ(f.GetPosition(), c.position) << c.name;
    }
}

TEST_F(StoredStringTest, WrittenStringsReadBack) {
    const QString path = WorkPath("round.bin");
    const QString texts[] = {"", "a", "!SECTION=TS_SECONDARYITEM", QString(300, QChar(0x00E9))};
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        for (const auto& t : texts)
            WriteStringToFile(f, t);
    }
    CFile f(path, CFile::modeRead);
    for (const auto& t : texts) {
        QString out;
        EXPECT_TRUE(ReadStringFromFile(f, out));
        EXPECT_EQ(out, t);
    }
}
