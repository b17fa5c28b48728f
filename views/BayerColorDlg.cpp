#include "views/BayerColorDlg.h"

#include "frames/BayerColorFilter.h"
#include "frames/ColorCoefficientFile.h"
#include "frames/FileNames.h"
#include "frames/FrameSource.h"
#include "frames/IImageToWindowMap.h"
#include "frames/RegionOutline.h"
#include "platform/framework/Button.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/CLocale.h"
#include "views/VidView.h"
#include "views/ZoomTransformMap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

IMPLEMENT_DYNAMIC(CBayerColorDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CBayerColorDlg, CDialog)
    ON_CBN_SELCHANGE(CBayerColorDlg::kPresetCombo, OnPresetChanged)
    ON_BN_CLICKED(CBayerColorDlg::kLoad, OnLoad)
    ON_BN_CLICKED(CBayerColorDlg::kSave, OnSave)
    ON_BN_CLICKED(CBayerColorDlg::kResetToFactory, OnResetToFactory)
    ON_BN_CLICKED(CBayerColorDlg::kApply, OnApply)
    ON_BN_CLICKED(CBayerColorDlg::kUndo, OnUndo)
    ON_BN_CLICKED(CBayerColorDlg::kSelectRegion, OnSelectRegion)
    ON_BN_CLICKED(CBayerColorDlg::kBalanceNow, OnBalanceNow)
    ON_BN_CLICKED(CBayerColorDlg::kManualMeans, OnManualMeans)
    ON_BN_CLICKED(CBayerColorDlg::kGainsNow, OnGainsNow)
    ON_EN_KILLFOCUS(1024, OnGainEdit0)
    ON_EN_KILLFOCUS(1025, OnGainEdit1)
    ON_EN_KILLFOCUS(1026, OnGainEdit2)
    ON_WM_HSCROLL()
    ON_BN_CLICKED(CBayerColorDlg::kDisplayMode, OnDisplayMode)
    ON_BN_CLICKED(CBayerColorDlg::kAdvanced, OnAdvanced)
    ON_BN_CLICKED(CBayerColorDlg::kResetPreset, OnResetPreset)
END_MESSAGE_MAP()
// clang-format on

const int CBayerColorDlg::kFactoryEdits[9] = {1484, 1013, 1016, 1009, 1014, 1017, 1010, 1005, 1004};
const int CBayerColorDlg::kCurrentEdits[9] = {1006, 1015, 1019, 1011, 1018, 1020, 1012, 1007, 1008};
const int CBayerColorDlg::kMeanEdits[3] = {1021, 1022, 1023};
const int CBayerColorDlg::kGainSliders[3] = {1478, 1479, 1480};
const int CBayerColorDlg::kGainEdits[3] = {1024, 1025, 1026};

