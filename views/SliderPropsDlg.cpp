#include "views/SliderPropsDlg.h"

#include "views/DrawObject.h"

void CSliderPropsDlg::LoadFromObject(CDrawObject* object) {
    SetDefaults(object);
    if (object)
        LoadShape(*object);
}

BOOL CSliderPropsDlg::ApplyToObject(CDrawObject* object) {
    if (!SaveControls())
        return FALSE;
    if (object)
        ApplyShape(*object);
    return TRUE;
}

void CSliderPropsDlg::EnableForType(int, int* usesOwnType) {
    Enable({kFilled, kLineColour, kFillColour, kThickness, kStyle},
           {kArrowHead, kArrowTail, kClosed, kText, kTextColour, kFontFace, kFontSize, kBold,
            kItalic, kUnderline});
    if (usesOwnType)
        *usesOwnType = 0;
}
