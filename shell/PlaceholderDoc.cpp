#include "shell/PlaceholderDoc.h"

#include "platform/framework/DocTemplate.h"
#include "platform/framework/IPrompter.h"
#include "shell/VidraApp.h"

IMPLEMENT_DYNCREATE(CPlaceholderDoc, CDocument)

QString CPlaceholderDoc::NotAvailableText(const QString& key) {
    return QStringLiteral("The window kind \"%1\" is not available yet.").arg(key);
}

bool CPlaceholderDoc::IsPlaceholderKind(const QString& key) {
    const CVidraApp* app = AfxGetVidraApp();
    const CDocTemplate* docTemplate = app ? app->GetTemplateByKey(key) : nullptr;
    return docTemplate && docTemplate->m_pDocClass == RUNTIME_CLASS(CPlaceholderDoc);
}

void CPlaceholderDoc::ReportNotAvailable() const {
    const CVidraApp* app = AfxGetVidraApp();
    const QString key = app ? app->KeyOfTemplate(GetDocTemplate()) : QString();
    AfxMessageBox(NotAvailableText(key), MB_ICONINFORMATION);
}

BOOL CPlaceholderDoc::OnNewDocument() {
    ReportNotAvailable();
    return FALSE;
}

BOOL CPlaceholderDoc::OnOpenDocument(const QString&) {
    ReportNotAvailable();
    return FALSE;
}
