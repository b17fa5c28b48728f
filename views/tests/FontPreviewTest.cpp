#include "platform/framework/ResourceChain.h"
#include "resources/DrawPropsTemplates.h"
#include "testsupport/IsolatedTest.h"
#include "views/DrawPropsDlg.h"
#include "views/FontNameCombo.h"
#include "views/FontPreviewWnd.h"

#include <QWidget>

namespace {

class FontPreviewTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_module.dialogs = DrawPropsTemplates();
        CResourceChain::AddModule(&m_module);
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    CResourceModule m_module;
};

TEST_F(FontPreviewTest, ShowsEachFaceOnceWhereItWasFirstAsked) {
    CFontPreviewWnd preview;
    ASSERT_TRUE(preview.Create());
    QWidget* popup = preview.GetQWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(popup->isVisible());
    preview.ShowFace(10, 10, QString());  // The empty first face: nothing to show.
    EXPECT_FALSE(popup->isVisible());
    preview.ShowFace(40, 50, QStringLiteral("No Such Face 123"));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(preview.GetFace(), "No Such Face 123");
    EXPECT_EQ(popup->pos(), QPoint(40, 50));
    EXPECT_GT(popup->width(), CFontPreviewWnd::kPadding);
    preview.ShowFace(90, 90, QStringLiteral("No Such Face 123"));
    EXPECT_EQ(popup->pos(), QPoint(40, 50));
}

TEST_F(FontPreviewTest, ListSortsFacesAndKeepsSixRecentOnTop) {
    // The properties dialog's face list.
    CDrawPropsDlg dialog;
    ASSERT_TRUE(dialog.Create(CDrawPropsDlg::kTemplate));
    CFontNameCombo& combo = dialog.FaceList();
    ASSERT_TRUE(combo.GetSafeHwnd());
    combo.FillFontList({"Times", "arial", "Courier", "Helvetica"});
    ASSERT_EQ(combo.GetCount(), 4);
    EXPECT_EQ(combo.GetLBText(0), "arial");
    EXPECT_EQ(combo.GetLBText(3), "Times");
    for (const char* face : {"A1", "A2", "A3", "A4", "A5", "A6", "A7"})
        combo.SelectFace(QString::fromLatin1(face));
    EXPECT_EQ(combo.GetLBText(0), "A7");
    EXPECT_EQ(combo.GetCount(), 4 + CFontNameCombo::kMaxRecent);
    EXPECT_EQ(combo.GetItemData(5), CFontNameCombo::kRecent);
    EXPECT_EQ(combo.GetLBText(6), "arial");
    combo.SelectFace("A3");  // Moves to the top rather than appearing twice.
    EXPECT_EQ(combo.GetLBText(0), "A3");
    EXPECT_EQ(combo.GetCount(), 4 + CFontNameCombo::kMaxRecent);
    int copies = 0;
    for (int i = 0; i < combo.GetCount(); ++i)
        copies += combo.GetLBText(i) == "A3";
    EXPECT_EQ(copies, 1);
    dialog.DestroyWindow();
}

}  // namespace
