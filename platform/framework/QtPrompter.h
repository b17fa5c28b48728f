#pragma once

// CQtPrompter: the prompter of the running program, showing Qt's message box, file dialog,
// folder browser and colour dialog modally.

#include "platform/framework/IPrompter.h"

class CQtPrompter : public IPrompter {
public:
    int MessageBox(const MessageBoxPrompt& prompt) override;
    FileDialogAnswer FileDialog(const FileDialogPrompt& prompt) override;
    std::optional<QString> BrowseForFolder(const FolderPrompt& prompt) override;
    std::optional<COLORREF> ChooseColor(const ColorPrompt& prompt) override;
};