namespace {

constexpr int kMaxGain = 400;
const QString kClrFilter = QStringLiteral("Color Coefficients File (*.clr)|*.clr||");
const int kAdvancedItems[] = {1509, CBayerColorDlg::kDepthFormat, CBayerColorDlg::kFiltering,
                              CBayerColorDlg::kUpdate, CBayerColorDlg::kResetPreset};

void Warn(const QString& text) {
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void CopyRows(float to[3][3], const float from[3][3]) {
    std::memcpy(to, from, sizeof(float) * 9);
}

// Scales each row so that its channel's mean (means blue, green, red) meets green's; a channel
// whose mean is zero keeps its row.
void BalancedRows(const float current[3][3], const int means[3], float rows[3][3]) {
    CopyRows(rows, current);
    const double target = means[1];
    for (int row = 0; row < 3; ++row) {
        const int mean = means[2 - row];
        if (mean > 0 && target > 0)
            for (float& w : rows[row])
                w = static_cast<float>(w * target / mean);
    }
}

// A recording's Bayer colour filter: its presets are the program's own.
class CFilterProcessor : public IBayerColorProcessor {
public:
    CFilterProcessor(CBayerColorFilter* filter, const QString& name)
        : m_filter(filter), m_name(name) {}

    QString GetName() const override { return m_name; }
    QStringList GetPresetNames() const override {
        QStringList names;
        QString name;
        float r[3], g[3], b[3];
        for (int i = 0; GetBayerPreset(i, &name, r, g, b); ++i)
            names << name;
        return names;
    }
    bool GetPreset(int index, float rows[3][3]) const override {
        return GetBayerPreset(index, nullptr, rows[0], rows[1], rows[2]) != 0;
    }
    void GetCoefficients(float rows[3][3], bool factory) const override {
        m_filter->GetCoefficients(rows[0], rows[1], rows[2], factory ? 1 : 0);
    }
    void SetCoefficients(const float rows[3][3]) override {
        m_filter->SetCoefficients(rows[0], rows[1], rows[2]);
    }
    void ApplyGains(const float base[3][3], const int gains[3], float rows[3][3]) override {
        for (int row = 0; row < 3; ++row)
            for (int k = 0; k < 3; ++k)
                rows[row][k] = base[row][k] * static_cast<float>(gains[row]) / 100.0f;
        SetCoefficients(rows);
    }
    bool Balance(const CRect& region, const float current[3][3], int means[3],
                 float rows[3][3]) override {
        if (!m_filter->RegionMeans(region, means))
            return false;
        BalancedRows(current, means, rows);
        SetCoefficients(rows);
        return true;
    }
    bool CanShowMosaic() const override { return true; }
    bool IsShowingColor() const override { return m_filter->IsActive(); }
    void ShowColor(bool color) override { m_filter->SetActive(color); }

private:
    CBayerColorFilter* m_filter;
    QString m_name;
};

}  // namespace

CBayerColorDlg::CBayerColorDlg(CBayerColorFilter* filter, const QString& name)
    : CBayerColorDlg(std::make_unique<CFilterProcessor>(filter, name)) {}

CBayerColorDlg::CBayerColorDlg(std::unique_ptr<IBayerColorProcessor> processor)
    : CDialog(kTemplate, nullptr), m_processor(std::move(processor)) {
    m_processor->GetCoefficients(m_current, false);
    CopyRows(m_previous, m_current);
    CopyRows(m_gainBase, m_current);
}

CBayerColorDlg::~CBayerColorDlg() {
    if (GetSafeHwnd())
        DestroyWindow();
}

void CBayerColorDlg::Install() {
    CFrameSource::SetColorAdjustmentFactory(
        [](CBayerColorFilter* filter, const QString& path) -> std::unique_ptr<IColorAdjustment> {
            auto dialog = std::make_unique<CBayerColorDlg>(filter, GetFileNameFromPath(path));
            if (!dialog->Create(kTemplate, nullptr))
                return nullptr;
            return dialog;
        });
}

void CBayerColorDlg::ShowFor(int captionKind, CWnd* view) {
    m_captionKind = captionKind;
    m_view = dynamic_cast<CVidView*>(view);
    // The outline follows the view: taken from the previous one, drawn over this one.
    m_viewOverlays = m_view ? &m_view->GetOverlayHost() : nullptr;
    if (m_viewOverlays)
        m_viewOverlays->Add(&m_outline);
    UpdateCaptions();
    ShowWindow(SW_SHOW);
}

CVidView* CBayerColorDlg::View() {
    COverlayHost* host = nullptr;
    m_outline.GetAttachment(nullptr, &host);
    return host && host == m_viewOverlays ? m_view : nullptr;
}

HRESULT CBayerColorDlg::Draw(CDC* dc, const CRect&) {
    CVidView* view = View();
    if (!view)
        return E_POINTER;
    if (m_region.IsRectEmpty())
        return S_OK;
    IImageToWindowMap* map = nullptr;
    if (CZoomTransformMap::OfStreamDisplay(view, &map) != S_OK)
        return S_OK;
    DrawRegionOutline(m_region, RGB(0, 255, 255), 1, dc, view, map);
    map->ReleaseMap();
    return S_OK;
}

void CBayerColorDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kPresetCombo, m_presets);
    for (int i = 0; i < 3; ++i)
        DDX_Control(pDX, kGainSliders[i], m_sliders[i]);
}

BOOL CBayerColorDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_presets.AddString(QStringLiteral("Manual Settings"));
    for (const QString& name : m_processor->GetPresetNames())
        m_presets.AddString(name);
    float factory[3][3];
    m_processor->GetCoefficients(factory, true);
    ShowRows(kFactoryEdits, factory);
    ShowRows(kCurrentEdits, m_current);
    MatchPreset();
    for (CSliderCtrl& slider : m_sliders) {
        slider.SetRange(0, kMaxGain);
        slider.SetTicFreq(10);
    }
    ResetGains();
    if (CWnd* undo = GetDlgItem(kUndo))
        undo->EnableWindow(FALSE);
    for (int id : kMeanEdits)
        if (CWnd* edit = GetDlgItem(id))
            edit->EnableWindow(FALSE);
    // Neither a recorded file nor a camera of ours has decoding options to choose.
    for (int id : {int(kDepthFormat), int(kFiltering), int(kUpdate)})
        if (CWnd* item = GetDlgItem(id))
            item->EnableWindow(FALSE);
    if (CWnd* display = GetDlgItem(kDisplayMode))
        display->EnableWindow(m_processor->CanShowMosaic());
    for (int id : kAdvancedItems)
        if (CWnd* item = GetDlgItem(id))
            item->ShowWindow(SW_HIDE);
    UpdateCaptions();
    return TRUE;
}

void CBayerColorDlg::OnOK() {
    ShowWindow(SW_HIDE);
}

