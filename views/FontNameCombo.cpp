#include "views/FontNameCombo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QWidget>

void CFontNameCombo::FillFontList(const QStringList& faces) {
    m_preview.Create();
    ResetContent();
    const QStringList all = faces.isEmpty() ? QFontDatabase::families() : faces;
    for (const QString& face : all) {
        // Sorted insert: before the first entry that compares greater.
        int at = 0;
        while (at < GetCount() && QString::compare(GetLBText(at), face, Qt::CaseInsensitive) <= 0)
            ++at;
        InsertString(at, face);
    }
    ConnectPreview();
}

void CFontNameCombo::SelectFace(const QString& face) {
    for (int i = 0; i < GetCount(); ++i) {
        if (GetItemData(i) == kRecent && GetLBText(i) == face) {
            DeleteString(static_cast<UINT>(i));
            break;
        }
    }
    InsertString(0, face);
    SetItemData(0, kRecent);
    if (GetCount() > kMaxRecent && GetItemData(kMaxRecent) == kRecent)
        DeleteString(kMaxRecent);
    SetCurSel(0);
}

void CFontNameCombo::PreviewItem(int index) {
    auto* combo = qobject_cast<QComboBox*>(GetQWidget());
    if (!combo || index < 0 || index >= GetCount())
        return;
    QAbstractItemView* list = combo->view();
    const QRect item = list->visualRect(combo->model()->index(index, 0));
    const QPoint at = list->mapToGlobal(QPoint(list->width() + 5, item.top()));
    m_preview.ShowFace(at.x(), at.y(), GetLBText(index));
}

void CFontNameCombo::ConnectPreview() {
    auto* combo = qobject_cast<QComboBox*>(GetQWidget());
    if (!combo || m_connected)
        return;
    m_connected = true;
    QObject::connect(combo, qOverload<int>(&QComboBox::highlighted), combo,
                     [this](int index) { PreviewItem(index); });
    // Choosing closes the list: the preview goes with it.
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo, [this](int) {
        if (QWidget* popup = m_preview.GetQWidget())
            popup->hide();
    });
}
