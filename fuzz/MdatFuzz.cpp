// Fuzz target of the mdat reader: the bytes are opened as a ".mdat" file through
// CSensorDataSet::Open, and whatever is read must meet the model's invariants and save again.

#include "sensordata/model/DataInvariants.h"
#include "sensordata/model/SensorDataSet.h"

#include "platform/framework/IPrompter.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// Answers every prompt as its default button would, without a window.
class SilentPrompter : public IPrompter {
public:
    int MessageBox(const MessageBoxPrompt& prompt) override {
        return MessageBoxDefaultAnswer(prompt.type);
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return {}; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentPrompter s_prompter;
    static QTemporaryDir s_dir;
    IPrompter* previous = AfxSetPrompter(&s_prompter);
    const QString path = s_dir.filePath(QStringLiteral("input.mdat"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    CSensorDataSet set;
    if (set.Open(path) == S_OK) {
        const CVidraData& read = *set.GetData();
        if (!MeetsDataInvariants(read))
            std::abort();
        // Nothing beyond what the file itself holds was kept.
        if (read.m_channels.size() * size_t(read.m_nTotalScans) > size)
            std::abort();
        if (set.Save(s_dir.filePath(QStringLiteral("again.mdat"))) != S_OK)
            std::abort();
    }
    AfxSetPrompter(previous);
    return 0;
}
