#pragma once

// CWinApp: the one application object of the process. AfxWinMain runs it: InitInstance, the
// message loop with idle processing (OnIdle) and an application-wide input filter
// (PreTranslateMessage), then ExitInstance. It owns the document manager, the recent-file list
// and the profile under HKEY_CURRENT_USER "Software\<company>\<app>", and its name is the
// program title that captions message boxes. Qt's QApplication (made by main) does the looping.

#include "platform/framework/CmdTarget.h"
#include "platform/framework/CommandLineInfo.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/Position.h"

#include <QString>
#include <QStringList>

#include <memory>

class CDocManager;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;
struct RegKey;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
    DECLARE_MESSAGE_MAP()

public:
    // Becomes the process's application object; there is one at a time. An empty name means
    // the executable's base name.
    explicit CWinApp(const QString& appName = QString());
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    QString m_pszAppName;
    QString m_pszRegistryKey;  // the company; empty: no profile
    QString m_pszProfileName;
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // Owned; a derived class may replace it before templates are added, or delete it in
    // ExitInstance and clear the pointer.
    CDocManager* m_pDocManager = nullptr;

    // The arguments after the program name; AfxWinMain sets them from QApplication.
    void SetArguments(const QStringList& arguments) { m_arguments = arguments; }
    const QStringList& GetArguments() const { return m_arguments; }

    virtual BOOL InitInstance();
    // Saves the profile settings; returns the process exit code.
    virtual int ExitInstance();
    // The message loop: idle processing whenever the queue runs empty, until the quit request;
    // then ExitInstance. Returns the exit code.
    virtual int Run();
    // Called with a growing count while the queue is empty; returns whether more idle work
    // is wanted. Count 0 updates the main frame's and its children's control bars.
    virtual BOOL OnIdle(LONG lCount);
    // Sees every input message (keys, mouse buttons, mouse moves) before its window; TRUE
    // swallows it. The default offers it to the window and its parents (CWnd::PreTranslateMessage).
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Command line.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Opens or creates what the command line asks for. With /Embedding or /Automation nothing
    // is opened. FALSE ends the program (a file that would not open, an unregistration).
    virtual BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // Profile.
    void SetRegistryKey(const QString& company);
    // "Software\<company>\<app>", or empty without a registry key.
    QString GetAppRegistryKeyPath() const;
    UINT GetProfileInt(const QString& section, const QString& entry, int nDefault);
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue = QString());
    BOOL WriteProfileInt(const QString& section, const QString& entry, int nValue);
    // A null value deletes the entry.
    BOOL WriteProfileString(const QString& section, const QString& entry, const QString& value);
    // Makes the recent-file list of nMaxMRU entries and reads it from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(const QString& pathName);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }

    // Documents.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(const QString& fileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount() const;

    // Whether Run's loop is going.
    bool IsRunning() const { return m_running; }

protected:
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    void OnOpenRecentFile(UINT nID);

private:
    class InputFilter;
    // Defaults the name from the executable, sets the program title and starts seeing input.
    void AttachToQt();
    RegKey* OpenSectionKey(const QString& section, bool create);
    void RunIdle();

    QStringList m_arguments;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    std::unique_ptr<InputFilter> m_inputFilter;
    bool m_running = false;
    bool m_idleDone = false;

    friend int AfxWinMain();
};

// The application object, or nullptr.
CWinApp* AfxGetApp();
// The application's main window, or nullptr.
CWnd* AfxGetMainWnd();
// Runs the application object: InitInstance, then Run (or ExitInstance when InitInstance
// fails), then deletes the document manager. QApplication must exist. Returns the exit code.
int AfxWinMain();
