#include "platform/framework/WinApp.h"

#include "platform/framework/DocManager.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/RecentFileList.h"
#include "platform/framework/Wnd.h"
#include "platform/registry/Registry.h"
#include "platform/wintypes/Assert.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {

CWinApp* s_app = nullptr;

constexpr int kRecentFileListMax = 16;

}  // namespace

// Turns Qt input on its way to any widget into a message for PreTranslateMessage.
class CWinApp::InputFilter : public QObject {
public:
    explicit InputFilter(CWinApp* app) : m_app(app) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        MSG msg;
        if (!TranslateQtInput(widget, event, &msg))
            return false;
        // Input nobody took travels on to the parents (keys as the same event, mouse
        // presses as copies with the same time stamp): look at it at its first receiver only.
        const Identity identity{event->type(), static_cast<const QInputEvent*>(event)->timestamp(),
                                msg.wParam, GlobalPosition(event)};
        if (identity == m_last && m_lastReceiver && m_lastReceiver != widget &&
            widget->isAncestorOf(m_lastReceiver))
            return false;
        m_last = identity;
        m_lastReceiver = widget;
        return m_app->PreTranslateMessage(&msg) != FALSE;
    }

private:
    struct Identity {
        QEvent::Type type = QEvent::None;
        quint64 timestamp = 0;
        WPARAM wParam = 0;
        QPoint global;
        bool operator==(const Identity&) const = default;
    };

    static QPoint GlobalPosition(const QEvent* event) {
        if (const auto* mouse = dynamic_cast<const QMouseEvent*>(event))
            return mouse->globalPosition().toPoint();
        return QPoint();
    }

    CWinApp* m_app;
    Identity m_last;
    QPointer<QWidget> m_lastReceiver;
};

CWinApp* AfxGetApp() {
    return s_app;
}

