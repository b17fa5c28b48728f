#pragma once

// CLengthCalibrationPropsDlg: the properties of a length calibration (type 11): line, label font
// and the calibration's real length and units; other types get the shape controls.

#include "views/DrawPropsDlg.h"

class CLengthCalibrationPropsDlg : public CDrawPropsDlg {
public:
    static constexpr UINT kTemplate = 386;
    static constexpr int kLength = 2206;
    static constexpr int kUnits = 2205;

    // The real length of the calibrated line (above 0) and the units index (-1 pixels, none
    // chosen).
    double m_length = 1.0;
    int m_unitsIndex = 0;

    CLengthCalibrationPropsDlg() : CDrawPropsDlg(kTemplate) {}

    void LoadFromObject(CDrawObject* object) override;
    BOOL ApplyToObject(CDrawObject* object) override;
    void EnableForType(int type, int* usesOwnType) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CComboBox m_unitsList;
};
