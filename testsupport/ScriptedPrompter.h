#pragma once

#include "platform/framework/IPrompter.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// The prompter of tests: it records every prompt, answers from a script given in advance and
// fails the running test on a prompt the script does not expect, answering it with its default
// button so that nothing ever waits for a window. Installs itself while it lives; leftover
// answers when it goes fail the test too.
class ScriptedPrompter : public IPrompter {
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    // The next prompt is a message box with exactly this text, answered with answer.
    void ExpectMessageBox(const QString& text, int answer);
    // The next prompt is a file dialog (open or save); no paths means Cancel. While it is
    // "up", meanwhile gets the prompt (its options panel, its type hooks) before the answer.
    void AnswerFileDialog(const QStringList& paths, int filterIndex = 1,
                          std::function<void(const FileDialogPrompt&)> meanwhile = {});
    // The next prompt is the folder browser; nothing means Cancel.
    void AnswerFolder(const std::optional<QString>& folder);
    // The next prompt is the colour chooser; nothing means Cancel.
    void AnswerColor(const std::optional<COLORREF>& color);

    // Every prompt so far, in order.
    const std::vector<RecordedPrompt>& Prompts() const { return m_prompts; }
    // The file-dialog prompts as asked, with their owners and options.
    const std::vector<FileDialogPrompt>& FilePrompts() const { return m_filePrompts; }

    int MessageBox(const MessageBoxPrompt& prompt) override;
    FileDialogAnswer FileDialog(const FileDialogPrompt& prompt) override;
    std::optional<QString> BrowseForFolder(const FolderPrompt& prompt) override;
    std::optional<COLORREF> ChooseColor(const ColorPrompt& prompt) override;

private:
    enum class StepKind { MessageBox, File, Folder, Color };
    struct Step {
        StepKind kind;
        QString text;
        int answer = 0;
        FileDialogAnswer file;
        std::function<void(const FileDialogPrompt&)> meanwhile;
        std::optional<QString> folder;
        std::optional<COLORREF> color;
    };

    // The next step when it is of that kind; otherwise fails the test naming the prompt.
    std::optional<Step> Next(StepKind kind, const RecordedPrompt& prompt);

    IPrompter* m_previous;
    std::deque<Step> m_script;
    std::vector<RecordedPrompt> m_prompts;
    std::vector<FileDialogPrompt> m_filePrompts;
};