void CBayerColorDlg::OnCancel() {
    ShowWindow(SW_HIDE);
}

void CBayerColorDlg::UpdateCaptions() {
    if (!GetSafeHwnd())
        return;
    const QString name = m_processor->GetName();
    if (name.isEmpty())
        SetWindowText(QStringLiteral("Bayer Color Adjustment"));
    else
        SetWindowText(name + (m_captionKind == 1 ? QStringLiteral(" [Camera] - Color Adjustment")
                                                 : QStringLiteral(" [File] - Color Adjustment")));
    SetDlgItemText(kDisplayMode, m_processor->IsShowingColor() ? QStringLiteral("Display Bayer")
                                                               : QStringLiteral("Display Color"));
    SetDlgItemText(kAdvanced,
                   m_advanced ? QStringLiteral("<< Basic") : QStringLiteral("Advanced >>"));
}

void CBayerColorDlg::ShowRows(const int* edits, const float rows[3][3]) {
    for (int i = 0; i < 9; ++i)
        SetDlgItemText(edits[i], QFormatC("%g", static_cast<double>(rows[i / 3][i % 3])));
}

void CBayerColorDlg::GetShownCoefficients(float rows[3][3]) const {
    for (int i = 0; i < 9; ++i) {
        bool ok = false;
        const double value = GetDlgItemText(kCurrentEdits[i]).trimmed().toDouble(&ok);
        rows[i / 3][i % 3] =
            ok && std::isfinite(value) ? static_cast<float>(value) : m_current[i / 3][i % 3];
    }
}

void CBayerColorDlg::MatchPreset() {
    int match = 0;
    float p[3][3];
    for (int i = 0; match == 0 && m_processor->GetPreset(i, p); ++i) {
        bool same = true;
        for (int k = 0; k < 9; ++k)
            same = same && std::fabs(p[k / 3][k % 3] - m_current[k / 3][k % 3]) < 0.00001f;
        if (same)
            match = i + 1;
    }
    m_presets.SetCurSel(match);
}

void CBayerColorDlg::ResetGains() {
    for (int i = 0; i < 3; ++i) {
        m_gains[i] = 100;
        m_sliders[i].SetPos(100);
        SetDlgItemText(kGainEdits[i], QStringLiteral("100"));
    }
    CopyRows(m_gainBase, m_current);
}

void CBayerColorDlg::RefreshView() {
    if (CVidView* view = View())
        view->SetCurrentFrame(view->MovieGetCurrentFrame(), 1);
}

void CBayerColorDlg::SetCurrent(const float rows[3][3], bool keepUndo, bool send) {
    if (!keepUndo) {
        CopyRows(m_previous, m_current);
        if (CWnd* undo = GetDlgItem(kUndo))
            undo->EnableWindow(TRUE);
    }
    CopyRows(m_current, rows);
    if (send)
        m_processor->SetCoefficients(m_current);
    ShowRows(kCurrentEdits, m_current);
    MatchPreset();
    RefreshView();
}

void CBayerColorDlg::OnPresetChanged() {
    const int chosen = m_presets.GetCurSel();
    float rows[3][3];
    if (chosen < 1 || !m_processor->GetPreset(chosen - 1, rows))
        return;  // "Manual Settings" keeps what is there
    SetCurrent(rows, false);
    ResetGains();
}

