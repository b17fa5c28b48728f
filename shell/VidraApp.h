#pragma once

// CVidraApp: the reusable part of the application object. It keeps the program and current
// folders, holds the single-instance lock for the life of the process, registers document
// templates under key strings and creates documents by key for every subsystem.

#include "platform/framework/WinApp.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class CInstanceChannel;
class QLockFile;

// The message shown by a second start while another copy runs.
inline constexpr UINT IDS_ANOTHER_INSTANCE = 16387;
inline constexpr const char* kUnregisterDoneText =
    "The program's file types have been removed from the desktop and the registry.";
inline constexpr const char* kUnregisterFailedText =
    "Not all of the program's file types could be removed from the desktop and the registry.";

class CVidraApp : public CWinApp {
    DECLARE_DYNAMIC(CVidraApp)

public:
    explicit CVidraApp(const QString& appName = QString());
    ~CVidraApp() override;

    // Folders and the single-instance lock. FALSE only when another process holds the lock:
    // the files named on the command line are then handed to that process and the start ends
    // quietly; a start without files (or one the running copy does not answer) says that
    // another copy runs.
    BOOL InitInstance() override;
    // Releases the lock and deletes the document manager; the exit code is non-zero when
    // start-up stopped.
    int ExitInstance() override;
    // The unregister command removes the shell file types and says whether that worked (not
    // when started embedded); the program then ends. Other commands as the framework's.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo) override;

    // Appends the key and the template together, so that both lists stay index-aligned.
    void AddDocTemplateWithKey(const QString& key, CDocTemplate* pTemplate);
    // Stores the four creation parameters, then opens a document through the template
    // registered under key (exact comparison). Null for an unknown key.
    virtual CDocument* CreateDocumentByKey(const QString& key, const QString& pathName,
                                           BOOL bMakeVisible, DWORD param0 = 0, DWORD param1 = 0,
                                           DWORD param2 = 0, DWORD param3 = 0);
    // Copies the last stored creation parameters to each given out pointer.
    BOOL GetPendingCreateParams(DWORD* param0, DWORD* param1, DWORD* param2, DWORD* param3) const;
    // FALSE, leaving value alone, for an index outside 0-5.
    BOOL GetCreateOption(int index, int* value) const;
    // The key a template was registered under, or an empty text.
    QString KeyOfTemplate(const CDocTemplate* pTemplate) const;
    // The template registered under key (exact comparison), or nullptr.
    CDocTemplate* GetTemplateByKey(const QString& key) const;

    // With a trailing separator.
    const QString& GetProgramFolder() const { return m_strProgramFolder; }
    const QString& GetCurrentFolder() const { return m_strCurrentFolder; }

    // The lock file's path: "SPANREC.lock" in the user's runtime folder.
    static QString LockFilePath();
    // The local socket beside the lock through which a second start hands over its files.
    static QString ChannelName();

    // Opens the files a second start handed over, each as if named on the command line, and
    // brings the main window to the front.
    virtual void OpenHandedFiles(const QStringList& files);

protected:
    // The exit code ExitInstance returns; start-up failures set it.
    int m_nExitCode = 0;

private:
    QString m_strProgramFolder;
    QString m_strCurrentFolder;
    std::unique_ptr<QLockFile> m_pLock;
    std::unique_ptr<CInstanceChannel> m_pChannel;
    QStringList m_keys;
    std::array<DWORD, 4> m_pendingParams{};
    std::array<int, 6> m_createOptions{0, 1, 0, 0, 0, 0};
};

// The application object as a CVidraApp, or nullptr.
CVidraApp* AfxGetVidraApp();
