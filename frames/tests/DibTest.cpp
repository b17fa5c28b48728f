#include "frames/Dib.h"

#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/wintypes/WinMessages.h"

#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

void Put32(QByteArray& b, int at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<char>(v >> (8 * i));
}

void Put16(QByteArray& b, int at, uint16_t v) {
    b[at] = static_cast<char>(v);
    b[at + 1] = static_cast<char>(v >> 8);
}

// A BMP file: file header, a header of headerSize bytes, optional masks, colour table, pixels.
struct BmpSpec {
    int headerSize = 40;
    int32_t width = 3;
    int32_t height = 2;
    int bitCount = 8;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    int colours = 256;
    std::vector<uint32_t> masks;
    int pixelBytes = -1;  // -1: exactly what the size needs
    int64_t offsetDelta = 0;
};

QByteArray MakeBmp(const BmpSpec& s) {
    const int tableAt = 14 + s.headerSize + static_cast<int>(4 * s.masks.size());
    const int offBits = tableAt + 4 * s.colours;
    const int rowBytes = ((s.width * s.bitCount + 31) / 32) * 4;
    const int64_t rows = s.height < 0 ? -int64_t{s.height} : s.height;
    const int pixels = s.pixelBytes >= 0 ? s.pixelBytes : static_cast<int>(rowBytes * rows);
    QByteArray b(offBits + pixels, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 10, static_cast<uint32_t>(offBits + s.offsetDelta));
    Put32(b, 14, static_cast<uint32_t>(s.headerSize));
    Put32(b, 18, static_cast<uint32_t>(s.width));
    Put32(b, 22, static_cast<uint32_t>(s.height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint16_t>(s.bitCount));
    Put32(b, 30, s.compression);
    Put32(b, 46, s.clrUsed);
    for (size_t i = 0; i < s.masks.size(); ++i)
        Put32(b, 14 + s.headerSize + 4 * static_cast<int>(i), s.masks[i]);
    for (int i = 0; i < s.colours; ++i) {
        b[tableAt + 4 * i] = static_cast<char>(i);
        b[tableAt + 4 * i + 1] = static_cast<char>(255 - i);
        b[tableAt + 4 * i + 2] = static_cast<char>(i / 2);
    }
    for (int i = 0; i < pixels; ++i)
        b[offBits + i] = static_cast<char>(i * 7 + 1);
    return b;
}

}  // namespace

