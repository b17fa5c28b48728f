#include "platform/framework/File.h"

#include "testsupport/IsolatedTest.h"

#include <QFile>

class FileTest : public IsolatedTest {};

TEST_F(FileTest, WriteSeekReadRoundTrip) {
    const QString path = WorkPath("data.bin");
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write("abcdef", 6);
        EXPECT_EQ(f.GetLength(), 6u);
        f.Close();
    }
    CFile f(path, CFile::modeRead);
    EXPECT_EQ(f.Seek(2, CFile::begin), 2u);
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 8), 4u);  // Short read at the end, no exception.
    EXPECT_STREQ(buf, "cdef");
    EXPECT_EQ(f.Seek(-1, CFile::end), 5u);
    EXPECT_EQ(f.Read(buf, 1), 1u);
    EXPECT_EQ(buf[0], 'f');
    EXPECT_EQ(f.GetFileName(), QString("data.bin"));
    EXPECT_EQ(f.GetFileTitle(), QString("data"));
}

TEST_F(FileTest, OpenFailuresReportCause) {
    struct Case {
        QString path;
        UINT flags;
        int cause;
    };
    const Case cases[] = {
        {WorkPath("missing.bin"), CFile::modeRead, CFileException::fileNotFound},
        {WorkPath("missing.bin"), CFile::modeWrite, CFileException::fileNotFound},
        {WorkPath("no/such/dir/x.bin"), CFile::modeCreate | CFile::modeWrite,
         CFileException::badPath},
    };
    for (const auto& c : cases) {
        CFile f;
        CFileException error;
        EXPECT_FALSE(f.Open(c.path, c.flags, &error)) << c.path.toStdString();
        EXPECT_EQ(error.m_cause, c.cause) << c.path.toStdString();
        EXPECT_FALSE(QFile::exists(c.path));
    }
}

TEST_F(FileTest, ConstructorThrowsAndBadSeekThrows) {
    EXPECT_THROW(CFile(WorkPath("missing.bin"), CFile::modeRead), CFileException);
    CFile f(WorkPath("x.bin"), CFile::modeCreate | CFile::modeReadWrite);
    try {
        f.Seek(-5, CFile::begin);
        FAIL() << "seek before the start must throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
        EXPECT_FALSE(e.ErrorMessage().isEmpty());
    }
}

TEST_F(FileTest, NoTruncateKeepsContent) {
    const QString path = WorkPath("keep.bin");
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write("1234", 4);
    }
    CFile f(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(f.GetLength(), 4u);
}
