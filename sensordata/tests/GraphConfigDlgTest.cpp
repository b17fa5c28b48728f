#include "sensordata/GraphConfigDlg.h"

#include "platform/framework/Button.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ResourceModuleScope.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

namespace {

// Channels 1, 4 and 9 on; 4 is displayed.
class GraphConfigDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(RmResourceModule());
        for (int c : {1, 4, 9})
            m_data.m_onFlags[c] = 1;
        m_dlg.m_displayed[4] = true;
        m_dlg.m_displayed[5] = true;  // off in the data: never listed
        // As the data display opens it: the library's template, whatever other module holds
        // one of the same number (the program's own pages do).
        CResourceModuleScope scope(SensorRes::kModuleName);
        ASSERT_TRUE(scope.IsActive());
        ASSERT_TRUE(m_dlg.Create(SensorRes::kGraphConfigTemplate));
    }
    void TearDown() override {
        m_dlg.DestroyWindow();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }
    QStringList Lines(int id) {
        auto* list = static_cast<CListBox*>(m_dlg.GetDlgItem(id));
        QStringList lines;
        for (int i = 0; i < list->GetCount(); ++i)
            lines << list->GetText(i);
        return lines;
    }
    CListBox* List(int id) { return static_cast<CListBox*>(m_dlg.GetDlgItem(id)); }
    void Click(int id) {
        qobject_cast<QAbstractButton*>(m_dlg.GetDlgItem(id)->GetQWidget())->click();
    }

    CVidraData m_data;
    CGraphConfigDlg m_dlg{nullptr, &m_data};
};

TEST_F(GraphConfigDlgTest, AddAndRemoveMoveChannelsBetweenTheLists) {
    EXPECT_EQ(Lines(GraphConfigId::kDisplayedList), QStringList{"4"});
    EXPECT_EQ(Lines(GraphConfigId::kHiddenList), QStringList({"1", "9"}));
    List(GraphConfigId::kHiddenList)->SetCurSel(1);
    Click(GraphConfigId::kAdd);
    EXPECT_TRUE(m_dlg.m_displayed[9]);
    EXPECT_EQ(Lines(GraphConfigId::kDisplayedList), QStringList({"4", "9"}));
    List(GraphConfigId::kDisplayedList)->SetCurSel(0);
    Click(GraphConfigId::kRemove);
    EXPECT_FALSE(m_dlg.m_displayed[4]);
    EXPECT_EQ(Lines(GraphConfigId::kDisplayedList), QStringList{"9"});
    EXPECT_EQ(Lines(GraphConfigId::kHiddenList), QStringList({"1", "4"}));
    // Nothing chosen: nothing moves.
    Click(GraphConfigId::kAdd);
    EXPECT_EQ(Lines(GraphConfigId::kHiddenList), QStringList({"1", "4"}));
}

TEST_F(GraphConfigDlgTest, SeveralChosenChannelsMoveTogether) {
    CListBox* hidden = List(GraphConfigId::kHiddenList);
    hidden->SetSel(0);
    hidden->SetSel(1);
    EXPECT_EQ(hidden->GetSelCount(), 2);
    Click(GraphConfigId::kAdd);
    EXPECT_EQ(Lines(GraphConfigId::kDisplayedList), QStringList({"1", "4", "9"}));
    EXPECT_TRUE(Lines(GraphConfigId::kHiddenList).isEmpty());

    // The caption channel is the first of the chosen displayed ones.
    CListBox* displayed = List(GraphConfigId::kDisplayedList);
    displayed->SetSel(2);
    displayed->SetSel(1);
    Click(GraphConfigId::kCaptionOn);
    EXPECT_EQ(m_dlg.m_nCaptionChannel, 4);

    displayed->SetSel(0);
    Click(GraphConfigId::kRemove);
    EXPECT_EQ(Lines(GraphConfigId::kHiddenList), QStringList({"1", "4", "9"}));
    EXPECT_FALSE(m_dlg.m_displayed[1] || m_dlg.m_displayed[4] || m_dlg.m_displayed[9]);
}

TEST_F(GraphConfigDlgTest, CaptionChannelNeedsADisplayedChannel) {
    Prompter().ExpectMessageBox(QStringLiteral("You must select a displayed channel."), IDOK);
    Click(GraphConfigId::kCaptionOn);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(GraphConfigId::kCaptionOn), 0u);
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, QString());
    EXPECT_EQ(m_dlg.m_nCaptionChannel, -1);

    List(GraphConfigId::kDisplayedList)->SetCurSel(0);
    Click(GraphConfigId::kCaptionOn);
    EXPECT_EQ(m_dlg.m_nCaptionChannel, 4);
    EXPECT_EQ(m_dlg.GetDlgItemText(GraphConfigId::kCaptionChannel), QStringLiteral("4"));
    Click(GraphConfigId::kCaptionOn);
    EXPECT_EQ(m_dlg.m_nCaptionChannel, -1);
    EXPECT_EQ(m_dlg.GetDlgItemText(GraphConfigId::kCaptionChannel), QString());
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
}

}  // namespace
