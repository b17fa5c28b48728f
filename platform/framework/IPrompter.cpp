#include "platform/framework/IPrompter.h"

#include "platform/framework/QtPrompter.h"
#include "platform/framework/RecordingPrompter.h"

#include <QGuiApplication>

namespace {

IPrompter* s_prompter = nullptr;
QString s_appTitle;

}  // namespace

IPrompter& AfxPrompter() {
    if (s_prompter)
        return *s_prompter;
    static const QString logPath = qEnvironmentVariable(kPromptLogVariable);
    if (!logPath.isEmpty()) {
        static CRecordingPrompter recorder(logPath);
        return recorder;
    }
    static CQtPrompter real;
    return real;
}

IPrompter* AfxSetPrompter(IPrompter* prompter) {
    IPrompter* previous = s_prompter;
    s_prompter = prompter;
    return previous;
}

void AfxSetAppTitle(const QString& title) {
    s_appTitle = title;
}

QString AfxGetAppTitle() {
    if (!s_appTitle.isEmpty())
        return s_appTitle;
    return QGuiApplication::applicationDisplayName();
}

int AfxMessageBox(const QString& text, UINT nType) {
    return AfxPrompter().MessageBox(MessageBoxPrompt{text, AfxGetAppTitle(), nType, nullptr});
}

QString AfxBrowseForFolder(const QString& title, QWidget* owner, const QString& initialDir) {
    return AfxPrompter()
        .BrowseForFolder(FolderPrompt{title, initialDir, owner})
        .value_or(QString());
}

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

int MessageBoxDefaultAnswer(UINT type) {
    const std::vector<int> buttons = MessageBoxButtons(type);
    const size_t index = (type & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

RecordedPrompt Describe(const MessageBoxPrompt& prompt) {
    return {PromptKind::MessageBox, prompt.text, prompt.caption, prompt.type, QString()};
}

RecordedPrompt Describe(const FileDialogPrompt& prompt) {
    return {prompt.open ? PromptKind::FileOpen : PromptKind::FileSave, prompt.title, QString(),
            prompt.flags, prompt.filter};
}

RecordedPrompt Describe(const FolderPrompt& prompt) {
    return {PromptKind::Folder, prompt.title, QString(), 0, prompt.initialDir};
}

RecordedPrompt Describe(const ColorPrompt& prompt) {
    return {PromptKind::Color, QString(), QString(), 0,
            QStringLiteral("0x%1").arg(prompt.initial, 6, 16, QLatin1Char('0'))};
}

QString PromptKindName(PromptKind kind) {
    switch (kind) {
        case PromptKind::MessageBox:
            return QStringLiteral("MessageBox");
        case PromptKind::FileOpen:
            return QStringLiteral("FileOpen");
        case PromptKind::FileSave:
            return QStringLiteral("FileSave");
        case PromptKind::Folder:
            return QStringLiteral("Folder");
        case PromptKind::Color:
            return QStringLiteral("Color");
    }
    return {};
}
