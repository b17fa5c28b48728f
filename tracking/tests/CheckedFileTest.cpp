#include "tracking/sectioned/CheckedFile.h"

#include "TestFiles.h"
#include "platform/framework/InvalidArgException.h"
#include "testsupport/IsolatedTest.h"

class CheckedFileTest : public IsolatedTest {};

TEST_F(CheckedFileTest, ReadLeavesPositionBehindDeliveredBytes) {
    const QString path = WorkPath("fifty.bin");
    WriteFileBytes(path, QByteArray(50, 'q'));
    struct Case {
        int64_t from;
        UINT count;
        UINT delivered;
    };
    const Case cases[] = {{20, 100, 30}, {0, 10, 10}, {50, 4, 0}, {49, 1, 1}};
    CCheckedFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeRead | CFile::typeBinary));
    for (const auto& c : cases) {
        char buffer[100];
        f.Seek(c.from, CFile::begin);
        EXPECT_EQ(f.Read(buffer, c.count), c.delivered) << c.from;
        EXPECT_EQ(f.GetPosition(), static_cast<uint64_t>(c.from) + c.delivered) << c.from;
    }
}

TEST_F(CheckedFileTest, NullPathIsRefusedAndClassRecordIsTheFiles) {
    CCheckedFile f;
    EXPECT_THROW(f.SetFilePath(QString()), CInvalidArgException);
    f.SetFilePath("movie.ntv");
    EXPECT_EQ(f.GetFilePath(), QString("movie.ntv"));
    EXPECT_EQ(f.GetRuntimeClass(), RUNTIME_CLASS(CFile));
}
