#include "shell/MultiExtFilterFileDialog.h"

#include "platform/framework/DocTemplate.h"
#include "shell/ExtensionList.h"

#include <QStringList>

QString CMultiExtFilterFileDialog::BuildFilter(const std::vector<CDocTemplate*>& templates,
                                               CDocTemplate* pFirst, QString* defaultExt) {
    std::vector<CDocTemplate*> ordered;
    if (pFirst)
        ordered.push_back(pFirst);
    for (CDocTemplate* docTemplate : templates) {
        if (docTemplate && docTemplate != pFirst)
            ordered.push_back(docTemplate);
    }
    QString filter;
    for (CDocTemplate* docTemplate : ordered) {
        QString name;
        QString extensions;
        if (!docTemplate->GetDocString(name, CDocTemplate::filterName) ||
            !docTemplate->GetDocString(extensions, CDocTemplate::filterExt))
            continue;
        const CExtensionList list(extensions);
        if (list.IsEmpty())
            continue;
        QStringList patterns;
        for (const QString& extension : list.Extensions())
            patterns << QStringLiteral("*.") + extension;
        filter += name + QLatin1Char('|') + patterns.join(QLatin1Char(';')) + QLatin1Char('|');
        if (defaultExt && defaultExt->isEmpty())
            *defaultExt = list.Extensions().front();
    }
    return filter + QStringLiteral("All Files (*.*)|*.*||");
}

namespace {

QString DefaultExtension(BOOL bOpenFileDialog, const std::vector<CDocTemplate*>& templates,
                         CDocTemplate* pFirst) {
    QString defaultExt;
    CMultiExtFilterFileDialog::BuildFilter(templates, pFirst, &defaultExt);
    // An open dialog takes the name as typed; only a saved file gets the extension.
    return bOpenFileDialog ? QString() : defaultExt;
}

}  // namespace

CMultiExtFilterFileDialog::CMultiExtFilterFileDialog(BOOL bOpenFileDialog,
                                                     const std::vector<CDocTemplate*>& templates,
                                                     CDocTemplate* pFirst, const QString& fileName,
                                                     DWORD flags, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, DefaultExtension(bOpenFileDialog, templates, pFirst), fileName,
                  flags, BuildFilter(templates, pFirst), pParentWnd) {}
