#pragma once

// CFontNameCombo: the font-face list of the properties dialogs. It lists the installed faces
// in sorted order below up to six recently chosen ones (item data 1), and while the list is
// open shows the hovered face in a preview popup beside it.

#include "platform/framework/ComboBox.h"
#include "views/FontPreviewWnd.h"

#include <QString>
#include <QStringList>

class CFontNameCombo : public CComboBox {
public:
    static constexpr int kMaxRecent = 6;
    static constexpr uintptr_t kRecent = 1;

    // Lists faces (the installed ones when empty) in sorted order and makes the preview.
    void FillFontList(const QStringList& faces = {});
    // Puts face at the top as a recent entry, removing an older recent copy; the oldest recent
    // entry beyond six goes.
    void SelectFace(const QString& face);
    // Shows the preview of the entry at index beside the open list.
    void PreviewItem(int index);
    CFontPreviewWnd& Preview() { return m_preview; }

private:
    void ConnectPreview();

    CFontPreviewWnd m_preview;
    bool m_connected = false;
};