class DibTest : public IsolatedTest {
protected:
    QString Write(const QByteArray& bytes) {
        const QString path = WorkPath("t.bmp");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    bool Read(const QByteArray& bytes, CDib& dib) {
        CFile file(Write(bytes), CFile::modeRead);
        return dib.ReadBmp(file);
    }
    QByteArray WriteDib(const CDib& dib) {
        const QString path = WorkPath("out.bmp");
        {
            CFile file(path, CFile::modeCreate | CFile::modeWrite);
            dib.WriteBmp(file);
        }
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

TEST_F(DibTest, CreateLayouts) {
    CDib dib;
    const BYTE packed[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(dib.Create(packed, 3, 2, 8));
    EXPECT_EQ(dib.GetImageSize(), 8u);  // rows of 4 bytes
    const std::vector<BYTE> bits(dib.GetBits(), dib.GetBits() + 8);
    EXPECT_EQ(bits, (std::vector<BYTE>{1, 2, 3, 0, 4, 5, 6, 0}));
    ASSERT_EQ(dib.GetColourCount(), 256);
    EXPECT_EQ(dib.GetColourTable()[200].rgbGreen, 200);
    EXPECT_EQ(dib.GetHeader()->biSizeImage, 8u);
    CSize size;
    dib.GetSize(&size);
    EXPECT_EQ(size, CSize(3, 2));

    ASSERT_TRUE(dib.Create(nullptr, 9, 1, 1));
    ASSERT_EQ(dib.GetColourCount(), 2);
    EXPECT_EQ(dib.GetColourTable()[1].rgbRed, 1);
    EXPECT_EQ(dib.GetColourTable()[0].rgbRed, 0);
    EXPECT_EQ(dib.GetImageSize(), 4u);

    ASSERT_TRUE(dib.Create24(nullptr, 5, 3));
    EXPECT_EQ(dib.GetColourCount(), 0);
    EXPECT_EQ(dib.GetImageSize(), 16u * 3);

    EXPECT_FALSE(dib.Create(nullptr, 0, 3, 8));
    EXPECT_FALSE(dib.Create(nullptr, 3, 3, 12));
    EXPECT_FALSE(dib.Create(nullptr, 1 << 20, 1 << 20, 32));
    dib.GetSize(&size);
    EXPECT_EQ(size, CSize(0, 0));
}

TEST_F(DibTest, CopyAndAttach) {
    CDib empty;
    CDib target;
    const BYTE packed[3] = {7, 8, 9};
    target.Create(packed, 3, 1, 8);
    EXPECT_FALSE(target.Copy(empty));
    EXPECT_EQ(target.GetBits()[2], 9);  // unchanged

    CDib copy;
    ASSERT_TRUE(copy.Copy(target));
    EXPECT_NE(copy.GetBits(), target.GetBits());
    EXPECT_EQ(copy.GetBits()[1], 8);
    EXPECT_EQ(copy.GetColourCount(), 256);

    // A packed DIB block: header, colour table, bits, borrowed.
    std::vector<BYTE> block(40 + 4 * 256 + 4, 0);
    auto* header = new (block.data()) BITMAPINFOHEADER;
    header->biWidth = 2;
    header->biHeight = 1;
    header->biBitCount = 8;
    block[40 + 4 * 256] = 42;
    CDib borrowed;
    ASSERT_TRUE(borrowed.Attach(header, false));
    EXPECT_EQ(borrowed.GetBits()[0], 42);
    EXPECT_EQ(borrowed.GetImageSize(), 4u);
    EXPECT_FALSE(borrowed.Attach(nullptr, false));
}

TEST_F(DibTest, BmpRoundTrips) {
    struct Case {
        int width;
        int height;
        int bitCount;
    };
    for (const Case c : {Case{3, 2, 8}, Case{5, 3, 24}, Case{1, 1, 24}, Case{7, 2, 16},
                         Case{3, 3, 32}, Case{13, 2, 1}}) {
        CDib dib;
        ASSERT_TRUE(dib.Create(nullptr, c.width, c.height, c.bitCount));
        for (DWORD i = 0; i < dib.GetImageSize(); ++i)
            dib.GetBits()[i] = static_cast<BYTE>(i * 13 + 5);
        for (int i = 0; i < dib.GetColourCount(); ++i)
            dib.GetColourTable()[i] = {static_cast<BYTE>(i), 3, static_cast<BYTE>(255 - i), 0};

        const QByteArray bytes = WriteDib(dib);
        const int colours = dib.GetColourCount();
        ASSERT_EQ(bytes.size(), 14 + 40 + 4 * colours + static_cast<int>(dib.GetImageSize()));
        EXPECT_EQ(bytes.left(2), "BM");
        EXPECT_EQ(bytes.mid(2, 8), QByteArray(8, 0)) << "file size and reserved words are 0";
        EXPECT_EQ(static_cast<BYTE>(bytes[10]) | (static_cast<BYTE>(bytes[11]) << 8),
                  54 + 4 * colours);

        CDib back;
        ASSERT_TRUE(Read(bytes, back)) << c.width << "x" << c.height << "x" << c.bitCount;
        CSize size;
        back.GetSize(&size);
        EXPECT_EQ(size, CSize(c.width, c.height));
        ASSERT_EQ(back.GetImageSize(), dib.GetImageSize());
        EXPECT_EQ(0, std::memcmp(back.GetBits(), dib.GetBits(), dib.GetImageSize()));
        ASSERT_EQ(back.GetColourCount(), colours);
        if (colours > 2) {
            EXPECT_EQ(back.GetColourTable()[2].rgbRed, 253);
        }
        EXPECT_EQ(WriteDib(back), bytes) << "written again byte for byte";
    }
}

TEST_F(DibTest, SerializesThroughAnArchive) {
    CDib dib;
    const BYTE packed[6] = {10, 20, 30, 40, 50, 60};
    dib.Create(packed, 1, 2, 24);
    const QString path = WorkPath("a.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << 0x12345678;
        dib.Serialize(ar);
        ar << 0x0BADF00D;
        ar.Close();
    }
    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    int before = 0;
    int after = 0;
    ar >> before;
    CDib back;
    back.Serialize(ar);
    ar >> after;
    EXPECT_EQ(before, 0x12345678);
    EXPECT_EQ(after, 0x0BADF00D);
    ASSERT_NE(back.GetBits(), nullptr);
    EXPECT_EQ(back.GetBits()[5], 50);  // second row starts at byte 4
}

TEST_F(DibTest, AcceptedHeaderVariants) {
    // Top-down rows come back bottom-up with a positive height.
    BmpSpec topDown;
    topDown.height = -2;
    CDib dib;
    ASSERT_TRUE(Read(MakeBmp(topDown), dib));
    EXPECT_EQ(dib.GetHeader()->biHeight, 2);
    EXPECT_EQ(dib.GetBits()[0], static_cast<BYTE>(4 * 7 + 1));  // first byte of the last row
    EXPECT_EQ(dib.GetBits()[4], 1);

    BmpSpec v5;
    v5.headerSize = 124;
    ASSERT_TRUE(Read(MakeBmp(v5), dib));
    EXPECT_EQ(dib.GetColourTable()[3].rgbGreen, 252);  // the table behind the larger header
    EXPECT_EQ(dib.GetHeader()->biSize, 40u);

    BmpSpec fields;
    fields.bitCount = 16;
    fields.colours = 0;
    fields.compression = BI_BITFIELDS;
    fields.masks = {0x7C00, 0x03E0, 0x001F};
    ASSERT_TRUE(Read(MakeBmp(fields), dib));
    EXPECT_EQ(dib.GetHeader()->biCompression, BI_RGB);
    EXPECT_EQ(dib.GetBits()[0], 1);

    BmpSpec fewColours;
    fewColours.clrUsed = 4;
    fewColours.colours = 4;
    ASSERT_TRUE(Read(MakeBmp(fewColours), dib));
    EXPECT_EQ(dib.GetColourCount(), 4);
}

TEST_F(DibTest, DamagedHeadersAreRefused) {
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const auto with = [](auto change) {
        BmpSpec s;
        change(s);
        return MakeBmp(s);
    };
    const QByteArray good = MakeBmp(BmpSpec());
    QByteArray badMagic = good;
    badMagic[1] = 'X';
    QByteArray hugeOffset = good;
    Put32(hugeOffset, 10, 0xFFFFFFF0u);
    QByteArray tinyOffset = good;
    Put32(tinyOffset, 10, 20);
    QByteArray hugeClrUsed = good;
    Put32(hugeClrUsed, 46, 0x40000000u);
    QByteArray hugeDims = good;
    Put32(hugeDims, 18, 0x7FFFFFFFu);
    Put32(hugeDims, 22, 0x7FFFFFFFu);
    QByteArray minHeight = good;
    Put32(minHeight, 22, 0x80000000u);
    const Case cases[] = {
        {"empty", QByteArray()},
        {"short file header", good.left(13)},
        {"wrong magic", badMagic},
        {"pixel offset beyond the file", hugeOffset},
        {"pixel offset inside the file header", tinyOffset},
        {"core header", with([](BmpSpec& s) { s.headerSize = 12; })},
        {"header larger than any version", with([](BmpSpec& s) { s.headerSize = 200; })},
        {"zero width", with([](BmpSpec& s) { s.width = 0; })},
        {"negative width", with([](BmpSpec& s) { s.width = -3; })},
        {"zero height", with([](BmpSpec& s) { s.height = 0; })},
        {"most negative height", minHeight},
        {"odd depth", with([](BmpSpec& s) { s.bitCount = 7; })},
        {"run-length data", with([](BmpSpec& s) { s.compression = BI_RLE8; })},
        {"unusual bit fields", with([](BmpSpec& s) {
             s.bitCount = 16;
             s.colours = 0;
             s.compression = BI_BITFIELDS;
             s.masks = {0xF800, 0x07E0, 0x001F};
         })},
        {"colour count beyond 256", hugeClrUsed},
        {"colour table overlapping the pixels", with([](BmpSpec& s) {
             s.clrUsed = 200;
             s.colours = 100;
         })},
        {"dimensions beyond the file", hugeDims},
        {"truncated pixels", with([](BmpSpec& s) { s.pixelBytes = 5; })},
    };
    for (const auto& c : cases) {
        CDib dib;
        dib.Create(nullptr, 2, 2, 8);
        Prompter().ExpectMessageBox("Read error", IDOK);
        EXPECT_FALSE(Read(c.bytes, dib)) << c.what;
        ASSERT_FALSE(Prompter().Prompts().empty());
        EXPECT_EQ(Prompter().Prompts().back().type, MB_OK) << c.what;
        EXPECT_EQ(dib.GetHeader(), nullptr) << c.what << ": left freed";
        EXPECT_EQ(dib.GetBits(), nullptr) << c.what;
    }
}

TEST_F(DibTest, ToRgb24) {
    CDib dib;
    const BYTE grey[2] = {9, 200};
    dib.Create(grey, 1, 2, 8);
    std::vector<BYTE> out(8, 0xEE);
    dib.ToRgb24(out.data(), true);
    EXPECT_EQ(out, (std::vector<BYTE>{9, 9, 9, 0xEE, 200, 200, 200, 0xEE}));

    const uint16_t px = (3 << 10) | (2 << 5) | 1;
    const BYTE packed16[2] = {static_cast<BYTE>(px), static_cast<BYTE>(px >> 8)};
    dib.Create(packed16, 1, 1, 16);
    out.assign(3, 0);
    dib.ToRgb24(out.data(), false);
    EXPECT_EQ(out, (std::vector<BYTE>{8, 16, 24}));

    const BYTE packed32[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    dib.Create(packed32, 2, 1, 32);
    out.assign(6, 0);
    dib.ToRgb24(out.data(), false);
    EXPECT_EQ(out, (std::vector<BYTE>{1, 2, 3, 5, 6, 7}));

    dib.Create(nullptr, 8, 1, 1);
    out.assign(4, 0xAA);
    dib.ToRgb24(out.data(), false);
    EXPECT_EQ(out, std::vector<BYTE>(4, 0xAA));  // 1-bit: nothing written
}
