#include "shell/MainFrame.h"

#include "frames/FrameImage.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/CommandIcon.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"
#include "platform/wintypes/CLocale.h"
#include "shell/DlgUpdateCheck.h"
#include "shell/IImageReadout.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

IMPLEMENT_DYNCREATE(CMainFrame, CVidraFrameWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CMainFrame, CVidraFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_COMMAND(ID_HELP_CHECK_UPDATES, OnHelpCheckUpdates)
    ON_COMMAND(ID_HELP_CONTENTS, OnHelpContents)
    ON_UPDATE_COMMAND_UI(ID_HELP_CONTENTS, OnUpdateHelpContents)
    ON_COMMAND(ID_HELP_INDEX_PAGE, OnHelpIndex)
    ON_COMMAND(ID_HELP_SEARCH_PAGE, OnHelpSearch)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_RETICLE, OnUpdatePane)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_VISIBLE_REGION, OnUpdatePane)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_IMAGE_SIZE, OnUpdatePane)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_ZOOMED_SIZE, OnUpdatePane)
END_MESSAGE_MAP()
// clang-format on

namespace {

int g_closeBlockCount = 0;

constexpr UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_RETICLE, ID_INDICATOR_VISIBLE_REGION,
                                ID_INDICATOR_IMAGE_SIZE, ID_INDICATOR_ZOOMED_SIZE};

const char* const kPaneTips[] = {"Reticle Position", "Visible Region Size", "Actual Image Size",
                                 "Zoomed Image Size"};
// Panes 1-4: what each shows and the resource of its icon.
constexpr IImageReadout::Value kPaneValues[] = {
    IImageReadout::kReticlePosition, IImageReadout::kVisibleRegion, IImageReadout::kImageSize,
    IImageReadout::kZoomedSize};
constexpr UINT kPaneIconIds[] = {212, 213, 266, 214};
constexpr int kPaneIconSize = 16;

void ShowMessage(CWnd* owner, const QString& text, const QString& caption, UINT type) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = caption;
    prompt.type = type;
    prompt.owner = owner ? owner->GetQWidget() : nullptr;
    AfxPrompter().MessageBox(prompt);
}

}  // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

void CMainFrame::AdjustCloseBlockCount(BOOL bAdd) {
    if (bAdd)
        ++g_closeBlockCount;
    else if (g_closeBlockCount > 0)
        --g_closeBlockCount;
}

int CMainFrame::GetCloseBlockCount() {
    return g_closeBlockCount;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CVidraFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    // Frames drawn anywhere in the program smooth as this window's "Video:ZoomMode" says.
    CFrameImage::SetSettingsStoreProvider(
        [] { return dynamic_cast<ISettingsStore*>(AfxGetMainWnd()); });
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_TOOLTIPS) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    for (int pane = 1; pane <= 4; ++pane) {
        m_wndStatusBar.SetTipText(pane, QString::fromLatin1(kPaneTips[pane - 1]));
        m_paneIcons[pane - 1] =
            AfxCommandIcon(kPaneIconIds[pane - 1]).pixmap(kPaneIconSize, kPaneIconSize).toImage();
    }
    return 0;
}

CView* CMainFrame::GetWorkingView() const {
    CMDIChildWnd* child = MDIGetActive();
    CView* view = child ? child->GetActiveView() : nullptr;
    while (view) {
        // The frames a view hosts are its frame children, the top-most first.
        CWnd* next = view->GetWindow(GW_CHILD);
        while (next && !next->IsFrameWnd())
            next = next->GetWindow(GW_HWNDNEXT);
        CView* inner = next ? static_cast<CFrameWnd*>(next)->GetActiveView() : nullptr;
        if (!inner)
            break;
        view = inner;
    }
    return view;
}

void CMainFrame::OnUpdatePane(CCmdUI* pCmdUI) {
    const int pane = static_cast<int>(pCmdUI->m_nIndex);
    if (pane < 1 || pane > 4)
        return;
    const auto* readout = dynamic_cast<const IImageReadout*>(GetWorkingView());
    CSize size;
    if (readout && readout->GetReadout(kPaneValues[pane - 1], &size)) {
        pCmdUI->SetText(QFormatC(" %d (h) x %d (v) pixels ", size.cx, size.cy));
        m_wndStatusBar.SetPaneIcon(pane, m_paneIcons[pane - 1]);
    } else {
        pCmdUI->SetText(QString());
        m_wndStatusBar.SetPaneIcon(pane, QImage());
    }
}

bool CMainFrame::AnyRecording() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return false;
    POSITION templatePos = app->GetFirstDocTemplatePosition();
    while (templatePos) {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(templatePos);
        POSITION docPos = docTemplate->GetFirstDocPosition();
        while (docPos) {
            const auto* state =
                dynamic_cast<const IRecordingState*>(docTemplate->GetNextDoc(docPos));
            if (state && state->IsRecording())
                return true;
        }
    }
    return false;
}

void CMainFrame::OnClose() {
    if (g_closeBlockCount > 0)
        return;
    if (AnyRecording()) {
        ShowMessage(this, QStringLiteral("Please complete the recording before closing."),
                    QStringLiteral("Unable to Close Device"), MB_ICONINFORMATION);
        return;
    }
    CWinApp* app = AfxGetApp();
    // Cancel at the save prompt keeps everything open.
    if (app && !app->SaveAllModified())
        return;
    m_bClosing = TRUE;
    CloseEverything();
    if (!GetSafeHwnd())
        return;
    DestroyWindow();
}

void CMainFrame::OnHelpCheckUpdates() {
    CDlgUpdateCheck dialog(this);
    dialog.DoModal(FALSE);
}

void CMainFrame::OnUpdateHelpContents(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CMainFrame::OnHelpContents() {
    ShowMessage(this,
                QStringLiteral("Sorry, a help file is currently not available for this product."),
                QString::fromLatin1(kMainTitle), MB_ICONINFORMATION);
}

QStringList CMainFrame::HelpFilePaths() {
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return {folder + name + QStringLiteral(".chm"), folder + QStringLiteral("Vidra40.chm")};
}

void CMainFrame::OpenHelp() {
    const QStringList paths = HelpFilePaths();
    for (const QString& path : paths) {
        if (QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            return;
    }
    ShowMessage(this, QStringLiteral("Unable to open help file: %1").arg(paths.back()),
                QString::fromLatin1(kMainTitle), MB_ICONERROR);
}

void CMainFrame::OnHelpIndex() {
    OpenHelp();
}

void CMainFrame::OnHelpSearch() {
    OpenHelp();
}
