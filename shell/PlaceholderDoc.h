#pragma once

// CPlaceholderDoc: the document of a window kind whose subsystem is not built yet. It never
// pretends to open: creating or opening one tells the user the window kind is not available
// and fails, so the template makes no window.

#include "platform/framework/Document.h"

class CPlaceholderDoc : public CDocument {
    DECLARE_DYNCREATE(CPlaceholderDoc)

public:
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const QString& pathName) override;

    // "The window kind "<key>" is not available yet."
    static QString NotAvailableText(const QString& key);
    // Whether the template registered under key is one of these stand-ins (false when there
    // is none).
    static bool IsPlaceholderKind(const QString& key);

private:
    void ReportNotAvailable() const;
};
