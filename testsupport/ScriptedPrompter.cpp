#include "testsupport/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {

std::string Quote(const QString& s) {
    return "\"" + s.toStdString() + "\"";
}

}  // namespace

ScriptedPrompter::ScriptedPrompter() : m_previous(AfxSetPrompter(this)) {}

ScriptedPrompter::~ScriptedPrompter() {
    AfxSetPrompter(m_previous);
    for (const Step& step : m_script) {
        ADD_FAILURE() << "Scripted answer never asked for"
                      << (step.kind == StepKind::MessageBox ? ": message box " + Quote(step.text)
                                                            : std::string());
    }
}

void ScriptedPrompter::ExpectMessageBox(const QString& text, int answer) {
    Step step{StepKind::MessageBox, text, answer, {}, {}, {}, {}};
    m_script.push_back(step);
}

void ScriptedPrompter::AnswerFileDialog(const QStringList& paths, int filterIndex,
                                        std::function<void(const FileDialogPrompt&)> meanwhile) {
    Step step{StepKind::File,       {}, 0, {!paths.isEmpty(), paths, filterIndex},
              std::move(meanwhile), {}, {}};
    m_script.push_back(step);
}

void ScriptedPrompter::AnswerFolder(const std::optional<QString>& folder) {
    Step step{StepKind::Folder, {}, 0, {}, {}, folder, {}};
    m_script.push_back(step);
}

void ScriptedPrompter::AnswerColor(const std::optional<COLORREF>& color) {
    Step step{StepKind::Color, {}, 0, {}, {}, {}, color};
    m_script.push_back(step);
}

std::optional<ScriptedPrompter::Step> ScriptedPrompter::Next(StepKind kind,
                                                             const RecordedPrompt& prompt) {
    m_prompts.push_back(prompt);
    if (m_script.empty() || m_script.front().kind != kind) {
        // A step of another kind is used up, so one wrong prompt makes one failure.
        if (!m_script.empty())
            m_script.pop_front();
        ADD_FAILURE() << "Unexpected " << PromptKindName(prompt.kind).toStdString()
                      << " prompt: " << Quote(prompt.text) << " (caption " << Quote(prompt.caption)
                      << ")";
        return std::nullopt;
    }
    Step step = m_script.front();
    m_script.pop_front();
    return step;
}

int ScriptedPrompter::MessageBox(const MessageBoxPrompt& prompt) {
    const std::optional<Step> step = Next(StepKind::MessageBox, Describe(prompt));
    if (!step)
        return MessageBoxDefaultAnswer(prompt.type);
    EXPECT_EQ(step->text.toStdString(), prompt.text.toStdString())
        << "Message box text differs from the scripted one";
    return step->answer;
}

FileDialogAnswer ScriptedPrompter::FileDialog(const FileDialogPrompt& prompt) {
    m_filePrompts.push_back(prompt);
    const std::optional<Step> step = Next(StepKind::File, Describe(prompt));
    if (step && step->meanwhile)
        step->meanwhile(prompt);
    return step ? step->file : FileDialogAnswer{};
}

std::optional<QString> ScriptedPrompter::BrowseForFolder(const FolderPrompt& prompt) {
    const std::optional<Step> step = Next(StepKind::Folder, Describe(prompt));
    return step ? step->folder : std::nullopt;
}

std::optional<COLORREF> ScriptedPrompter::ChooseColor(const ColorPrompt& prompt) {
    const std::optional<Step> step = Next(StepKind::Color, Describe(prompt));
    return step ? step->color : std::nullopt;
}
