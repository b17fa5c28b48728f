#include "platform/framework/RecordingPrompter.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

CRecordingPrompter::CRecordingPrompter(const QString& logPath) : m_logPath(logPath) {}

void CRecordingPrompter::Append(const RecordedPrompt& prompt, const QString& answer) {
    QJsonObject line;
    line.insert(QStringLiteral("kind"), PromptKindName(prompt.kind));
    line.insert(QStringLiteral("text"), prompt.text);
    line.insert(QStringLiteral("caption"), prompt.caption);
    line.insert(QStringLiteral("type"), static_cast<qint64>(prompt.type));
    line.insert(QStringLiteral("detail"), prompt.detail);
    line.insert(QStringLiteral("answer"), answer);
    QFile file(m_logPath);
    // Written at once, so the prompts before a crash are still there.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}

int CRecordingPrompter::MessageBox(const MessageBoxPrompt& prompt) {
    const int answer = MessageBoxDefaultAnswer(prompt.type);
    Append(Describe(prompt), QString::number(answer));
    return answer;
}

FileDialogAnswer CRecordingPrompter::FileDialog(const FileDialogPrompt& prompt) {
    FileDialogAnswer answer;
    if (!prompt.fileName.isEmpty()) {
        answer.ok = true;
        answer.paths = {prompt.initialDir.isEmpty()
                            ? prompt.fileName
                            : QDir(prompt.initialDir).filePath(prompt.fileName)};
        answer.filterIndex = prompt.filterIndex;
    }
    Append(Describe(prompt), answer.ok ? answer.paths.front() : QString());
    return answer;
}

std::optional<QString> CRecordingPrompter::BrowseForFolder(const FolderPrompt& prompt) {
    Append(Describe(prompt), prompt.initialDir);
    if (prompt.initialDir.isEmpty())
        return std::nullopt;
    return prompt.initialDir;
}

std::optional<COLORREF> CRecordingPrompter::ChooseColor(const ColorPrompt& prompt) {
    const RecordedPrompt record = Describe(prompt);
    Append(record, record.detail);
    return prompt.initial;
}

std::vector<RecordedPrompt> CRecordingPrompter::ReadLog(const QString& logPath) {
    std::vector<RecordedPrompt> prompts;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return prompts;
    while (!file.atEnd()) {
        const QJsonDocument doc = QJsonDocument::fromJson(file.readLine());
        if (!doc.isObject())
            continue;
        const QJsonObject line = doc.object();
        RecordedPrompt prompt;
        const QString kind = line.value(QStringLiteral("kind")).toString();
        bool known = false;
        for (PromptKind k : {PromptKind::MessageBox, PromptKind::FileOpen, PromptKind::FileSave,
                             PromptKind::Folder, PromptKind::Color}) {
            if (PromptKindName(k) == kind) {
                prompt.kind = k;
                known = true;
            }
        }
        if (!known)
            continue;
        prompt.text = line.value(QStringLiteral("text")).toString();
        prompt.caption = line.value(QStringLiteral("caption")).toString();
        prompt.type = static_cast<UINT>(line.value(QStringLiteral("type")).toInteger());
        prompt.detail = line.value(QStringLiteral("detail")).toString();
        prompts.push_back(prompt);
    }
    return prompts;
}
