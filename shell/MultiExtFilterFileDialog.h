#pragma once

// CMultiExtFilterFileDialog: the file dialog of the document manager, whose filter has one
// entry per document template listing every extension of the template's filter-extension
// field ("Data Files (*.mdat;*.au2)|*.mdat;*.au2|"), then "All Files (*.*)".

#include "platform/framework/FileDialog.h"

#include <vector>

class CDocTemplate;

class CMultiExtFilterFileDialog : public CFileDialog {
public:
    // The entries follow the order of templates, with pFirst (when given) first; templates
    // without a filter name or extension have none. Without an explicit defaultExt the first
    // extension of the first entry is the default.
    CMultiExtFilterFileDialog(BOOL bOpenFileDialog, const std::vector<CDocTemplate*>& templates,
                              CDocTemplate* pFirst, const QString& fileName, DWORD flags,
                              CWnd* pParentWnd = nullptr);

    // The filter of the templates in the framework's '|' form.
    static QString BuildFilter(const std::vector<CDocTemplate*>& templates, CDocTemplate* pFirst,
                               QString* defaultExt = nullptr);
};
