#pragma once

// CJumpNotePropsDlg: the properties of a goto note (type 12): text, colours, font, filled and the
// off-frame transparency; a measure point and other types get the shape controls.

#include "views/DrawPropsDlg.h"

class CJumpNotePropsDlg : public CDrawPropsDlg {
public:
    static constexpr UINT kTemplate = 30104;
    static constexpr int kTransparency = 2207;

    // How transparent the note is off its frame, 0 to 100 %.
    int m_transparencyPercent = 50;

    CJumpNotePropsDlg() : CDrawPropsDlg(kTemplate) {}

    void LoadFromObject(CDrawObject* object) override;
    BOOL ApplyToObject(CDrawObject* object) override;
    void EnableForType(int type, int* usesOwnType) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
