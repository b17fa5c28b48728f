#pragma once

// CCalipersPropsDlg: the properties of a caliper (types 10 and 16): line, label text colour and
// font; other types get the shape controls.

#include "views/DrawPropsDlg.h"

class CCalipersPropsDlg : public CDrawPropsDlg {
public:
    static constexpr UINT kTemplate = 324;

    CCalipersPropsDlg() : CDrawPropsDlg(kTemplate) {}

    void LoadFromObject(CDrawObject* object) override;
    BOOL ApplyToObject(CDrawObject* object) override;
    void EnableForType(int type, int* usesOwnType) override;
};
