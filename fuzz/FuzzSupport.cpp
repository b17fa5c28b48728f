#include "fuzz/FuzzSupport.h"

#include "platform/framework/IPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class SilentPrompter : public IPrompter {
public:
    int MessageBox(const MessageBoxPrompt& prompt) override {
        return MessageBoxDefaultAnswer(prompt.type);
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return std::nullopt; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return std::nullopt; }
};

QTemporaryDir* g_scratch = nullptr;

}  // namespace

void FuzzInit() {
    static bool done = false;
    if (done)
        return;
    done = true;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own globals are gone before a static application would be,
    // and what it then could not free would show as leaks. It stays reachable instead.
    static auto* app = new QApplication(argc, argv);
    (void)app;
    static SilentPrompter prompter;
    AfxSetPrompter(&prompter);
    static QTemporaryDir scratch;
    g_scratch = &scratch;
    // What a target stores in the registry stays in the scratch folder, never the user's.
    if (!qEnvironmentVariableIsSet("REELMARK_REGISTRY_DIR"))
        qputenv("REELMARK_REGISTRY_DIR", QFile::encodeName(scratch.filePath("registry")));
}

QString FuzzFile(const uint8_t* data, size_t size, const QString& name) {
    FuzzInit();
    const QString path = g_scratch->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}
