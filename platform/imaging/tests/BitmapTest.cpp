#include "platform/imaging/Bitmap.h"

#include "testsupport/IsolatedTest.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace imaging;

namespace {

int PixelBytes(PixelFormat format) {
    return GetPixelFormatSize(format) / 8;
}

// A bitmap whose pixel at (x, y) is the letter of `rows[y][x]`. Every byte of a pixel differs
// (letter, letter + 1, ...), so a copy with the wrong pixel size or byte order shows.
std::unique_ptr<Bitmap> LetterBitmap(const std::vector<std::string>& rows, PixelFormat format) {
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    const int bytes = PixelBytes(format);
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * bytes);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int b = 0; b < bytes; ++b)
                pixels[(static_cast<size_t>(y) * width + x) * bytes + b] =
                    static_cast<BYTE>(rows[y][x] + b);
        }
    }
    return std::make_unique<Bitmap>(width, height, width * bytes, format, pixels.data());
}

// The letters of a LetterBitmap, row by row; '?' for a pixel whose bytes do not belong together.
std::vector<std::string> Letters(Bitmap& bitmap) {
    BitmapData data;
    EXPECT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, bitmap.GetPixelFormat(), &data), Ok);
    const int bytes = PixelBytes(bitmap.GetPixelFormat());
    std::vector<std::string> rows;
    for (UINT y = 0; y < data.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + y * data.Stride;
        std::string letters;
        for (UINT x = 0; x < data.Width; ++x) {
            const BYTE* p = row + x * bytes;
            bool whole = true;
            for (int b = 1; b < bytes; ++b)
                whole = whole && p[b] == p[0] + b;
            letters += whole ? static_cast<char>(p[0]) : '?';
        }
        rows.push_back(letters);
    }
    EXPECT_EQ(bitmap.UnlockBits(&data), Ok);
    return rows;
}

ColorPalette ColourPalette() {
    ColorPalette palette;
    palette.Count = 4;
    palette.Entries[0] = MakeARGB(0xFF, 0, 0, 0);
    palette.Entries[1] = MakeARGB(0xFF, 200, 10, 20);
    palette.Entries[2] = MakeARGB(0xFF, 30, 220, 40);
    palette.Entries[3] = MakeARGB(0xFF, 50, 60, 240);
    return palette;
}

constexpr PixelFormat kAllFormats[] = {PixelFormat8bppIndexed, PixelFormat16bppRGB555,
                                       PixelFormat16bppRGB565, PixelFormat24bppRGB,
                                       PixelFormat32bppRGB};

}  // namespace

TEST(BitmapTest, ConstructionRefusesWhatItCannotHold) {
    struct Case {
        int width;
        int height;
        PixelFormat format;
        Status expected;
    };
    const Case cases[] = {
        {0, 5, PixelFormat24bppRGB, InvalidParameter},
        {5, 0, PixelFormat24bppRGB, InvalidParameter},
        {-3, 5, PixelFormat8bppIndexed, InvalidParameter},
        {5, 5, PixelFormat32bppARGB, InvalidParameter},
        {5, 5, PixelFormatDontCare, InvalidParameter},
        {65536, 65536, PixelFormat24bppRGB, OutOfMemory},
        {INT32_MAX, 2, PixelFormat32bppRGB, OutOfMemory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.format);
        Bitmap bitmap(c.width, c.height, c.format);
        EXPECT_EQ(bitmap.GetLastStatus(), c.expected);
        EXPECT_EQ(bitmap.GetWidth(), 0u);
        EXPECT_EQ(bitmap.GetLastStatus(), Ok) << "reading the status clears it";
        BitmapData data;
        EXPECT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data),
                  InvalidParameter);
        EXPECT_EQ(bitmap.RotateFlip(Rotate90FlipNone), InvalidParameter);
        EXPECT_EQ(bitmap.Clone(), nullptr);
    }
}

