#pragma once

// IPrompter: the one place through which every message box, file dialog, folder browser and
// colour chooser of the program asks the user. The real prompter shows Qt dialogs; tests put
// a scripted one in its place, and a child process started by a test picks a recording one
// by the environment variable kPromptLogVariable.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinMessages.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

inline constexpr const char* kPromptLogVariable = "REELMARK_PROMPT_LOG";

struct MessageBoxPrompt {
    QString text;
    QString caption;    // already resolved: the program's title when the caller gave none
    UINT type = MB_OK;  // MB_ buttons, icon and default button
    QWidget* owner = nullptr;
};

struct FileDialogPrompt {
    bool open = true;
    QString title;
    QString filter;       // the framework's form: "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"
    int filterIndex = 1;  // 1-based
    QString defaultExt;
    QString fileName;
    QString initialDir;
    DWORD flags = 0;  // OFN_ flags
    QWidget* owner = nullptr;
    // A panel of the caller's own options shown below the dialog's controls while it is up
    // (the caller keeps it; the dialog gives it back to its parent when it closes).
    QWidget* extension = nullptr;
    // Told when the user picks another type (1-based); returns the name the name box shows
    // from then on (empty: the box stays as it is).
    std::function<QString(int filterIndex, const QString& typedName)> typeChanged;
    // Filled in by a dialog that can change its type while it is up; the caller calls it to
    // make entry filterIndex current.
    std::shared_ptr<std::function<void(int filterIndex)>> selectType;
};

struct FileDialogAnswer {
    bool ok = false;
    QStringList paths;
    int filterIndex = 1;
};

struct FolderPrompt {
    QString title;
    QString initialDir;
    QWidget* owner = nullptr;
};

struct ColorPrompt {
    COLORREF initial = 0;
    QWidget* owner = nullptr;
};

enum class PromptKind { MessageBox, FileOpen, FileSave, Folder, Color };

// What a prompt showed, as test prompters keep it: the text (a file dialog's or folder
// browser's title), the caption, the MB_/OFN_ flags, and the filter or initial value.
struct RecordedPrompt {
    PromptKind kind = PromptKind::MessageBox;
    QString text;
    QString caption;
    UINT type = 0;
    QString detail;
};

class IPrompter {
public:
    virtual ~IPrompter() = default;

    // Returns the button pressed: IDOK, IDCANCEL, IDYES, IDNO ...
    virtual int MessageBox(const MessageBoxPrompt& prompt) = 0;
    virtual FileDialogAnswer FileDialog(const FileDialogPrompt& prompt) = 0;
    // The chosen folder, or nothing when cancelled.
    virtual std::optional<QString> BrowseForFolder(const FolderPrompt& prompt) = 0;
    // The chosen colour, or nothing when cancelled.
    virtual std::optional<COLORREF> ChooseColor(const ColorPrompt& prompt) = 0;
};

// The prompter in use: the one set last, else a recording prompter when kPromptLogVariable
// names a file, else the Qt prompter.
IPrompter& AfxPrompter();
// Puts a prompter in place (nullptr: back to the default) and returns the one it replaces.
// The caller keeps ownership.
IPrompter* AfxSetPrompter(IPrompter* prompter);

// The program's title, the caption of message boxes that name none.
void AfxSetAppTitle(const QString& title);
QString AfxGetAppTitle();

// A message box without owner window, captioned with the program's title.
int AfxMessageBox(const QString& text, UINT nType = MB_OK);
// The folder browser; an empty text when cancelled.
QString AfxBrowseForFolder(const QString& title, QWidget* owner = nullptr,
                           const QString& initialDir = QString());

// The buttons of a message-box type, left to right, and the answer of its default button.
std::vector<int> MessageBoxButtons(UINT type);
int MessageBoxDefaultAnswer(UINT type);

RecordedPrompt Describe(const MessageBoxPrompt& prompt);
RecordedPrompt Describe(const FileDialogPrompt& prompt);
RecordedPrompt Describe(const FolderPrompt& prompt);
RecordedPrompt Describe(const ColorPrompt& prompt);
QString PromptKindName(PromptKind kind);
