#include "platform/framework/QtPrompter.h"

#include "platform/framework/FileDialog.h"
#include "platform/framework/FileFilter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

QMessageBox::StandardButton QtButton(int answer) {
    switch (answer) {
        case IDOK:
            return QMessageBox::Ok;
        case IDCANCEL:
            return QMessageBox::Cancel;
        case IDABORT:
            return QMessageBox::Abort;
        case IDRETRY:
            return QMessageBox::Retry;
        case IDIGNORE:
            return QMessageBox::Ignore;
        case IDYES:
            return QMessageBox::Yes;
        case IDNO:
            return QMessageBox::No;
        default:
            return QMessageBox::NoButton;
    }
}

QMessageBox::Icon QtIcon(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int CQtPrompter::MessageBox(const MessageBoxPrompt& prompt) {
    QMessageBox box(QtIcon(prompt.type), prompt.caption, prompt.text, QMessageBox::NoButton,
                    prompt.owner);
    const std::vector<int> answers = MessageBoxButtons(prompt.type);
    for (int answer : answers)
        box.addButton(QtButton(answer));
    box.setDefaultButton(QtButton(MessageBoxDefaultAnswer(prompt.type)));
    // Escape answers Cancel where there is one, else the only button.
    for (int answer : answers) {
        if (answer == IDCANCEL || answers.size() == 1)
            box.setEscapeButton(QtButton(answer));
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (int answer : answers) {
        if (clicked && box.standardButton(clicked) == QtButton(answer))
            return answer;
    }
    return IDCANCEL;
}

FileDialogAnswer CQtPrompter::FileDialog(const FileDialogPrompt& prompt) {
    const CFileFilter filter(prompt.filter);
    QFileDialog dialog(prompt.owner, prompt.title, prompt.initialDir);
    // Qt's own dialog matches the filter patterns without regard to case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(prompt.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (prompt.open) {
        dialog.setFileMode((prompt.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                           : (prompt.flags & OFN_FILEMUSTEXIST)  ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    }
    if (!prompt.open && !(prompt.flags & OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList nameFilters = filter.QtNameFilters();
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        const int index = std::clamp(prompt.filterIndex, 1, static_cast<int>(nameFilters.size()));
        dialog.selectNameFilter(nameFilters[index - 1]);
    }
    if (!prompt.fileName.isEmpty())
        dialog.selectFile(prompt.fileName);
    QLineEdit* nameBox = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (prompt.typeChanged) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &prompt, nameFilters, nameBox](const QString& chosen) {
                             const int index = static_cast<int>(nameFilters.indexOf(chosen)) + 1;
                             const QString name =
                                 prompt.typeChanged(index, nameBox ? nameBox->text() : QString());
                             if (!name.isEmpty())
                                 dialog.selectFile(name);
                         });
    }
    if (prompt.selectType) {
        *prompt.selectType = [&dialog, nameFilters](int index) {
            if (index >= 1 && index <= nameFilters.size()) {
                dialog.selectNameFilter(nameFilters[index - 1]);
                emit dialog.filterSelected(nameFilters[index - 1]);
            }
        };
    }
    QWidget* extensionHome = prompt.extension ? prompt.extension->parentWidget() : nullptr;
    if (prompt.extension) {
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(prompt.extension, grid->rowCount(), 0, 1, grid->columnCount());
        else if (dialog.layout())
            dialog.layout()->addWidget(prompt.extension);
        prompt.extension->show();
    }
    const int result = dialog.exec();
    if (prompt.selectType)
        *prompt.selectType = nullptr;
    if (prompt.extension) {
        prompt.extension->hide();
        prompt.extension->setParent(extensionHome);
    }
    FileDialogAnswer answer;
    if (result != QDialog::Accepted)
        return answer;
    answer.ok = true;
    answer.paths = dialog.selectedFiles();
    answer.filterIndex = static_cast<int>(nameFilters.indexOf(dialog.selectedNameFilter())) + 1;
    return answer;
}

std::optional<QString> CQtPrompter::BrowseForFolder(const FolderPrompt& prompt) {
    const QString folder =
        QFileDialog::getExistingDirectory(prompt.owner, prompt.title, prompt.initialDir);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<COLORREF> CQtPrompter::ChooseColor(const ColorPrompt& prompt) {
    const QColor initial(GetRValue(prompt.initial), GetGValue(prompt.initial),
                         GetBValue(prompt.initial));
    const QColor chosen = QColorDialog::getColor(initial, prompt.owner);
    if (!chosen.isValid())
        return std::nullopt;
    return RGB(chosen.red(), chosen.green(), chosen.blue());
}