TEST(BitmapTest, NewBitmapIsZeroWithGreyPaletteWhenIndexed) {
    Bitmap bitmap(3, 2, PixelFormat8bppIndexed);
    EXPECT_EQ(bitmap.GetLastStatus(), Ok);
    ColorPalette palette;
    ASSERT_EQ(bitmap.GetPalette(&palette), Ok);
    EXPECT_EQ(palette.Count, 256u);
    EXPECT_EQ(palette.Flags, PaletteFlagsGrayScale);
    EXPECT_EQ(palette.Entries[0], 0xFF000000u);
    EXPECT_EQ(palette.Entries[200], 0xFFC8C8C8u);
    EXPECT_EQ(Letters(bitmap), (std::vector<std::string>{{0, 0, 0}, {0, 0, 0}}));
}

TEST(BitmapTest, RowsAreCopiedFromTheCallerInEitherDirection) {
    // Two rows of 3 bytes with a padded stride of 4; a negative stride reads them upwards.
    std::vector<BYTE> rows = {'a', 'b', 'c', 0, 'd', 'e', 'f', 0};
    Bitmap down(3, 2, 4, PixelFormat8bppIndexed, rows.data());
    Bitmap up(3, 2, -4, PixelFormat8bppIndexed, rows.data() + 4);
    rows[0] = 'z';
    EXPECT_EQ(Letters(down), (std::vector<std::string>{"abc", "def"}));
    EXPECT_EQ(Letters(up), (std::vector<std::string>{"def", "abc"}));

    Bitmap narrow(3, 2, 2, PixelFormat8bppIndexed, rows.data());
    EXPECT_EQ(narrow.GetLastStatus(), InvalidParameter);
    Bitmap none(3, 2, 4, PixelFormat8bppIndexed, nullptr);
    EXPECT_EQ(none.GetLastStatus(), InvalidParameter);
}

TEST(BitmapTest, NewRowsAndPixelsReplaceTheOldInTheSameMemory) {
    auto bitmap = LetterBitmap({"abc", "def"}, PixelFormat8bppIndexed);
    BitmapData before;
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &before), Ok);
    ASSERT_EQ(bitmap->UnlockBits(&before), Ok);

    // The caller's padding bytes never reach the bitmap's own padding.
    const std::vector<BYTE> rows = {'g', 'h', 'i', 0xEE, 'j', 'k', 'l', 0xEE};
    EXPECT_EQ(bitmap->SetRows(-4, rows.data() + 4), Ok);
    EXPECT_EQ(Letters(*bitmap), (std::vector<std::string>{"jkl", "ghi"}));
    BitmapData after;
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &after), Ok);
    EXPECT_EQ(after.Scan0, before.Scan0);
    EXPECT_EQ(static_cast<const BYTE*>(after.Scan0)[3], 0);
    EXPECT_EQ(bitmap->SetRows(4, rows.data()), WrongState);
    EXPECT_EQ(bitmap->CopyPixels(*LetterBitmap({"mno", "pqr"}, PixelFormat8bppIndexed)),
              WrongState);
    ASSERT_EQ(bitmap->UnlockBits(&after), Ok);
    EXPECT_EQ(bitmap->SetRows(2, rows.data()), InvalidParameter);
    EXPECT_EQ(bitmap->SetRows(4, nullptr), InvalidParameter);

    auto source = LetterBitmap({"mno", "pqr"}, PixelFormat8bppIndexed);
    const ColorPalette colours = ColourPalette();
    ASSERT_EQ(source->SetPalette(&colours), Ok);
    EXPECT_EQ(bitmap->CopyPixels(*source), Ok);
    EXPECT_EQ(Letters(*bitmap), (std::vector<std::string>{"mno", "pqr"}));
    ColorPalette palette;
    ASSERT_EQ(bitmap->GetPalette(&palette), Ok);
    EXPECT_EQ(palette.Count, 4u);
    EXPECT_EQ(palette.Entries[2], colours.Entries[2]);

    const std::unique_ptr<Bitmap> others[] = {LetterBitmap({"ab", "cd"}, PixelFormat8bppIndexed),
                                              LetterBitmap({"abc"}, PixelFormat8bppIndexed),
                                              LetterBitmap({"abc", "def"}, PixelFormat24bppRGB)};
    for (const auto& other : others)
        EXPECT_EQ(bitmap->CopyPixels(*other), InvalidParameter);
    EXPECT_EQ(Letters(*bitmap), (std::vector<std::string>{"mno", "pqr"}));
}