void CBayerColorDlg::OnLoad() {
    CFileDialog dialog(TRUE, QStringLiteral("clr"), QString(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       kClrFilter, this);
    if (dialog.DoModal() != IDOK)
        return;
    ColorCoefficients file;
    if (!ReadColorCoefficients(dialog.GetPathName(), &file)) {
        Warn(
            QStringLiteral("Error loading color coefficients from file.  Bad format or "
                           "unreadable."));
        return;
    }
    SetCurrent(file.rows, false);
    ResetGains();
}

void CBayerColorDlg::OnSave() {
    CFileDialog dialog(FALSE, QStringLiteral("clr"), QString(),
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kClrFilter, this);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Select File to Save As");
    if (dialog.DoModal() != IDOK)
        return;
    ColorCoefficients file;
    CopyRows(file.rows, m_current);
    const QString path = dialog.GetPathName();
    if (WriteColorCoefficients(path, file))
        AfxMessageBox(QStringLiteral("Color coefficients saved to file ") + path,
                      MB_OK | MB_ICONINFORMATION);
    else
        Warn(QStringLiteral("Error saving color coefficients to file."));
}

void CBayerColorDlg::OnResetToFactory() {
    float factory[3][3];
    m_processor->GetCoefficients(factory, true);
    SetCurrent(factory, false);
    ResetGains();
}

void CBayerColorDlg::OnApply() {
    float rows[3][3];
    GetShownCoefficients(rows);
    SetCurrent(rows, false);
    CopyRows(m_gainBase, m_current);
}

void CBayerColorDlg::OnUndo() {
    float rows[3][3];
    CopyRows(rows, m_previous);
    SetCurrent(rows, true);
    if (CWnd* undo = GetDlgItem(kUndo))
        undo->EnableWindow(FALSE);
}

void CBayerColorDlg::OnSelectRegion() {
    if (CVidView* view = View())
        view->SetSelectionMode(true);
}

void CBayerColorDlg::OnBalanceNow() {
    int means[3] = {0, 0, 0};  // blue, green, red
    float rows[3][3];
    bool send = true;
    if (m_manualMeans) {
        for (int c = 0; c < 3; ++c)
            means[2 - c] = std::clamp(GetDlgItemText(kMeanEdits[c]).trimmed().toInt(), 0, 255);
        BalancedRows(m_current, means, rows);
    } else {
        double l = 0, t = 0, r = 0, b = 0;
        CVidView* view = View();
        if (!view || view->GetSelection(&l, &t, &r, &b) != S_OK)
            return;
        const CRect region(static_cast<int>(std::min(l, r)), static_cast<int>(std::min(t, b)),
                           static_cast<int>(std::max(l, r)), static_cast<int>(std::max(t, b)));
        if (region.IsRectEmpty() || !m_processor->Balance(region, m_current, means, rows)) {
            AfxMessageBox(QStringLiteral("Region not selected."), MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        send = false;
        m_region = region;
        m_outline.Invalidate();
        for (int c = 0; c < 3; ++c)
            SetDlgItemText(kMeanEdits[c], QString::number(means[2 - c]));
    }
    const bool equal = means[0] == means[1] && means[1] == means[2];
    if (!equal) {
        SetCurrent(rows, false, send);
        CopyRows(m_gainBase, m_current);
    }
    const bool saturated = std::any_of(means, means + 3, [](int m) { return m == 255; });
    const bool zero = std::any_of(means, means + 3, [](int m) { return m == 0; });
    if (saturated)
        Warn(
            QStringLiteral("One or more channels were saturated (= 255) during the balance "
                           "operation.\nFor best results, avoid saturation by selecting a region "
                           "in the image which should appear gray."));
    if (zero)
        Warn(
            QStringLiteral("One or more channels were found to be zero during the balance "
                           "operation.\nFor best results, select a region in the image which "
                           "should appear gray."));
    if (equal)
        Warn(
            QStringLiteral("All channels were found to be equal during the balance "
                           "operation.\nRegion already balanced.  No change was made to the "
                           "color coefficients.\n"));
}

void CBayerColorDlg::OnManualMeans() {
    m_manualMeans = !m_manualMeans;
    for (int id : kMeanEdits)
        if (CWnd* edit = GetDlgItem(id))
            edit->EnableWindow(m_manualMeans);
    // "Apply Now" stays: it balances on the typed means as on the region's.
    if (CWnd* select = GetDlgItem(kSelectRegion))
        select->EnableWindow(!m_manualMeans);
}

void CBayerColorDlg::OnGainEditLeft(int index) {
    bool ok = false;
    const int typed = GetDlgItemText(kGainEdits[index]).trimmed().toInt(&ok);
    m_gains[index] = std::clamp(ok ? typed : m_gains[index], 0, kMaxGain);
    SetDlgItemText(kGainEdits[index], QString::number(m_gains[index]));
    m_sliders[index].SetPos(m_gains[index]);
}

void CBayerColorDlg::OnHScroll(UINT, UINT, CWnd* bar) {
    for (int i = 0; i < 3; ++i) {
        if (bar == &m_sliders[i]) {
            m_gains[i] = m_sliders[i].GetPos();
            SetDlgItemText(kGainEdits[i], QString::number(m_gains[i]));
        }
    }
}

void CBayerColorDlg::OnGainsNow() {
    float rows[3][3];
    m_processor->ApplyGains(m_gainBase, m_gains, rows);
    SetCurrent(rows, false, false);
}

void CBayerColorDlg::OnDisplayMode() {
    m_processor->ShowColor(!m_processor->IsShowingColor());
    UpdateCaptions();
    RefreshView();
}

void CBayerColorDlg::OnAdvanced() {
    m_advanced = !m_advanced;
    for (int id : kAdvancedItems)
        if (CWnd* item = GetDlgItem(id))
            item->ShowWindow(m_advanced ? SW_SHOW : SW_HIDE);
    UpdateCaptions();
}

void CBayerColorDlg::OnResetPreset() {
    const int chosen = m_presets.GetCurSel();
    float rows[3][3];
    if (!m_processor->GetPreset(chosen > 0 ? chosen - 1 : 0, rows))
        return;
    SetCurrent(rows, false);
    ResetGains();
}
