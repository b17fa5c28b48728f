#pragma once

// CSliderPropsDlg: the properties of a frame slider: the shape controls, whatever the type.

#include "views/DrawPropsDlg.h"

class CSliderPropsDlg : public CDrawPropsDlg {
public:
    static constexpr UINT kTemplate = 30106;

    CSliderPropsDlg() : CDrawPropsDlg(kTemplate) {}

    void LoadFromObject(CDrawObject* object) override;
    BOOL ApplyToObject(CDrawObject* object) override;
    void EnableForType(int type, int* usesOwnType) override;
};
