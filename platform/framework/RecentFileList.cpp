#include "platform/framework/RecentFileList.h"

#include "platform/framework/ActionCmdUI.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/WinApp.h"

#include <QAction>
#include <QMenu>

#include <QDir>
#include <QFileInfo>

CRecentFileList::CRecentFileList(const QString& section, const QString& entryFormat, int nSize)
    : m_section(section), m_entryFormat(entryFormat), m_nSize(std::max(nSize, 0)) {}

QString CRecentFileList::EntryName(int index) const {
    QString name = m_entryFormat;
    return name.replace("%d", QString::number(index + 1));
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty() || m_nSize == 0)
        return;
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // File names are case-sensitive here, so only the same spelling is the same file.
    m_paths.removeAll(full);
    m_paths.prepend(full);
    while (m_paths.size() > m_nSize)
        m_paths.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_paths.size())
        m_paths.removeAt(index);
}

void CRecentFileList::ReadList() {
    CWinApp* app = AfxGetApp();
    m_paths.clear();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        const QString path = app->GetProfileString(m_section, EntryName(i));
        if (!path.isEmpty() && !m_paths.contains(path))
            m_paths.append(path);
    }
}

void CRecentFileList::WriteList() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_paths.size())
            app->WriteProfileString(m_section, EntryName(i), m_paths[i]);
        else
            app->WriteProfileString(m_section, EntryName(i), QString());
    }
}

void CRecentFileList::UpdateMenu(QMenu* menu, CWnd* owner) const {
    QAction* first = nullptr;
    QList<QAction*> shown;
    for (QAction* a : menu->actions()) {
        const UINT id = CActionCmdUI::GetCommandId(a);
        if (id == ID_FILE_MRU_FILE1 && !first)
            first = a;
        else if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16)
            shown.append(a);
    }
    if (!first)
        return;
    for (QAction* a : shown) {
        menu->removeAction(a);
        delete a;
    }
    if (m_paths.isEmpty()) {
        first->setText("Recent File");
        first->setEnabled(false);
        return;
    }
    first->setText(QString("&1 %1").arg(m_paths[0]));
    first->setEnabled(true);
    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(first);
    QAction* before = at + 1 < actions.size() ? actions[at + 1] : nullptr;
    for (int i = 1; i < m_paths.size(); ++i) {
        auto* item = new QAction(QString("&%1 %2").arg(i + 1).arg(m_paths[i]), menu);
        CActionCmdUI::BindCommand(item, ID_FILE_MRU_FILE1 + static_cast<UINT>(i), owner);
        menu->insertAction(before, item);
    }
}
