#include "platform/framework/FileDialog.h"

#include "platform/framework/Wnd.h"

#include <algorithm>

namespace {

QString LastComponent(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.mid(slash + 1);
}

}  // namespace

QString WithDefaultExtension(const QString& path, const QString& defaultExt) {
    if (defaultExt.isEmpty() || LastComponent(path).contains('.'))
        return path;
    return path + '.' + defaultExt;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const QString& defaultExt, const QString& fileName,
                         DWORD flags, const QString& filter, CWnd* pParentWnd)
    : m_open(bOpenFileDialog != FALSE),
      m_defaultExt(defaultExt.startsWith('.') ? defaultExt.mid(1) : defaultExt),
      m_fileName(fileName),
      m_filter(filter),
      m_parent(pParentWnd) {
    m_ofn.Flags = flags;
}

int CFileDialog::DoModal() {
    FileDialogPrompt prompt;
    prompt.open = m_open;
    prompt.title = m_ofn.lpstrTitle;
    prompt.filter = m_filter;
    prompt.filterIndex = m_ofn.nFilterIndex;
    prompt.defaultExt = m_defaultExt;
    prompt.fileName = m_fileName;
    prompt.initialDir = m_ofn.lpstrInitialDir;
    prompt.flags = m_ofn.Flags;
    prompt.owner = m_parent ? m_parent->GetQWidget() : nullptr;
    prompt.extension = GetExtension();
    prompt.typeChanged = [this](int index, const QString& typedName) {
        m_ofn.nFilterIndex = index;
        return OnTypeChange(index, typedName);
    };
    m_selectType = std::make_shared<std::function<void(int)>>();
    prompt.selectType = m_selectType;
    for (;;) {
        const FileDialogAnswer answer = AfxPrompter().FileDialog(prompt);
        if (!answer.ok || answer.paths.isEmpty()) {
            m_paths.clear();
            return IDCANCEL;
        }
        m_paths.clear();
        for (const QString& path : answer.paths)
            m_paths << WithDefaultExtension(path, m_defaultExt);
        m_ofn.nFilterIndex = answer.filterIndex;
        if (!OnFileNameOK())
            return IDOK;
        prompt.fileName = GetFileName();
        prompt.filterIndex = m_ofn.nFilterIndex;
    }
}

BOOL CFileDialog::OnFileNameOK() {
    return FALSE;
}

QString CFileDialog::OnTypeChange(int, const QString&) {
    return {};
}

void CFileDialog::SelectType(int index) {
    if (m_selectType && *m_selectType)
        (*m_selectType)(index);
    else
        m_ofn.nFilterIndex = index;
}

QString CFileDialog::GetFileName() const {
    return LastComponent(GetPathName());
}

QString CFileDialog::GetFileExt() const {
    const QString name = GetFileName();
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString CFileDialog::GetFileTitle() const {
    const QString name = GetFileName();
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.left(dot);
}
