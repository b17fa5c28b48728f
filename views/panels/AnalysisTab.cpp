#include "views/panels/AnalysisTab.h"

#include "platform/framework/Button.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/Shell.h"
#include "shell/VidraApp.h"

#include <QCoreApplication>

IMPLEMENT_DYNAMIC(CAnalysisTab, CTabDlg)

BEGIN_MESSAGE_MAP(CAnalysisTab, CTabDlg)
ON_BN_CLICKED(CAnalysisTab::kLaunchButton, OnLaunchAnalysis)
END_MESSAGE_MAP()

namespace {

// WinExec's answers from 32 on mean the program started.
constexpr UINT kFirstStarted = 32;

}  // namespace

CAnalysisTab::CAnalysisTab(CWnd* pParentWnd) : CTabDlg(kAnalysisTabTemplate, pParentWnd) {}

QString CAnalysisTab::ProgramPath() {
    const CVidraApp* app = AfxGetVidraApp();
    const QString folder =
        app ? app->GetProgramFolder() : QCoreApplication::applicationDirPath() + QLatin1Char('/');
    return folder + QLatin1String(kProgramName);
}

void CAnalysisTab::OnLaunchAnalysis() {
    // The path is quoted: the program's folder may hold blanks.
    const QString commandLine = QStringLiteral("\"%1\" \"%2\"").arg(ProgramPath(), QString());
    if (WinExec(commandLine, SW_SHOW) < kFirstStarted)
        AfxMessageBox(QString::fromLatin1(kLaunchFailed), MB_ICONINFORMATION);
}