CWnd* AfxGetMainWnd() {
    return s_app ? s_app->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(const QString& appName) : m_pszAppName(appName) {
    RM_ASSERT(s_app == nullptr);
    s_app = this;
    // A global object is made before QApplication; AfxWinMain finishes the set-up then.
    if (QCoreApplication::instance())
        AttachToQt();
}

void CWinApp::AttachToQt() {
    if (m_pszAppName.isEmpty())
        m_pszAppName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (m_pszProfileName.isEmpty())
        m_pszProfileName = m_pszAppName;
    AfxSetAppTitle(m_pszAppName);
    if (!m_inputFilter) {
        m_inputFilter = std::make_unique<InputFilter>(this);
        QCoreApplication::instance()->installEventFilter(m_inputFilter.get());
    }
}

CWinApp::~CWinApp() {
    m_inputFilter.reset();
    delete m_pDocManager;
    m_pDocManager = nullptr;
    if (s_app == this)
        s_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    int code = 0;
    AfxTakeQuitRequest(&code);
    return code;
}

void CWinApp::RunIdle() {
    if (m_idleDone)
        return;
    // Idle work repeats while it asks for more; anything arriving meanwhile waits for the
    // next round, as idle work is short.
    for (LONG count = 0; count < 64 && OnIdle(count); ++count) {
    }
    m_idleDone = true;
}

int CWinApp::Run() {
    // The program ends when its main window goes (PostQuitMessage), not when Qt sees no
    // window: an embedded start has none, and dialogs come and go before the main window.
    QApplication::setQuitOnLastWindowClosed(false);
    m_running = true;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QMetaObject::Connection block;
    QMetaObject::Connection awake;
    if (dispatcher) {
        block = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock,
                                 [this] { RunIdle(); });
        awake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake,
                                 [this] { m_idleDone = false; });
    }
    int code = 0;
    if (!AfxTakeQuitRequest(&code))
        QApplication::exec();
    QObject::disconnect(block);
    QObject::disconnect(awake);
    m_running = false;
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount != 0)
        return FALSE;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->OnIdleUpdateCmdUI();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    for (CWnd* wnd = CWnd::FromHandle(pMsg->hwnd); wnd; wnd = wnd->GetParent()) {
        if (wnd->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return FALSE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    for (qsizetype i = 0; i < m_arguments.size(); ++i) {
        const QString& argument = m_arguments[i];
        const bool flag = CCommandLineInfo::IsFlag(argument);
        rCmdInfo.ParseParam(flag ? argument.mid(1) : argument, flag, i + 1 == m_arguments.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    if (rCmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister) {
        if (m_pDocManager)
            m_pDocManager->UnregisterShellFileTypes();
        return FALSE;
    }
    // Started to serve another program: the main window stays hidden and nothing opens.
    if (rCmdInfo.m_bRunEmbedded || rCmdInfo.m_bRunAutomated)
        return TRUE;
    switch (rCmdInfo.m_nShellCommand) {
        case CCommandLineInfo::FileNew:
            if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
                OnFileNew();
            return TRUE;
        case CCommandLineInfo::FileOpen:
            return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
        default:
            return TRUE;
    }
}

void CWinApp::SetRegistryKey(const QString& company) {
    m_pszRegistryKey = company;
    m_pszProfileName = m_pszAppName;
}

QString CWinApp::GetAppRegistryKeyPath() const {
    if (m_pszRegistryKey.isEmpty() || m_pszProfileName.isEmpty())
        return QString();
    return "Software\\" + m_pszRegistryKey + "\\" + m_pszProfileName;
}

HKEY CWinApp::OpenSectionKey(const QString& section, bool create) {
    const QString path = GetAppRegistryKeyPath();
    if (path.isEmpty())
        return nullptr;
    HKEY key = nullptr;
    const QString full = path + "\\" + section;
    const long rc = create ? RegCreateKeyEx(HKEY_CURRENT_USER, full, KEY_ALL_ACCESS, &key)
                           : RegOpenKeyEx(HKEY_CURRENT_USER, full, 0, KEY_READ, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(const QString& section, const QString& entry, int nDefault) {
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return static_cast<UINT>(nDefault);
    DWORD value = 0;
    const long rc = RegQueryDword(key, entry, &value);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : static_cast<UINT>(nDefault);
}

QString CWinApp::GetProfileString(const QString& section, const QString& entry,
                                  const QString& defaultValue) {
    HKEY key = OpenSectionKey(section, false);
    if (!key)
        return defaultValue;
    QString value;
    const long rc = RegQueryString(key, entry, &value);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : defaultValue;
}

BOOL CWinApp::WriteProfileInt(const QString& section, const QString& entry, int nValue) {
    HKEY key = OpenSectionKey(section, true);
    if (!key)
        return FALSE;
    const long rc = RegSetDword(key, entry, static_cast<DWORD>(nValue));
    return RegCloseKey(key) == ERROR_SUCCESS && rc == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(const QString& section, const QString& entry,
                                 const QString& value) {
    HKEY key = OpenSectionKey(section, true);
    if (!key)
        return FALSE;
    long rc = ERROR_SUCCESS;
    if (value.isNull()) {
        rc = RegDeleteValue(key, entry);
        if (rc == ERROR_FILE_NOT_FOUND)
            rc = ERROR_SUCCESS;
    } else {
        rc = RegSetString(key, entry, value);
    }
    return RegCloseKey(key) == ERROR_SUCCESS && rc == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    const int size = std::min(static_cast<int>(nMaxMRU), kRecentFileListMax);
    m_pRecentFileList.reset();
    if (size <= 0)
        return;
    m_pRecentFileList = std::make_unique<CRecentFileList>("Recent File List", "File%d", size);
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(const QString& pathName) {
    if (m_pRecentFileList)
        m_pRecentFileList->Add(pathName);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (!m_pDocManager)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
    return m_pDocManager ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}

CDocument* CWinApp::OpenDocumentFile(const QString& fileName) {
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(fileName) : nullptr;
}

BOOL CWinApp::SaveAllModified() {
    return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    if (m_pDocManager)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount() const {
    return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0;
}

void CWinApp::OnFileNew() {
    if (m_pDocManager)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
    if (m_pDocManager)
        m_pDocManager->OnFileOpen();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    if (!m_pRecentFileList)
        return;
    const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    const QString path = (*m_pRecentFileList)[index];
    if (path.isEmpty())
        return;
    // A file that no longer opens leaves the list.
    if (!OpenDocumentFile(path))
        m_pRecentFileList->Remove(index);
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    app->SetArguments(arguments);
    app->AttachToQt();
    int code = 0;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    } else {
        code = app->Run();
    }
    // The templates hold Qt objects, which must go while QApplication still exists; a
    // global application object outlives it.
    delete app->m_pDocManager;
    app->m_pDocManager = nullptr;
    app->m_inputFilter.reset();
    return code;
}