// A bitmap over rows it does not own reads them where they are and never writes them: each
// kind of change first gives it a copy of its own, which lets the owner's memory go.
TEST(BitmapTest, ExternalRowsAreReadInPlaceAndCopiedBeforeAnyChange) {
    const std::vector<std::string> letters = {"abcd", "efgh"};
    const struct {
        const char* name;
        std::function<Status(Bitmap&)> change;
        std::vector<std::string> after;
    } cases[] = {
        {"write lock",
         [](Bitmap& b) {
             BitmapData data;
             const Status locked =
                 b.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data);
             if (locked != Ok)
                 return locked;
             static_cast<BYTE*>(data.Scan0)[1] = 'z';
             return b.UnlockBits(&data);
         },
         {"azcd", "efgh"}},
        {"new rows",
         [](Bitmap& b) {
             const std::string rows = "ijklmnop";
             return b.SetRows(4, reinterpret_cast<const BYTE*>(rows.data()));
         },
         {"ijkl", "mnop"}},
        {"copied pixels",
         [](Bitmap& b) {
             return b.CopyPixels(*LetterBitmap({"qrst", "uvwx"}, PixelFormat8bppIndexed));
         },
         {"qrst", "uvwx"}},
        {"flip", [](Bitmap& b) { return b.RotateFlip(RotateNoneFlipY); }, {"efgh", "abcd"}},
        {"turn", [](Bitmap& b) { return b.RotateFlip(Rotate180FlipNone); }, {"hgfe", "dcba"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto rows = std::make_shared<std::vector<BYTE>>();
        for (const std::string& row : letters)
            rows->insert(rows->end(), row.begin(), row.end());
        const std::vector<BYTE> original = *rows;
        Bitmap bitmap(1, 1, PixelFormat24bppRGB);
        ASSERT_EQ(bitmap.ShowExternalRows(4, 2, 4, PixelFormat8bppIndexed, rows->data(), rows), Ok);
        EXPECT_TRUE(bitmap.HasExternalRows());
        EXPECT_EQ(rows.use_count(), 2);
        EXPECT_EQ(bitmap.GetPixelFormat(), PixelFormat8bppIndexed);
        EXPECT_EQ(Letters(bitmap), letters);
        EXPECT_EQ(bitmap.AsQImage().constBits(), rows->data());
        EXPECT_EQ(bitmap.Clone()->GetRows() == rows->data(), false);

        ASSERT_EQ(c.change(bitmap), Ok);
        EXPECT_EQ(Letters(bitmap), c.after);
        EXPECT_FALSE(bitmap.HasExternalRows());
        EXPECT_EQ(rows.use_count(), 1);
        EXPECT_EQ(*rows, original);
    }

    auto rows = std::make_shared<std::vector<BYTE>>(16, BYTE{'a'});
    Bitmap bitmap(4, 2, PixelFormat8bppIndexed);
    EXPECT_EQ(bitmap.ShowExternalRows(4, 2, 5, PixelFormat8bppIndexed, rows->data(), rows),
              InvalidParameter);  // not the format's padded row
    EXPECT_EQ(bitmap.ShowExternalRows(4, 2, 4, PixelFormat8bppIndexed, nullptr, rows),
              InvalidParameter);
    EXPECT_EQ(bitmap.ShowExternalRows(4, 2, 4, PixelFormat8bppIndexed, rows->data(), nullptr),
              InvalidParameter);
    BitmapData data;
    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data), Ok);
    EXPECT_EQ(bitmap.ShowExternalRows(4, 2, 4, PixelFormat8bppIndexed, rows->data(), rows),
              WrongState);
    ASSERT_EQ(bitmap.UnlockBits(&data), Ok);
    EXPECT_FALSE(bitmap.HasExternalRows());
    EXPECT_EQ(rows.use_count(), 1);
}

