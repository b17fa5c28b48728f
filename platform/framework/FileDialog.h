#pragma once

// CFileDialog: the open and save-as file dialogs, asked through the prompter. The filter is
// the framework's '|' form; a chosen name without an extension gets the default extension.

#include "platform/framework/IPrompter.h"

class CWnd;

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_EXPLORER = 0x00080000;

// The path as a file dialog hands it back: with ".defaultExt" added when its last component
// names no extension (and defaultExt is not empty).
QString WithDefaultExtension(const QString& path, const QString& defaultExt);

class CFileDialog {
public:
    // The settings callers may change between construction and DoModal.
    struct OpenFileName {
        QString lpstrTitle;
        QString lpstrInitialDir;
        DWORD Flags = 0;
        int nFilterIndex = 1;
    };
    OpenFileName m_ofn;

    CFileDialog(BOOL bOpenFileDialog, const QString& defaultExt = QString(),
                const QString& fileName = QString(),
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                const QString& filter = QString(), CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK with the chosen names, or IDCANCEL.
    virtual int DoModal();

    QString GetPathName() const { return m_paths.isEmpty() ? QString() : m_paths.front(); }
    // Every chosen path (several with OFN_ALLOWMULTISELECT).
    const QStringList& GetPathNames() const { return m_paths; }
    QString GetFileName() const;
    QString GetFileExt() const;
    QString GetFileTitle() const;

    // Makes entry index (1-based) the current type, in the dialog when it is up.
    void SelectType(int index);

protected:
    // Called with the chosen names before they are accepted; TRUE refuses them and the
    // dialog asks again.
    virtual BOOL OnFileNameOK();
    // A panel of more options shown in the dialog while it is up; none by default.
    virtual QWidget* GetExtension() { return nullptr; }
    // The user picked entry index (1-based) with typedName in the name box; returns the name
    // the box shows from then on (empty: unchanged).
    virtual QString OnTypeChange(int index, const QString& typedName);

private:
    bool m_open;
    QString m_defaultExt;
    QString m_fileName;
    QString m_filter;
    CWnd* m_parent;
    QStringList m_paths;
    std::shared_ptr<std::function<void(int)>> m_selectType;
};
