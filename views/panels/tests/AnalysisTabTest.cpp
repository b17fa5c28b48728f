#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"
#include "resources/RecordPageTemplates.h"
#include "testsupport/IsolatedTest.h"
#include "views/panels/AnalysisTab.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

class AnalysisTabTest : public IsolatedTest {};

TEST_F(AnalysisTabTest, LaunchingTheMissingAnalysisProgramSaysSo) {
    // The page's template alone, so that the program's other resources stay out of this run.
    CResourceModule pages;
    pages.name = QStringLiteral("analysis page");
    for (const DialogTemplate& page : RecordPageTemplates()) {
        if (page.id == kAnalysisTabTemplate)
            pages.dialogs.push_back(page);
    }
    CResourceChain::AddModule(&pages);
    CWnd host;
    ASSERT_TRUE(host.Create(nullptr, "host", 0, CRect(0, 0, 300, 200), nullptr, 0));
    CAnalysisTab page;
    ASSERT_TRUE(page.Create(&host));
    EXPECT_EQ(page.GetDlgItemText(CAnalysisTab::kLaunchButton), "Launch Analysis");
    // The program is looked for beside this one, where no such program ships.
    EXPECT_EQ(CAnalysisTab::ProgramPath(),
              QCoreApplication::applicationDirPath() + "/VidraProAnalysis");
    Prompter().ExpectMessageBox(QStringLiteral("An error occurred trying to launch analysis."),
                                IDOK);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CAnalysisTab::kLaunchButton, BN_CLICKED), 0);
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].type & MB_ICONMASK, MB_ICONINFORMATION);
    host.DestroyWindow();
    CResourceChain::RemoveModule(&pages);
}

}  // namespace
