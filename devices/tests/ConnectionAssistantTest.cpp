#include "devices/ConnectionAssistantDlg.h"
#include "platform/framework/DC.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "shell/MainFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QImage>

#include <string>

namespace {

QImage Render(const std::vector<CConnectionAssistantDlg::Row>& rows) {
    CConnectionAssistantDlg dialog;
    dialog.m_rows = rows;
    QImage image(CConnectionAssistantDlg::kWidth,
                 CConnectionAssistantDlg::WindowHeight(static_cast<int>(dialog.m_rows.size())),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    {
        CDC dc(&image);
        dialog.Paint(&dc, CRect(0, 0, image.width(), image.height()));
    }
    return image;
}

std::vector<CConnectionAssistantDlg::Row> Rows(int count, int kind = 2) {
    std::vector<CConnectionAssistantDlg::Row> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({kind, 1, QStringLiteral("Device %1").arg(i + 1)});
    return rows;
}

bool IsBlack(const QImage& image, int x, int y) {
    return (image.pixel(x, y) & 0xFFFFFF) == 0;
}

// The chaining cable of row i runs down x = 220 from y = 82 + 100 i to 162 + 100 i.
int ChainingCables(const QImage& image) {
    int cables = 0;
    for (int i = 0; 162 + 100 * i < image.height(); ++i)
        cables += IsBlack(image, 220, 120 + 100 * i) ? 1 : 0;
    return cables;
}

TEST(ConnectionAssistantTest, WindowGrowsWithItsRows) {
    const std::pair<int, int> cases[] = {{0, 400}, {1, 400}, {3, 400}, {4, 435}, {7, 735}};
    for (const auto& [rows, height] : cases)
        EXPECT_EQ(CConnectionAssistantDlg::WindowHeight(rows), height) << rows;
}

TEST(ConnectionAssistantTest, CablesChainTheRowsAndTheTriggerComesFromTheLeft) {
    const struct {
        int rows;
        int kind;
        int chaining;
        bool secondTrigger;
    } cases[] = {{1, 2, 0, false}, {3, 2, 2, false}, {7, 1, 6, false}, {2, 0, 1, true}};
    for (const auto& c : cases) {
        const QImage image = Render(Rows(c.rows, c.kind));
        EXPECT_EQ(ChainingCables(image), c.chaining) << c.rows;
        EXPECT_TRUE(IsBlack(image, 236, 42)) << c.rows;  // the trigger cable
        EXPECT_EQ(IsBlack(image, 236, 62), c.secondTrigger) << c.rows;
        // The panel down the left side, white beside it.
        EXPECT_EQ(image.pixel(20, image.height() / 2) & 0xFFFFFF, qRgb(38, 66, 142) & 0xFFFFFF);
        EXPECT_EQ(image.pixel(190, 300) & 0xFFFFFF, 0xFFFFFFu);
    }
}

TEST(ConnectionAssistantTest, ConnectorNamesFollowTheRowKindAndCameraSubtype) {
    const struct {
        int kind;
        int subtype;
        const char* names[3];
    } cases[] = {
        {0, 0, {"Trigger/Event Input", "Antenna/Time Code In", "Heartbeat Out"}},
        {1, 4, {"Trigger In", "Sync In", "Sync Out"}},
        {2, 1, {"Trigger In", "Phase Lock In", "Phase Lock Out"}},
        {2, 2, {"Trigger In", "Sync In", "Exposure"}},
        {2, 4, {"Trigger In", "VSI", "VSO"}},
        {2, 7, {"Trigger In", "Sync In", "Sync Out"}},
    };
    for (const auto& c : cases) {
        const auto names = CConnectionAssistantDlg::ConnectorNames(c.kind, c.subtype);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(std::string(names[size_t(i)]), c.names[i]) << c.kind << "/" << c.subtype;
    }
}

class ConnectionAssistantWindowTest : public IsolatedTest {};

TEST_F(ConnectionAssistantWindowTest, OpensAtTheHeightOfItsRows) {
    CProgramResources::Register();
    CWinApp app("ca");
    for (const auto& [rows, height] : {std::pair{1, 400}, {4, 435}, {7, 735}}) {
        CConnectionAssistantDlg dialog;
        dialog.m_rows = Rows(rows);
        ASSERT_TRUE(dialog.Create(IDD_CONNECTION_ASSISTANT, nullptr));
        EXPECT_EQ(dialog.GetWindowText(), "Connection Assistant");
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(window.Height(), height) << rows;
        EXPECT_EQ(window.Width(), 600);
        dialog.DestroyWindow();
    }
}

// Each row shows the picture of its kind at its origin, and the left panel its own picture
// centred above the middle.
TEST_F(ConnectionAssistantWindowTest, RowsShowThePictureOfTheirKind) {
    CProgramResources::Register();
    const std::vector<CConnectionAssistantDlg::Row> rows = {
        {0, 0, "Clock"}, {1, 0, "Card"}, {2, 1, "Camera"}};
    const QImage image = Render(rows);
    const UINT pictures[] = {CConnectionAssistantDlg::kBitmapTiming,
                             CConnectionAssistantDlg::kBitmapDataCard,
                             CConnectionAssistantDlg::kBitmapCamera};
    // Points clear of the texts and cables where the three pictures differ.
    const QPoint probes[] = {{210, 60}, {236, 26}, {250, 62}};
    for (int i = 0; i < 3; ++i) {
        const QImage picture = CResourceChain::LoadBitmap(pictures[i]);
        ASSERT_FALSE(picture.isNull()) << pictures[i];
        const QImage other = CResourceChain::LoadBitmap(pictures[(i + 1) % 3]);
        bool differs = false;
        for (const QPoint& p : probes) {
            EXPECT_EQ(image.pixel(QPoint(260, 5 + 100 * i) + p) & 0xFFFFFF,
                      picture.pixel(p) & 0xFFFFFF)
                << i << " at " << p.x() << "," << p.y();
            differs = differs || picture.pixel(p) != other.pixel(p);
        }
        EXPECT_TRUE(differs) << "the probes tell picture " << i << " from the next";
    }
    const QImage panel = CResourceChain::LoadBitmap(CConnectionAssistantDlg::kBitmapPanel);
    ASSERT_FALSE(panel.isNull());
    const QPoint centre(90, image.height() / 2 - 25);
    const QPoint inPanel(panel.width() / 2, panel.height() / 2);
    EXPECT_EQ(image.pixel(centre) & 0xFFFFFF, panel.pixel(inPanel) & 0xFFFFFF);
    EXPECT_EQ(image.pixel(centre + QPoint(20, 20)) & 0xFFFFFF,
              panel.pixel(inPanel + QPoint(20, 20)) & 0xFFFFFF);
}

}  // namespace
