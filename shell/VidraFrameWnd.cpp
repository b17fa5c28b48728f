#include "shell/VidraFrameWnd.h"

#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/Shell.h"
#include "platform/framework/View.h"
#include "shell/DlgWindowList.h"
#include "shell/IDeviceSelection.h"
#include "shell/VidraApp.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

IMPLEMENT_DYNAMIC(CVidraFrameWnd, CMDIFrameWndPlus)

// clang-format off
BEGIN_MESSAGE_MAP(CVidraFrameWnd, CMDIFrameWndPlus)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_FILE_OPEN_VIDEO, OnFileOpenVideo)
    ON_COMMAND(ID_FILE_OPEN_DATA_FILE, OnFileOpenDataFile)
    ON_COMMAND(ID_FILE_OPEN_PLAY_GROUP, OnFileOpenPlayGroup)
    ON_COMMAND(ID_WINDOW_LIST, OnWindowList)
    // Without a project or group to take it, Cascade arranges the main window's own children.
    ON_COMMAND(ID_WINDOW_CASCADE_GROUPS, OnWindowCascade)
    ON_COMMAND_RANGE(ID_WINDOW_GROUP_FIRST, ID_WINDOW_GROUP_LAST, OnActivateGroup)
    ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_GROUP_FIRST, ID_WINDOW_GROUP_LAST, OnUpdateGroupEntry)
    ON_COMMAND(ID_VIEW_CONTROL_BAR, OnToggleControlBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_CONTROL_BAR, OnUpdateControlBar)
    ON_COMMAND(ID_FILE_NEW_PLAY_PROJECT, OnNewPlayProject)
    ON_COMMAND(ID_EDIT_PROGRAM_OPTIONS, OnEditProgramOptions)
    ON_COMMAND(ID_EDIT_SYSTEM_CONFIGURATION, OnEditSystemConfiguration)
    ON_COMMAND_RANGE(ID_VIEW_MAIN_TOOLBAR, ID_VIEW_MAIN_TOOLBAR, OnToggleToolBar)
    ON_COMMAND_RANGE(ID_VIEW_PLAY_PROJECT_TOOLBAR, ID_VIEW_RECORD_PROJECT_TOOLBAR, OnToggleToolBar)
    ON_COMMAND_RANGE(ID_VIEW_PROJECT_LAYOUT_TOOLBAR, ID_VIEW_VIDEO_CONTROLS_TOOLBAR, OnToggleToolBar)
    ON_COMMAND_RANGE(ID_VIEW_VIDEO_TOOLS_TOOLBAR, ID_VIEW_VIDEO_TOOLS_TOOLBAR, OnToggleToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_MAIN_TOOLBAR, OnUpdateToolBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_PLAY_PROJECT_TOOLBAR, ID_VIEW_RECORD_PROJECT_TOOLBAR, OnUpdateToolBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_VIDEO_CONTROLS_TOOLBAR, OnUpdateToolBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_VIDEO_TOOLS_TOOLBAR, OnUpdateToolBarCheck)
    ON_COMMAND(ID_VIEW_ONE_STEP_SAVE_TOOLBAR, OnNothing)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ONE_STEP_SAVE_TOOLBAR, OnUpdateDisabled)
    ON_COMMAND(ID_TOOLS_BACKGROUND_MIXER, OnFeatureNotAvailable)
    ON_COMMAND(ID_TOOLS_ONE_STEP_SAVE_SETTINGS, OnFeatureNotAvailable)
    ON_COMMAND(ID_CAPTURE_WIZARD, OnCaptureWizard)
    ON_UPDATE_COMMAND_UI(ID_CAPTURE_WIZARD, OnUpdateCaptureWizard)
    ON_COMMAND(ID_EDIT_COPY_APPLICATION_WINDOW, OnEditCopyApplicationWindow)
    ON_COMMAND(ID_WINDOW_CLOSE_ALL_GROUPS, OnCloseAllGroups)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CLOSE_ALL_GROUPS, OnUpdateNeedsActiveChild)
    ON_COMMAND(ID_WINDOW_CLOSE_ALL, OnCloseAllWindows)
    ON_UPDATE_COMMAND_UI(ID_WINDOW_CLOSE_ALL, OnUpdateNeedsActiveChild)
    ON_UPDATE_COMMAND_UI(ID_RECORD_DISABLED_A, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(ID_RECORD_DISABLED_B, OnUpdateDisabled)
    RM_MSG_ENTRY(WM_PROJECT_MESSAGE_11036,
                 c.result = RM_SELF->OnProjectMessage(c.message, c.wParam, c.lParam))
    RM_MSG_ENTRY(WM_PROJECT_MESSAGE_21124,
                 c.result = RM_SELF->OnProjectMessage(c.message, c.wParam, c.lParam))
    RM_MSG_ENTRY(WM_PROJECT_MESSAGE_21125,
                 c.result = RM_SELF->OnProjectMessage(c.message, c.wParam, c.lParam))
END_MESSAGE_MAP()
// clang-format on

namespace {

struct ToolBarSpec {
    const char* key;  // the "View:" setting that shows it, or null
    UINT command;     // the View command that toggles it, or 0
    const char* title;
};

constexpr ToolBarSpec kToolBarSpecs[] = {
    {"View:MainTB", ID_VIEW_MAIN_TOOLBAR, "Main Toolbar"},
    {"View:PlayProjTB", ID_VIEW_PLAY_PROJECT_TOOLBAR, "Quick (Play) File Addition Toolbar"},
    {"View:RecProjTB", ID_VIEW_RECORD_PROJECT_TOOLBAR, "Quick (Record) Device Addition Toolbar"},
    {"View:VideoViewTB", ID_VIEW_VIDEO_CONTROLS_TOOLBAR, "Video Controls Toolbar"},
    {"View:ProjLayoutTB", ID_VIEW_PROJECT_LAYOUT_TOOLBAR, "Project Layout Toolbar"},
    {"View:VideoToolsTB", ID_VIEW_VIDEO_TOOLS_TOOLBAR, "Video Tools Toolbar"},
    {nullptr, 0, "One-step save toolbar"},
    {nullptr, 0, "Toolbar"},
};

// Window ids of the toolbars, clear of the framework's own bars.
constexpr UINT kToolBarWindowIdBase = 0xE820;

const char* const kVideoFilter =
    "Recognized File Types (*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi)|*.avi;*.raw;*.bmp;*.tif;*.jpg;"
    "*.pvi|AVI Files (*.avi)|*.avi|RAW Files (*.raw)|*.raw|Image Sequences "
    "(*.bmp;*.tif;*.jpg)|*.bmp;*.tif;*.jpg|PVI Files (*.pvi)|*.pvi|All Files (*.*)|*.*||";

bool IntegerSetting(ISettingsStore& store, const QString& key, int* value) {
    VARIANT v;
    if (FAILED(store.GetSetting(key, &v, -1)))
        return false;
    VARIANT i4;
    const bool ok = SUCCEEDED(VariantChangeType(&i4, &v, 0, VT_I4));
    VariantClear(&v);
    if (ok)
        *value = i4.lVal;
    return ok;
}

}  // namespace

const char* CVidraFrameWnd::ToolBarKey(int index) {
    return kToolBarSpecs[index].key;
}

CVidraFrameWnd::CVidraFrameWnd() : m_systemConfiguration(AfxGetAppTitle()) {}

CVidraFrameWnd::~CVidraFrameWnd() = default;

HRESULT CVidraFrameWnd::GetSetting(const QString& key, VARIANT* out, int index) {
    if (!out)
        return E_FAIL;
    for (CDlgOptionsBase* store : {static_cast<CDlgOptionsBase*>(&m_programOptions),
                                   static_cast<CDlgOptionsBase*>(&m_snapkeepOptions)}) {
        VARIANT value = store->GetValue(key, index);
        if (value.vt != VT_EMPTY) {
            *out = value;
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT CVidraFrameWnd::SetSetting(const QString& key, VARIANT value, int index) {
    if (SUCCEEDED(m_programOptions.SetSetting(key, value, index)))
        return S_OK;
    return m_snapkeepOptions.SetSetting(key, value, index);
}

HRESULT CVidraFrameWnd::SetDelegate(IIndexedValuesDelegate* pDelegate) {
    m_pIndexedDelegate = pDelegate;
    return S_OK;
}

HRESULT CVidraFrameWnd::DelegateFirst(intptr_t value) {
    return m_pIndexedDelegate ? m_pIndexedDelegate->First(value) : E_FAIL;
}

HRESULT CVidraFrameWnd::SetAt(int index, intptr_t value) {
    if (index < 0)
        return E_FAIL;
    if (static_cast<size_t>(index) >= m_indexedValues.size())
        m_indexedValues.resize(static_cast<size_t>(index) + 1, -1);
    m_indexedValues[static_cast<size_t>(index)] = value;
    return S_OK;
}

HRESULT CVidraFrameWnd::GetAt(int index, intptr_t* value) {
    if (!value)
        return E_FAIL;
    if (index < 0 || static_cast<size_t>(index) >= m_indexedValues.size()) {
        *value = -1;
        return E_FAIL;
    }
    *value = m_indexedValues[static_cast<size_t>(index)];
    return S_OK;
}

HRESULT CVidraFrameWnd::DelegateSecond(intptr_t argument, intptr_t* value) {
    if (m_pIndexedDelegate)
        return m_pIndexedDelegate->Second(argument, value);
    if (value)
        *value = 0;
    return E_FAIL;
}

std::vector<CView*> CVidraFrameWnd::ViewsOfClass(const CRuntimeClass* viewClass) const {
    std::vector<CView*> views;
    QMdiArea* area = GetMDIArea();
    if (!area)
        return views;
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    // The stacking order lists the topmost window last.
    const QList<QMdiSubWindow*> stack = area->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.crbegin(); it != stack.crend(); ++it) {
        for (CMDIChildWnd* child : children) {
            QWidget* widget = child->GetQWidget();
            if (!widget || !(*it)->isAncestorOf(widget))
                continue;
            CView* view = child->GetActiveView();
            if (view && view->IsKindOf(viewClass))
                views.push_back(view);
        }
    }
    return views;
}

CView* CVidraFrameWnd::FindViewOfClass(const CRuntimeClass* viewClass) const {
    const std::vector<CView*> views = ViewsOfClass(viewClass);
    return views.empty() ? nullptr : views.front();
}

namespace {

// Close All and Close All Groups first cancel the operations under way: true when one runs,
// and command comes again once they have all ended.
bool CloseWaitsForOperations(CVidraFrameWnd* frame, UINT command) {
    const std::weak_ptr<bool> alive = frame->GetLifeToken();
    return CRunningOperation::CancelBeforeClose(CRunningOperation::AllDocuments(), frame,
                                                [frame, alive, command] {
                                                    if (!alive.expired() && frame->GetSafeHwnd())
                                                        frame->SendMessage(WM_COMMAND, command, 0);
                                                });
}

bool HoldsFrameOf(const CView* view, const CRuntimeClass* frameClass) {
    const QWidget* widget = view->GetQWidget();
    if (!widget)
        return false;
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        const CWnd* wnd = CWnd::FromWidget(child);
        if (wnd && wnd->IsKindOf(frameClass))
            return true;
    }
    return false;
}

}  // namespace

CView* CVidraFrameWnd::FindViewWithChildFrame(const CRuntimeClass* viewClass,
                                              const CRuntimeClass* frameClass) const {
    for (CView* view : ViewsOfClass(viewClass)) {
        if (HoldsFrameOf(view, frameClass))
            return view;
    }
    return nullptr;
}

CView* CVidraFrameWnd::FindGroupView(const CRuntimeClass* viewClass,
                                     const CRuntimeClass* frameClass) const {
    for (CView* view : ViewsOfClass(viewClass)) {
        if (!HoldsFrameOf(view, frameClass))
            return view;
    }
    return nullptr;
}

CRect CVidraFrameWnd::GetMDIClientRect() const {
    CRect rect;
    if (CWnd* client = GetMDIClient())
        client->GetWindowRect(&rect);
    return rect;
}

int CVidraFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CMDIFrameWndPlus::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_programOptions.LoadAllFromRegistry();
    m_snapkeepOptions.LoadOptionFile();
    for (int i = 0; i < kToolBarCount; ++i) {
        CToolBar& bar = m_toolBars[static_cast<size_t>(i)];
        const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                            CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
        if (!bar.CreateEx(this, 0, style, kToolBarWindowIdBase + static_cast<UINT>(i)))
            return -1;
        bar.LoadToolBar(kToolBarWindowIdBase + static_cast<UINT>(i));
        bar.SetWindowText(QString::fromLatin1(kToolBarSpecs[i].title));
    }
    int large = 0;
    const bool useLarge = IntegerSetting(*this, QStringLiteral("View:UseLargeTB"), &large);
    for (CToolBar& bar : m_toolBars)
        bar.UseLargeImages(useLarge && large != 0);
    ApplyToolBarSettings();
    return 0;
}

void CVidraFrameWnd::OnDestroy() {
    m_programOptions.SaveAllToRegistry();
    m_snapkeepOptions.SaveOptionFile();
    CMDIFrameWndPlus::OnDestroy();
}

void CVidraFrameWnd::ApplyToolBarSettings() {
    for (int i = 0; i < kToolBarCount; ++i) {
        CToolBar& bar = m_toolBars[static_cast<size_t>(i)];
        if (!bar.GetSafeHwnd())
            continue;
        const char* key = kToolBarSpecs[i].key;
        int shown = 0;
        if (!key || bar.GetCount() == 0) {
            // The bars without a setting, or whose commands are not built, stay hidden.
            ShowControlBar(&bar, FALSE, FALSE);
        } else if (IntegerSetting(*this, QString::fromLatin1(key), &shown)) {
            ShowControlBar(&bar, shown != 0, FALSE);
        }
    }
}

int CVidraFrameWnd::ToolBarOfCommand(UINT nID) {
    for (int i = 0; i < kToolBarCount; ++i) {
        if (kToolBarSpecs[i].command == nID && nID != 0)
            return i;
    }
    return -1;
}

void CVidraFrameWnd::OnToggleToolBar(UINT nID) {
    const int index = ToolBarOfCommand(nID);
    if (index < 0)
        return;
    CToolBar& bar = m_toolBars[static_cast<size_t>(index)];
    const QString key = QString::fromLatin1(kToolBarSpecs[index].key);
    int shown = bar.IsVisible() ? 1 : 0;
    IntegerSetting(*this, key, &shown);
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = shown != 0 ? 0 : 1;
    if (SUCCEEDED(SetSetting(key, value, -1)))
        ApplyToolBarSettings();
    else
        ShowControlBar(&bar, value.lVal, FALSE);
}

void CVidraFrameWnd::OnUpdateToolBarCheck(CCmdUI* pCmdUI) {
    const int index = ToolBarOfCommand(pCmdUI->m_nID);
    if (index < 0)
        return;
    int shown = m_toolBars[static_cast<size_t>(index)].IsVisible() ? 1 : 0;
    IntegerSetting(*this, QString::fromLatin1(kToolBarSpecs[index].key), &shown);
    pCmdUI->SetCheck(shown != 0 ? 1 : 0);
}

void CVidraFrameWnd::OnUpdateDisabled(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

void CVidraFrameWnd::OnFeatureNotAvailable() {
    AfxMessageBox(QStringLiteral("Sorry, this feature is not available."));
}

void CVidraFrameWnd::OpenChosenFiles(const QString& title, const QString& filter,
                                     bool reportFailures) {
    CFileDialog dialog(TRUE, QString(), QString(),
                       OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT, filter, this);
    if (!title.isEmpty())
        dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return;
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (const QString& path : dialog.GetPathNames()) {
        if (!app->OpenDocumentFile(path) && reportFailures)
            AfxMessageBox(QStringLiteral("Error opening file %1.").arg(path));
    }
}

void CVidraFrameWnd::OnFileOpenVideo() {
    OpenChosenFiles(QString(), QString::fromLatin1(kVideoFilter), true);
}

void CVidraFrameWnd::OnFileOpenDataFile() {
    OpenChosenFiles(QStringLiteral("Select Data File to Load"),
                    QStringLiteral("Data Files (*.mdat;*.au2;*.vidatqn)|*.mdat;*.au2;*.vidatqn||"),
                    false);
}

void CVidraFrameWnd::OnFileOpenPlayGroup() {
    const QString extension = QStringLiteral(".playgrp");
    OpenChosenFiles(QStringLiteral("Select Play Group to Load"),
                    QStringLiteral("Play Group Files (*%1)|*%1||").arg(extension), false);
}

namespace {

IDeviceSelection* s_deviceSelection = nullptr;

}  // namespace

IDeviceSelection* IDeviceSelection::Get() {
    return s_deviceSelection;
}

void IDeviceSelection::Install(IDeviceSelection* selection) {
    s_deviceSelection = selection;
}

QString CVidraFrameWnd::AddVideoOrDevice() {
    // Without the device layer only files can be added.
    IDeviceSelection* selection = IDeviceSelection::Get();
    const int session = selection ? selection->ChooseSession() : 1;
    if (session < 0)
        return QString();
    if (session == 0) {
        CDeviceId id;
        if (selection->ChooseDevice(&id) != IDOK || id.IsNone())
            return QString();
        return QStringLiteral("__launchXXXdevice") + id.ToString();
    }
    CFileDialog dialog(TRUE, QString(), QString(),
                       OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT,
                       QString::fromLatin1(kVideoFilter), AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return QString();
    const QStringList paths = dialog.GetPathNames();
    return paths.isEmpty() ? QString() : paths.front();
}

void CVidraFrameWnd::OnWindowList() {
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    QStringList names;
    int current = -1;
    for (CMDIChildWnd* child : children) {
        if (child == MDIGetActive())
            current = static_cast<int>(names.size());
        names.append(child->GetWindowText());
    }
    CDlgWindowList dialog(names, current, this);
    const INT_PTR chosen = dialog.DoModal();
    if (chosen >= 0 && chosen < static_cast<INT_PTR>(children.size()))
        MDIActivate(children[static_cast<size_t>(chosen)]);
}

void CVidraFrameWnd::OnActivateGroup(UINT nID) {
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    const size_t index = nID - ID_WINDOW_GROUP_FIRST;
    if (index < children.size())
        MDIActivate(children[index]);
}

void CVidraFrameWnd::OnUpdateGroupEntry(CCmdUI* pCmdUI) {
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    const size_t index = pCmdUI->m_nID - ID_WINDOW_GROUP_FIRST;
    const bool exists = index < children.size();
    if (auto* item = dynamic_cast<CActionCmdUI*>(pCmdUI))
        item->GetAction()->setVisible(exists);
    if (!exists)
        return;
    pCmdUI->SetText(QStringLiteral("&%1 %2").arg(index + 1).arg(children[index]->GetWindowText()));
    pCmdUI->SetCheck(children[index] == MDIGetActive() ? 1 : 0);
}

void CVidraFrameWnd::OnToggleControlBar() {
    // The record control-panel bar comes with the device layer; until then there is none.
    if (CControlBar* bar = GetControlBar(ID_VIEW_CONTROL_BAR))
        ShowControlBar(bar, !bar->IsVisible(), FALSE);
    else
        OnFeatureNotAvailable();
}

void CVidraFrameWnd::OnUpdateControlBar(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(ID_VIEW_CONTROL_BAR);
    pCmdUI->SetCheck(bar && bar->IsVisible() ? 1 : 0);
}

void CVidraFrameWnd::OnNewPlayProject() {
    int flatten = 0;
    if (IntegerSetting(*this, QStringLiteral("AppBehave:bFlatten_to_2"), &flatten) &&
        flatten != 0) {
        AfxMessageBox(QStringLiteral(
            "Your current Program Option settings do not allow additional Play Groups."));
        return;
    }
    if (CVidraApp* app = AfxGetVidraApp())
        app->CreateDocumentByKey(QStringLiteral("DT:Gen"),
                                 QString::fromLatin1(kEmptyPlayGroupProjectPath), TRUE);
}

ProjectMessageHandler CVidraFrameWnd::s_projectMessageHandler = nullptr;

void CVidraFrameWnd::SetProjectMessageHandler(ProjectMessageHandler handler) {
    s_projectMessageHandler = handler;
}

HostedFramesCloser CVidraFrameWnd::s_hostedFramesCloser = nullptr;
CDialog* CVidraFrameWnd::s_captureWizard = nullptr;

void CVidraFrameWnd::SetCaptureWizard(CDialog* wizard) {
    s_captureWizard = wizard;
}

void CVidraFrameWnd::OnCaptureWizard() {
    if (s_captureWizard && !s_captureWizard->GetSafeHwnd())
        s_captureWizard->DoModal();
}

void CVidraFrameWnd::OnUpdateCaptureWizard(CCmdUI* pCmdUI) {
    pCmdUI->Enable(s_captureWizard != nullptr);
}

void CVidraFrameWnd::SetHostedFramesCloser(HostedFramesCloser closer) {
    s_hostedFramesCloser = closer;
}

LRESULT CVidraFrameWnd::OnProjectMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!s_projectMessageHandler)
        return Default();
    return s_projectMessageHandler(message, wParam, lParam);
}

void CVidraFrameWnd::OnEditProgramOptions() {
    m_programOptions.DoModal();
    ApplyToolBarSettings();
}

// OK keeps what the check boxes show and writes it; Cancel leaves the values as they were.
void CVidraFrameWnd::OnEditSystemConfiguration() {
    if (m_systemConfiguration.DoModal() != IDOK)
        return;
    if (!m_systemConfiguration.m_strAppName.isEmpty())
        SetTitle(m_systemConfiguration.m_strAppName);
    OnUpdateFrameTitle(TRUE);
    m_systemConfiguration.Save();
}

void CVidraFrameWnd::OnEditCopyApplicationWindow() {
    MessageBoxPrompt prompt;
    prompt.caption = QString::fromLatin1(kMainTitle);
    prompt.owner = GetQWidget();
    prompt.text = AfxCopyWindowToClipboard(this)
                      ? QStringLiteral("Application window copied to clipboard.")
                      : QStringLiteral("Failed to copy application window to clipboard.");
    AfxPrompter().MessageBox(prompt);
}

void CVidraFrameWnd::CloseEverything() {
    if (CWinApp* app = AfxGetApp())
        app->CloseAllDocuments(FALSE);
    // Windows without a document close themselves.
    for (CMDIChildWnd* child : GetMDIChildren())
        child->SendMessage(WM_CLOSE);
}

void CVidraFrameWnd::OnCloseAllGroups() {
    if (CloseWaitsForOperations(this, ID_WINDOW_CLOSE_ALL_GROUPS))
        return;
    MessageBoxPrompt prompt;
    prompt.text =
        QStringLiteral("Closing all groups will close all video and data windows.  Continue?");
    prompt.caption = QString::fromLatin1(kMainTitle);
    prompt.type = MB_YESNO | MB_ICONQUESTION;
    prompt.owner = GetQWidget();
    if (AfxPrompter().MessageBox(prompt) != IDYES)
        return;
    CWinApp* app = AfxGetApp();
    if (app && !app->SaveAllModified())
        return;
    CloseEverything();
}

void CVidraFrameWnd::OnCloseAllWindows() {
    if (CloseWaitsForOperations(this, ID_WINDOW_CLOSE_ALL))
        return;
    // A project closes its windows itself, so that each is asked the way its own close asks.
    for (CMDIChildWnd* child : GetMDIChildren()) {
        CView* view = child->GetActiveView();
        if (!(view && s_hostedFramesCloser && s_hostedFramesCloser(view)))
            child->SendMessage(WM_CLOSE);
    }
}

void CVidraFrameWnd::OnUpdateNeedsActiveChild(CCmdUI* pCmdUI) {
    pCmdUI->Enable(MDIGetActive() != nullptr);
}
