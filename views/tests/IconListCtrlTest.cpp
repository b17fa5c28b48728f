#include "platform/framework/DC.h"
#include "platform/wintypes/WinMessages.h"
#include "testsupport/IsolatedTest.h"
#include "views/IconListCtrl.h"

#include <QImage>

namespace {

using Kind = CIconListCtrl::CellKind;

TEST(IconListCtrlTest, CellTextsNameWhatTheyShow) {
    struct Case {
        const char* text;
        Kind kind;
        std::vector<int> values;
    };
    const Case cases[] = {
        {"fooColor 255", Kind::Color, {255}},
        {"fooShape 2 65280 5 1", Kind::Shape, {2, 65280, 5, 1}},
        {"fooIcon 388 32 32", Kind::Icon, {388, 32, 32}},
        {"fooShape 2 x 5 1", Kind::Text, {}},  // a malformed number
        {"fooIcon 388", Kind::Text, {}},       // too few numbers
        {"Camera 1", Kind::Text, {}},
        {"", Kind::Text, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CIconListCtrl::Cell cell = CIconListCtrl::ParseCell(QString::fromLatin1(c.text));
        EXPECT_EQ(cell.kind, c.kind);
        EXPECT_EQ(cell.values, c.values);
    }
}

TEST(IconListCtrlTest, TextIsCutToFitWithAnEllipsis) {
    // Every character 5 pixels wide.
    const auto measure = [](const QString& s) { return 5 * static_cast<int>(s.size()); };
    EXPECT_EQ(CIconListCtrl::FitText("Camera", 30, measure), "Camera");
    EXPECT_EQ(CIconListCtrl::FitText("Camera 12", 30, measure), "Cam...");
    EXPECT_EQ(CIconListCtrl::FitText("Camera", 10, measure), "...");
}

TEST(IconListCtrlTest, ColourCellsFillAndFixedColumnsRefuseResizing) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    CIconListCtrl list;
    list.DrawCell(&dc, CRect(0, 0, 40, 20), "fooColor 255");
    EXPECT_EQ(dc.GetPixel(20, 10), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(0, 0), 0xFFFFFFu);

    // A marker cell draws the tracking marker of its shape: shape 1 is the diagonal cross, so
    // the corners of its square are drawn and the middle of its sides is not.
    image.fill(Qt::white);
    list.DrawCell(&dc, CRect(0, 0, 40, 20), "fooShape 1 255 5 1");
    EXPECT_EQ(dc.GetPixel(15, 5), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(25, 5), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(20, 5), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixel(15, 10), 0xFFFFFFu);

    list.SetFixedColumn(1, true);
    list.SetFixedColumn(40, true);  // beyond the mask: ignored
    for (int column : {0, 1, 40}) {
        for (UINT code : {HDN_BEGINTRACK, HDN_DIVIDERDBLCLICK}) {
            NMHEADER nm;
            nm.iItem = column;
            nm.hdr.code = code;
            LRESULT result = 0;
            const BOOL handled =
                list.OnWndMsg(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm), &result);
            EXPECT_EQ(handled && result == 1, column == 1) << column;
        }
    }
}

}  // namespace
