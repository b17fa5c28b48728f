#include "sensordata/model/WorkbookDelivery.h"

#include "platform/excel/ExcelWorkbook.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/Shell.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

#include <QFileInfo>

namespace {

int Show(const QString& text, UINT type) {
    CWnd* main = AfxGetMainWnd();
    return AfxPrompter().MessageBox(
        {text, AfxGetAppTitle(), type, main ? main->GetQWidget() : nullptr});
}

}  // namespace

QString DeliverWorkbook(const CExcelWorkbook& book, const QString& proposedName) {
    const QString name = proposedName.isEmpty() ? QStringLiteral("Export") : proposedName;
    CFileDialog dialog(
        FALSE, QStringLiteral("xlsx"), name + ".xlsx", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
        QStringLiteral("Excel Workbooks (*.xlsx)|*.xlsx|All Files (*.*)|*.*||"), AfxGetMainWnd());
    dialog.m_ofn.lpstrTitle = QStringLiteral("Save Workbook");
    if (dialog.DoModal() != IDOK)
        return QString();
    const QString path = dialog.GetPathName();
    QString error;
    if (!book.Save(path, &error)) {
        Show(QStringLiteral("Could not save the workbook %1.\n%2").arg(path, error),
             MB_OK | MB_ICONEXCLAMATION);
        return QString();
    }
    if (!AfxShellOpen(path))
        Show(QStringLiteral("The workbook was saved as %1, but no program could be started to "
                            "show it.")
                 .arg(path),
             MB_OK | MB_ICONINFORMATION);
    return path;
}