TEST(BitmapTest, RotateFlipTurnsClockwiseThenMirrors) {
    struct Case {
        RotateFlipType type;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> source = {"abc", "def"};
    const Case cases[] = {
        {RotateNoneFlipNone, {"abc", "def"}}, {Rotate90FlipNone, {"da", "eb", "fc"}},
        {Rotate180FlipNone, {"fed", "cba"}},  {Rotate270FlipNone, {"cf", "be", "ad"}},
        {RotateNoneFlipX, {"cba", "fed"}},    {Rotate90FlipX, {"ad", "be", "cf"}},
        {RotateNoneFlipY, {"def", "abc"}},    {Rotate270FlipX, {"fc", "eb", "da"}},
    };
    for (PixelFormat format : kAllFormats) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "format " << format << " type " << c.type);
            auto bitmap = LetterBitmap(source, format);
            ASSERT_EQ(bitmap->RotateFlip(c.type), Ok);
            EXPECT_EQ(bitmap->GetWidth(), c.expected[0].size());
            EXPECT_EQ(bitmap->GetHeight(), c.expected.size());
            EXPECT_EQ(Letters(*bitmap), c.expected);
        }
    }
}

TEST(BitmapTest, RotateFlipKeepsThePaletteAndRefusesBadRequests) {
    auto bitmap = LetterBitmap({"abc", "def"}, PixelFormat8bppIndexed);
    const ColorPalette colours = ColourPalette();
    bitmap->SetPalette(&colours);
    ASSERT_EQ(bitmap->RotateFlip(Rotate90FlipY), Ok);
    ColorPalette palette;
    bitmap->GetPalette(&palette);
    EXPECT_EQ(palette.Count, 4u);
    EXPECT_EQ(palette.Entries[3], colours.Entries[3]);

    EXPECT_EQ(bitmap->RotateFlip(static_cast<RotateFlipType>(8)), InvalidParameter);
    BitmapData data;
    ASSERT_EQ(bitmap->LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data), Ok);
    EXPECT_EQ(bitmap->RotateFlip(Rotate90FlipNone), WrongState);
    EXPECT_EQ(bitmap->GetLastStatus(), WrongState);
    EXPECT_EQ(bitmap->UnlockBits(&data), Ok);
}

TEST(BitmapTest, IndexedLockedAs24BitReadsThroughPaletteAndWritesBackNearestEntry) {
    // Pixel values 0..3 and one (7) beyond the palette's four entries, which shows black.
    const BYTE rows[] = {1, 2, 3, 0, 7, 1};
    Bitmap bitmap(3, 2, 3, PixelFormat8bppIndexed, rows);
    const ColorPalette palette = ColourPalette();
    ASSERT_EQ(bitmap.SetPalette(&palette), Ok);

    BitmapData data;
    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead | ImageLockModeWrite, PixelFormat24bppRGB,
                              &data),
              Ok);
    EXPECT_EQ(data.PixelFormat, PixelFormat24bppRGB);
    EXPECT_EQ(data.Stride, 12) << "3 pixels × 3 bytes, padded to 4";
    auto* bgr = static_cast<BYTE*>(data.Scan0);
    const std::vector<BYTE> top(bgr, bgr + 9);
    EXPECT_EQ(top, (std::vector<BYTE>{20, 10, 200, 40, 220, 30, 240, 60, 50}));
    const std::vector<BYTE> bottom(bgr + 12, bgr + 21);
    EXPECT_EQ(bottom, (std::vector<BYTE>{0, 0, 0, 0, 0, 0, 20, 10, 200}));

    // Write an exact palette colour and two colours nearest to entry 2.
    const BYTE exact[] = {240, 60, 50};
    const BYTE nearTwo[] = {35, 215, 35};
    const BYTE green[] = {0, 255, 0};
    std::memcpy(bgr, exact, 3);
    std::memcpy(bgr + 3, nearTwo, 3);
    std::memcpy(bgr + 12, green, 3);
    ASSERT_EQ(bitmap.UnlockBits(&data), Ok);

    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data), Ok);
    const auto* index = static_cast<const BYTE*>(data.Scan0);
    EXPECT_EQ(std::vector<BYTE>(index, index + 3), (std::vector<BYTE>{3, 2, 3}));
    EXPECT_EQ(std::vector<BYTE>(index + data.Stride, index + data.Stride + 3),
              (std::vector<BYTE>{2, 0, 1}))
        << "the whole rectangle is written back: the pixel beyond the palette was black";
    EXPECT_EQ(bitmap.UnlockBits(&data), Ok);
}

