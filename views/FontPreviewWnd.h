#pragma once

// CFontPreviewWnd: the small popup beside a font-name list that shows the name of the face
// under the mouse, written in that face, on the tooltip background. Created hidden; the first
// face shown makes it appear.

#include "platform/framework/Wnd.h"

#include <QString>

class CFontPreviewWnd : public CWnd {
public:
    static constexpr int kFaceHeight = 18;
    static constexpr int kPadding = 8;

    CFontPreviewWnd() = default;
    // Deletes the popup.
    ~CFontPreviewWnd() override;

    // Makes the hidden popup (no parent, thin border, never activated).
    BOOL Create();
    // Shows face at (x, y) in screen pixels, sized to its text; the face already shown does
    // nothing, so the window stays where it was. An empty first face shows nothing.
    void ShowFace(int x, int y, const QString& face);
    QString GetFace() const { return m_face; }

private:
    QString m_face;
};
