#include "shell/VidraApp.h"

#include "platform/framework/CommandLineInfo.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/Wnd.h"
#include "shell/DlgOptionsBase.h"
#include "shell/DocManagerEx.h"
#include "shell/InstanceChannel.h"
#include "shell/SaveController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QWidget>

IMPLEMENT_DYNAMIC(CVidraApp, CWinApp)

CVidraApp::CVidraApp(const QString& appName) : CWinApp(appName) {
    // Before any template is added, so that every template lands in it.
    m_pDocManager = new CDocManagerEx;
}

CVidraApp::~CVidraApp() = default;

QString CVidraApp::LockFilePath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/SPANREC.lock");
}

QString CVidraApp::ChannelName() {
    QString path = LockFilePath();
    path.chop(static_cast<qsizetype>(qstrlen(".lock")));
    return path + QStringLiteral(".socket");
}

void CVidraApp::OpenHandedFiles(const QStringList& files) {
    for (const QString& file : files)
        OpenDocumentFile(file);
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        if (QWidget* main = m_pMainWnd->GetQWidget()) {
            main->raise();
            main->activateWindow();
        }
    }
}

BOOL CVidraApp::InitInstance() {
    if (!m_pDocManager)
        m_pDocManager = new CDocManagerEx;
    m_strProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    // The whole path, however long.
    m_strCurrentFolder = QDir::currentPath() + QLatin1Char('/');
    CDlgOptionsBase::SetApplicationFolder(m_strCurrentFolder);
    // Every frame source made from here on saves through the prompting controller.
    CSaveController::Install();

    m_pLock = std::make_unique<QLockFile>(LockFilePath());
    // A running copy may hold the lock for days: only a lock whose owner is gone is stale.
    m_pLock->setStaleLockTime(0);
    if (!m_pLock->tryLock(0)) {
        m_pLock.reset();
        CCommandLineInfo info;
        ParseCommandLine(info);
        QStringList files;
        for (const QString& file : info.m_fileNames)
            files.append(QFileInfo(file).absoluteFilePath());
        if (!files.isEmpty() && CInstanceChannel::Send(ChannelName(), files))
            return FALSE;
        QString text;
        if (!LoadString(IDS_ANOTHER_INSTANCE, text))
            text =
                QStringLiteral("Another instance of this application was detected. Shutting Down.");
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        m_nExitCode = 1;
        return FALSE;
    }
    m_pChannel = std::make_unique<CInstanceChannel>();
    m_pChannel->Listen(ChannelName(), [this](const QStringList& files) { OpenHandedFiles(files); });
    return TRUE;
}

int CVidraApp::ExitInstance() {
    delete m_pDocManager;
    m_pDocManager = nullptr;
    m_pChannel.reset();
    if (m_pLock) {
        if (m_pLock->isLocked())
            m_pLock->unlock();
        m_pLock.reset();
    }
    const int code = CWinApp::ExitInstance();
    return m_nExitCode != 0 ? m_nExitCode : code;
}

void CVidraApp::AddDocTemplateWithKey(const QString& key, CDocTemplate* pTemplate) {
    m_keys.append(key);
    AddDocTemplate(pTemplate);
}

CDocument* CVidraApp::CreateDocumentByKey(const QString& key, const QString& pathName,
                                          BOOL bMakeVisible, DWORD param0, DWORD param1,
                                          DWORD param2, DWORD param3) {
    m_pendingParams = {param0, param1, param2, param3};
    CDocTemplate* pTemplate = GetTemplateByKey(key);
    return pTemplate ? pTemplate->OpenDocumentFile(pathName, bMakeVisible) : nullptr;
}

CDocTemplate* CVidraApp::GetTemplateByKey(const QString& key) const {
    const qsizetype index = m_keys.indexOf(key);
    if (index < 0)
        return nullptr;
    POSITION pos = GetFirstDocTemplatePosition();
    for (qsizetype i = 0; pos != nullptr; ++i) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        if (i == index)
            return pTemplate;
    }
    return nullptr;
}

BOOL CVidraApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    if (rCmdInfo.m_nShellCommand != CCommandLineInfo::AppUnregister)
        return CWinApp::ProcessShellCommand(rCmdInfo);
    bool removed = true;
    if (auto* manager = dynamic_cast<CDocManagerEx*>(m_pDocManager))
        removed = manager->RemoveShellFileTypes();
    else if (m_pDocManager)
        m_pDocManager->UnregisterShellFileTypes();
    if (!rCmdInfo.m_bRunEmbedded)
        AfxMessageBox(QString::fromLatin1(removed ? kUnregisterDoneText : kUnregisterFailedText),
                      removed ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CVidraApp::GetPendingCreateParams(DWORD* param0, DWORD* param1, DWORD* param2,
                                       DWORD* param3) const {
    DWORD* outs[4] = {param0, param1, param2, param3};
    for (size_t i = 0; i < 4; ++i) {
        if (outs[i])
            *outs[i] = m_pendingParams[i];
    }
    return TRUE;
}

BOOL CVidraApp::GetCreateOption(int index, int* value) const {
    if (index < 0 || index >= static_cast<int>(m_createOptions.size()) || !value)
        return FALSE;
    *value = m_createOptions[static_cast<size_t>(index)];
    return TRUE;
}

QString CVidraApp::KeyOfTemplate(const CDocTemplate* pTemplate) const {
    POSITION pos = GetFirstDocTemplatePosition();
    for (qsizetype i = 0; pos != nullptr && i < m_keys.size(); ++i) {
        if (GetNextDocTemplate(pos) == pTemplate)
            return m_keys[i];
    }
    return QString();
}

CVidraApp* AfxGetVidraApp() {
    return dynamic_cast<CVidraApp*>(AfxGetApp());
}