TEST(BitmapTest, LockOfARectangleTouchesOnlyThatRectangle) {
    auto bitmap = LetterBitmap({"abcd", "efgh", "ijkl"}, PixelFormat8bppIndexed);
    const Rect rect{1, 1, 2, 2};
    BitmapData data;
    // A read-only converted lock: changes to the copy are not written back.
    ASSERT_EQ(bitmap->LockBits(&rect, ImageLockModeRead, PixelFormat24bppRGB, &data), Ok);
    EXPECT_EQ(data.Width, 2u);
    EXPECT_EQ(data.Height, 2u);
    EXPECT_EQ(static_cast<BYTE*>(data.Scan0)[0], 'f');
    static_cast<BYTE*>(data.Scan0)[0] = 'z';
    ASSERT_EQ(bitmap->UnlockBits(&data), Ok);
    EXPECT_EQ(Letters(*bitmap), (std::vector<std::string>{"abcd", "efgh", "ijkl"}));

    // A lock in the bitmap's own format lends the rows themselves.
    ASSERT_EQ(bitmap->LockBits(&rect, ImageLockModeWrite, PixelFormat8bppIndexed, &data), Ok);
    auto* p = static_cast<BYTE*>(data.Scan0);
    p[0] = 'F';
    p[1] = 'G';
    p[data.Stride] = 'J';
    p[data.Stride + 1] = 'K';
    ASSERT_EQ(bitmap->UnlockBits(&data), Ok);
    EXPECT_EQ(Letters(*bitmap), (std::vector<std::string>{"abcd", "eFGh", "iJKl"}));
}

TEST(BitmapTest, LockRefusesBadRequests) {
    Bitmap indexed(4, 3, PixelFormat8bppIndexed);
    Bitmap rgb(4, 3, PixelFormat24bppRGB);
    struct Case {
        const char* what;
        Bitmap* bitmap;
        Rect rect;
        UINT flags;
        PixelFormat format;
    };
    const Case cases[] = {
        {"rectangle left of the bitmap",
         &indexed,
         {-1, 0, 2, 2},
         ImageLockModeRead,
         PixelFormat24bppRGB},
        {"rectangle beyond the right edge",
         &indexed,
         {3, 0, 2, 2},
         ImageLockModeRead,
         PixelFormat24bppRGB},
        {"rectangle beyond the bottom",
         &indexed,
         {0, 2, 2, 2},
         ImageLockModeRead,
         PixelFormat24bppRGB},
        {"empty rectangle", &indexed, {0, 0, 0, 2}, ImageLockModeRead, PixelFormat24bppRGB},
        {"no lock mode", &indexed, {0, 0, 2, 2}, 0, PixelFormat24bppRGB},
        {"unknown lock mode", &indexed, {0, 0, 2, 2}, ImageLockModeRead | 8, PixelFormat24bppRGB},
        {"unsupported format", &indexed, {0, 0, 2, 2}, ImageLockModeRead, PixelFormat32bppARGB},
        {"indexed from a colour bitmap",
         &rgb,
         {0, 0, 2, 2},
         ImageLockModeRead,
         PixelFormat8bppIndexed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BitmapData data;
        EXPECT_EQ(c.bitmap->LockBits(&c.rect, c.flags, c.format, &data), InvalidParameter);
        EXPECT_EQ(c.bitmap->UnlockBits(&data), WrongState) << "the failed lock left no lock";
    }

    BitmapData first;
    BitmapData second;
    ASSERT_EQ(rgb.LockBits(nullptr, ImageLockModeRead, PixelFormat32bppRGB, &first), Ok);
    EXPECT_EQ(rgb.LockBits(nullptr, ImageLockModeRead, PixelFormat32bppRGB, &second), WrongState);
    BitmapData stranger;
    EXPECT_EQ(rgb.UnlockBits(&stranger), InvalidParameter);
    EXPECT_EQ(rgb.UnlockBits(&first), Ok);
    EXPECT_EQ(rgb.UnlockBits(&first), WrongState);
}

TEST(BitmapTest, LockConvertsBetweenColourFormats) {
    struct Case {
        PixelFormat format;
        std::vector<BYTE> pixel;  // One pixel in `format`.
        std::vector<BYTE> bgr;    // The same pixel as blue, green, red.
    };
    const Case cases[] = {
        {PixelFormat16bppRGB555, {0x00, 0x7C}, {0, 0, 255}},
        {PixelFormat16bppRGB555, {0x21, 0x04}, {8, 8, 8}},  // 1 in each 5-bit channel.
        {PixelFormat16bppRGB555, {0xE0, 0x03}, {0, 255, 0}},
        {PixelFormat16bppRGB565, {0xE0, 0x07}, {0, 255, 0}},
        {PixelFormat16bppRGB565, {0x41, 0x08}, {8, 8, 8}},  // 1, 2, 1.
        {PixelFormat16bppRGB565, {0x1F, 0x00}, {255, 0, 0}},
        {PixelFormat32bppRGB, {1, 2, 3, 0xFF}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " pixel " << int{c.pixel[0]}
                                        << "," << int{c.pixel[1]});
        Bitmap bitmap(1, 1, static_cast<int>(c.pixel.size()), c.format, c.pixel.data());
        BitmapData data;
        ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead | ImageLockModeWrite,
                                  PixelFormat24bppRGB, &data),
                  Ok);
        const auto* bgr = static_cast<const BYTE*>(data.Scan0);
        EXPECT_EQ(std::vector<BYTE>(bgr, bgr + 3), c.bgr);
        ASSERT_EQ(bitmap.UnlockBits(&data), Ok);
        // Written back unchanged, the expanded colour packs to the same pixel.
        ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, c.format, &data), Ok);
        const auto* raw = static_cast<const BYTE*>(data.Scan0);
        EXPECT_EQ(std::vector<BYTE>(raw, raw + c.pixel.size()), c.pixel);
        ASSERT_EQ(bitmap.UnlockBits(&data), Ok);
    }
}

