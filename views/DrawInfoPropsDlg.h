#pragma once

// CDrawInfoPropsDlg: the properties of an information box (type 14): frame line, text colour and
// font; other types get the shape controls.

#include "views/DrawPropsDlg.h"

class CDrawInfoPropsDlg : public CDrawPropsDlg {
public:
    static constexpr UINT kTemplate = 324;

    CDrawInfoPropsDlg() : CDrawPropsDlg(kTemplate) {}

    void LoadFromObject(CDrawObject* object) override;
    BOOL ApplyToObject(CDrawObject* object) override;
    void EnableForType(int type, int* usesOwnType) override;
};
