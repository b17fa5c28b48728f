#pragma once

// CBayerColorDlg: the modeless Bayer colour adjustment window (template 30117) of a recording's
// colour filter or a live camera's colour processor. It shows the factory and the current
// coefficients, applies edited ones (one level of Undo), chooses presets, balances on a grey
// region selected in the video window, scales the channels, switches the display between colour
// and the raw mosaic, and loads and saves ".clr" files. Every change reaches the processor at
// once; the video shows it on its next read, which the window asks of the view it was opened
// from. While it serves a view, the region it balanced on is outlined in cyan over that view's
// picture.

#include "frames/IColorAdjustment.h"
#include "frames/IOverlayDraw.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/SliderCtrl.h"
#include "platform/wintypes/Rect.h"
#include "views/DrawingOverlayListener.h"
#include "views/IBayerColorProcessor.h"

#include <QString>

#include <memory>

class CBayerColorFilter;
class COverlayHost;
class CVidView;

class CBayerColorDlg : public CDialog, public IColorAdjustment, public IOverlayDraw {
    DECLARE_DYNAMIC(CBayerColorDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 30117;
    enum : int {
        kPresetCombo = 1500,
        kLoad = 1363,
        kSave = 1362,
        kResetToFactory = 1060,
        kApply = 1028,
        kUndo = 1511,
        kSelectRegion = 1482,
        kBalanceNow = 1488,
        kManualMeans = 1491,
        kGainsNow = 1486,
        kDisplayMode = 1412,
        kAdvanced = 1487,
        kDepthFormat = 1114,
        kFiltering = 1489,
        kUpdate = 1485,
        kResetPreset = 1504,
    };
    static const int kFactoryEdits[9];
    static const int kCurrentEdits[9];
    static const int kMeanEdits[3];
    static const int kGainSliders[3];
    static const int kGainEdits[3];

    // filter outlives the window; name is the recording shown in the title.
    CBayerColorDlg(CBayerColorFilter* filter, const QString& name);
    explicit CBayerColorDlg(std::unique_ptr<IBayerColorProcessor> processor);
    ~CBayerColorDlg() override;
    // Lets frame sources make this window for their Bayer recordings.
    static void Install();

    void ShowFor(int captionKind, CWnd* view) override;
    // The coefficients shown as current, rows red, green, blue.
    void GetShownCoefficients(float rows[3][3]) const;
    CComboBox& Presets() { return m_presets; }
    // Outlines the balance region (image pixels) over the view the window serves; E_POINTER
    // without one.
    HRESULT Draw(CDC* dc, const CRect& area) override;
    // The region the last balance used; empty before the first.
    CRect GetBalanceRegion() const { return m_region; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnPresetChanged();
    void OnLoad();
    void OnSave();
    void OnResetToFactory();
    void OnApply();
    void OnUndo();
    void OnSelectRegion();
    void OnBalanceNow();
    void OnManualMeans();
    void OnGainsNow();
    void OnGainEditLeft(int index);
    void OnGainEdit0() { OnGainEditLeft(0); }
    void OnGainEdit1() { OnGainEditLeft(1); }
    void OnGainEdit2() { OnGainEditLeft(2); }
    void OnHScroll(UINT code, UINT position, CWnd* bar);
    void OnDisplayMode();
    void OnAdvanced();
    void OnResetPreset();

    // Makes rows the current coefficients: shown, handed to the processor (unless it made them
    // itself), the preset matched and the video asked to read its frame again. keepUndo leaves
    // the Undo level as it was.
    void SetCurrent(const float rows[3][3], bool keepUndo, bool send = true);
    void ShowRows(const int* edits, const float rows[3][3]);
    void MatchPreset();
    void ResetGains();
    void RefreshView();
    void UpdateCaptions();
    // The view the window serves, or null once that view is gone (its overlays let go of the
    // window's outline when it goes).
    CVidView* View();

    std::unique_ptr<IBayerColorProcessor> m_processor;
    CVidView* m_view = nullptr;
    COverlayHost* m_viewOverlays = nullptr;  // the view's, while the outline is drawn there
    int m_captionKind = 0;
    float m_current[3][3] = {};
    float m_previous[3][3] = {};
    float m_gainBase[3][3] = {};  // the rows the gains scale
    int m_gains[3] = {100, 100, 100};
    bool m_manualMeans = false;
    bool m_advanced = false;
    CComboBox m_presets;
    CSliderCtrl m_sliders[3];
    CRect m_region;
    CDrawingOverlayListener m_outline{this};
};