TEST(BitmapTest, CloneCopiesARectangleWithItsPalette) {
    auto bitmap = LetterBitmap({"abcd", "efgh", "ijkl"}, PixelFormat8bppIndexed);
    const ColorPalette colours = ColourPalette();
    bitmap->SetPalette(&colours);

    auto part = bitmap->Clone(1, 1, 3, 2, PixelFormatDontCare);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(Letters(*part), (std::vector<std::string>{"fgh", "jkl"}));
    ColorPalette palette;
    part->GetPalette(&palette);
    EXPECT_EQ(palette.Count, 4u);
    EXPECT_EQ(palette.Entries[2], colours.Entries[2]);

    auto whole = bitmap->Clone();
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(Letters(*whole), Letters(*bitmap));
    ASSERT_EQ(whole->RotateFlip(Rotate180FlipNone), Ok);
    EXPECT_EQ(Letters(*bitmap), (std::vector<std::string>{"abcd", "efgh", "ijkl"}))
        << "the clone owns its own pixels";

    // Converted on the way: pixel value 1 becomes palette entry 1's colour.
    const BYTE one = 1;
    Bitmap single(1, 1, 1, PixelFormat8bppIndexed, &one);
    single.SetPalette(&colours);
    auto rgb = single.Clone(0, 0, 1, 1, PixelFormat24bppRGB);
    ASSERT_NE(rgb, nullptr);
    BitmapData data;
    ASSERT_EQ(rgb->LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data), Ok);
    const auto* bgr = static_cast<const BYTE*>(data.Scan0);
    EXPECT_EQ(std::vector<BYTE>(bgr, bgr + 3), (std::vector<BYTE>{20, 10, 200}));
    rgb->UnlockBits(&data);
}

