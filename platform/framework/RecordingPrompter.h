#pragma once

// CRecordingPrompter: the prompter of a child process started by a test. It appends each
// prompt to a log file, one JSON object a line, and answers as the default button would:
// a message box with its default button, a file dialog or folder browser with the name it
// offers (cancelled when it offers none), a colour chooser with its initial colour.

#include "platform/framework/IPrompter.h"

class CRecordingPrompter : public IPrompter {
public:
    explicit CRecordingPrompter(const QString& logPath);

    int MessageBox(const MessageBoxPrompt& prompt) override;
    FileDialogAnswer FileDialog(const FileDialogPrompt& prompt) override;
    std::optional<QString> BrowseForFolder(const FolderPrompt& prompt) override;
    std::optional<COLORREF> ChooseColor(const ColorPrompt& prompt) override;

    // The prompts of a log in their order; lines that cannot be read are skipped.
    static std::vector<RecordedPrompt> ReadLog(const QString& logPath);

private:
    void Append(const RecordedPrompt& prompt, const QString& answer);

    QString m_logPath;
};