TEST(BitmapTest, CloneRefusesRectanglesOutsideTheBitmap) {
    auto bitmap = LetterBitmap({"abcd", "efgh", "ijkl"}, PixelFormat24bppRGB);
    const Rect cases[] = {
        {-1, 0, 2, 2}, {0, -1, 2, 2}, {3, 0, 2, 1},         {0, 2, 1, 2},         {0, 0, 0, 1},
        {0, 0, 1, 0},  {4, 0, 1, 1},  {INT32_MAX, 0, 1, 1}, {1, 1, INT32_MAX, 1},
    };
    for (const Rect& r : cases) {
        SCOPED_TRACE(testing::Message() << r.X << "," << r.Y << " " << r.Width << "x" << r.Height);
        EXPECT_EQ(bitmap->Clone(r, PixelFormatDontCare), nullptr);
        EXPECT_EQ(bitmap->GetLastStatus(), InvalidParameter);
    }
    EXPECT_EQ(bitmap->Clone(Rect{0, 0, 1, 1}, PixelFormat8bppIndexed), nullptr)
        << "a colour bitmap has no palette to index";
    EXPECT_NE(bitmap->Clone(Rect{3, 2, 1, 1}, PixelFormatDontCare), nullptr)
        << "the last pixel is inside";
}

TEST(BitmapTest, PaletteLongerThan256IsRefused) {
    Bitmap bitmap(2, 2, PixelFormat8bppIndexed);
    ColorPalette palette;
    palette.Count = 257;
    EXPECT_EQ(bitmap.SetPalette(&palette), InvalidParameter);
    EXPECT_EQ(bitmap.SetPalette(nullptr), InvalidParameter);
    ColorPalette kept;
    bitmap.GetPalette(&kept);
    EXPECT_EQ(kept.Count, 256u);
}

TEST(BitmapTest, QImageViewShowsThePixelsInEachFormat) {
    const BYTE indexed[] = {1};
    const BYTE rgb555[] = {0x00, 0x7C};
    const BYTE rgb565[] = {0x1F, 0x00};
    const BYTE rgb24[] = {10, 20, 30};
    const BYTE rgb32[] = {10, 20, 30, 0xFF};
    struct Case {
        PixelFormat format;
        const BYTE* pixel;
        QRgb expected;
    };
    const Case cases[] = {
        {PixelFormat8bppIndexed, indexed, qRgb(200, 10, 20)},
        {PixelFormat16bppRGB555, rgb555, qRgb(255, 0, 0)},
        {PixelFormat16bppRGB565, rgb565, qRgb(0, 0, 255)},
        {PixelFormat24bppRGB, rgb24, qRgb(30, 20, 10)},
        {PixelFormat32bppRGB, rgb32, qRgb(30, 20, 10)},
    };
    const ColorPalette colours = ColourPalette();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Bitmap bitmap(1, 1, 4, c.format, c.pixel);
        bitmap.SetPalette(&colours);
        const QImage image = bitmap.AsQImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.pixel(0, 0), c.expected);
    }
}

// A view keeps the colours the bitmap had when it was taken; a later view shows the palette
// as it is then (shorter palettes end in opaque black, every colour opaque).
TEST(BitmapTest, QImageViewKeepsTheColoursOfItsMoment) {
    Bitmap bitmap(1, 1, PixelFormat8bppIndexed);
    ColorPalette first;
    first.Count = 256;
    for (UINT i = 0; i < 256; ++i)
        first.Entries[i] = MakeARGB(static_cast<BYTE>(i), static_cast<BYTE>(i), 0, 0);
    ASSERT_EQ(bitmap.SetPalette(&first), Ok);
    const QImage before = bitmap.AsQImage();
    const QImage again = bitmap.AsQImage();
    ColorPalette second;
    second.Count = 3;
    second.Entries[2] = MakeARGB(0x80, 0, 0, 9);
    ASSERT_EQ(bitmap.SetPalette(&second), Ok);
    const QImage after = bitmap.AsQImage();
    ASSERT_EQ(before.colorCount(), 256);
    ASSERT_EQ(after.colorCount(), 256);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(before.color(i), qRgb(i, 0, 0)) << i;
        EXPECT_EQ(again.color(i), qRgb(i, 0, 0)) << i;
        EXPECT_EQ(after.color(i), i == 2 ? qRgb(0, 0, 9) : qRgb(0, 0, 0)) << i;
    }
}
