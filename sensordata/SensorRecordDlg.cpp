#include "sensordata/SensorRecordDlg.h"

#include "devices/core/Device.h"
#include "platform/com/SafeArrayVariant.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ResourceModuleScope.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/AcquisitionSettingsDlg.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/StandardRates.h"
#include "sensorres/SensorResourceIds.h"
#include "shell/NumberEntryDlg.h"
#include "views/panels/TabDlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QSlider>

#include <algorithm>
#include <cstdint>
#include <limits>

IMPLEMENT_DYNAMIC(CSensorRecordDlg, CSensorTabDlg)

BEGIN_MESSAGE_MAP(CSensorRecordDlg, CSensorTabDlg)
ON_CBN_SELCHANGE(CSensorRecordDlg::kRateCombo, OnRateChosen)
ON_LBN_SELCHANGE(CSensorRecordDlg::kFrameRateList, OnFrameRateChosen)
ON_CBN_SELCHANGE(CSensorRecordDlg::kSamplesPerFrameCombo, OnSamplesPerFrameChosen)
ON_CBN_SELCHANGE(CSensorRecordDlg::kEdgeCombo, OnEdgeChosen)
ON_BN_CLICKED(CSensorRecordDlg::kRecord, OnRecord)
ON_BN_CLICKED(CSensorRecordDlg::kAbort, OnAbort)
ON_BN_CLICKED(CSensorRecordDlg::kBufferLength, OnBufferLength)
ON_BN_CLICKED(CSensorRecordDlg::kSettings, OnSettings)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

namespace {

// The trigger controls: the page is used without them.
constexpr int kTriggerControls[] = {CSensorRecordDlg::kPreTriggerSlide,
                                    CSensorRecordDlg::kPreTriggerEdit,
                                    CSensorRecordDlg::kTriggerGroup,
                                    CSensorRecordDlg::kPreTime,
                                    CSensorRecordDlg::kPostTime,
                                    CSensorRecordDlg::kPreSamples,
                                    CSensorRecordDlg::kPostSamples,
                                    CSensorRecordDlg::kEdgeCombo,
                                    205,
                                    206,
                                    207,
                                    208,
                                    209,
                                    210};

}  // namespace

CSensorRecordDlg::CSensorRecordDlg(CWnd* pParentWnd)
    : CSensorTabDlg(SensorRes::kSensorRecordTemplate, pParentWnd) {}

CDataAcqWnd* CSensorRecordDlg::GetDataDevice() const {
    CDevice* device = m_bSensorAvailable ? m_link.GetDevice() : nullptr;
    int type = 0;
    if (!device || device->GetType(&type) != 0 || type != kDeviceTypeDataCard)
        return nullptr;
    return dynamic_cast<CDataAcqWnd*>(device);
}

std::vector<int> CSensorRecordDlg::SupportedRates() const {
    std::vector<int> rates;
    CDataAcqWnd* device = GetDataDevice();
    if (!device)
        return rates;
    std::vector<int> table(static_cast<size_t>(GetStandardRateCount()));
    int count = static_cast<int>(table.size());
    GetStandardRates(table.data(), &count);
    const double maximum = device->GetMaxChannelRate();
    for (int i = 0; i < count && table[static_cast<size_t>(i)] <= maximum; ++i)
        rates.push_back(table[static_cast<size_t>(i)]);
    return rates;
}

CComboBox* CSensorRecordDlg::Combo(int id) {
    CComboBox* combo = id == kRateCombo              ? &m_rateCombo
                       : id == kSamplesPerFrameCombo ? &m_samplesPerFrameCombo
                                                     : &m_edgeCombo;
    return combo->GetSafeHwnd() ? combo : nullptr;
}

CListBox* CSensorRecordDlg::FrameRateList() {
    return m_frameRateList.GetSafeHwnd() ? &m_frameRateList : nullptr;
}

BOOL CSensorRecordDlg::OnInitDialog() {
    CSensorTabDlg::OnInitDialog();
    m_rateCombo.SubclassDlgItem(kRateCombo, this);
    m_frameRateList.SubclassDlgItem(kFrameRateList, this);
    m_samplesPerFrameCombo.SubclassDlgItem(kSamplesPerFrameCombo, this);
    m_edgeCombo.SubclassDlgItem(kEdgeCombo, this);
    {
        CResourceModuleScope scope(SensorRes::kModuleName);
        for (auto [id, bitmap] : {std::pair{kRecord, SensorRes::kBitmapRecord},
                                  std::pair{kAbort, SensorRes::kBitmapStop}}) {
            const QImage image = CResourceChain::LoadBitmap(bitmap);
            CWnd* button = GetDlgItem(id);
            if (auto* widget =
                    button ? qobject_cast<QAbstractButton*>(button->GetQWidget()) : nullptr;
                widget && !image.isNull())
                widget->setIcon(QPixmap::fromImage(image));
        }
    }
    if (CComboBox* edges = Combo(kEdgeCombo)) {
        for (int edge : {1, 2}) {
            QString text;
            GetTriggerEdgeText(edge, &text);
            edges->SetItemData(edges->AddString(text), static_cast<uintptr_t>(edge));
        }
    }
    if (CWnd* slide = GetDlgItem(kPreTriggerSlide)) {
        if (auto* slider = qobject_cast<QSlider*>(slide->GetQWidget()))
            slider->setRange(0, 100);
    }
    // A typed number counts once the user leaves the field (Enter moves on).
    if (CWnd* combo = GetDlgItem(kSamplesPerFrameCombo)) {
        if (auto* box = qobject_cast<QComboBox*>(combo->GetQWidget()); box && box->lineEdit())
            QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, box,
                             [this] { OnSamplesPerFrameChosen(); });
    }
    Refresh();
    return TRUE;
}

bool CSensorRecordDlg::Answered(int code, int sent, const VARIANT& status) const {
    if (sent != 0)
        return false;
    // The single-device record commands object through their status; the others never do.
    if (code >= 11 && code <= 15)
        return status.vt == VT_I4 && (status.lVal & 0xFFFF) == 0;
    return true;
}

bool CSensorRecordDlg::Send(int code, double value, bool asInt) {
    CSafeArrayVariant values;
    if (asInt) {
        const LONG v = static_cast<LONG>(value);
        values.CreateOneDim(VT_I4, 1, &v);
    } else {
        values.CreateOneDim(VT_R8, 1, &value);
    }
    CComVariant status;
    CComVariant result;
    const int sent = m_link.SendCommand(code, values, &status, &result);
    return Answered(code, sent, status);
}

bool CSensorRecordDlg::SendEmpty(int code) {
    CSafeArrayVariant values;
    values.CreateOneDim(VT_R8, 0);
    CComVariant status;
    CComVariant result;
    const int sent = m_link.SendCommand(code, values, &status, &result);
    return Answered(code, sent, status);
}

void CSensorRecordDlg::OnRateChosen() {
    CDataAcqWnd* device = GetDataDevice();
    CComboBox* combo = Combo(kRateCombo);
    if (!device || !combo)
        return;
    const std::vector<int> rates = SupportedRates();
    const int index = combo->GetCurSel();
    if (index < 0 || index >= static_cast<int>(rates.size()))
        return;
    const int rate = rates[static_cast<size_t>(index)];
    int r = 0, d = 0, samples = 0, post = 0, edge = 0;
    device->GetSampleParams(&r, &d, &samples, &post, &edge);
    device->ApplyParams(rate, d, samples, post, edge);
    Send(kRateCommand, rate, false);
    Refresh();
}

void CSensorRecordDlg::OnFrameRateChosen() {
    CDataAcqWnd* device = GetDataDevice();
    CListBox* list = FrameRateList();
    if (!device || !list)
        return;
    const int index = list->GetCurSel();
    if (index < 0 || index >= static_cast<int>(m_listedRates.size()))
        return;
    int frameRate = 0, d = 0, frames = 0, postFrames = 0, edge = 0;
    device->GetFrameParams(&frameRate, &d, &frames, &postFrames, &edge);
    device->ApplyFrameParams(m_listedRates[static_cast<size_t>(index)], d, frames, postFrames,
                             edge);
    Refresh();
}

void CSensorRecordDlg::OnSamplesPerFrameChosen() {
    CDataAcqWnd* device = GetDataDevice();
    CComboBox* combo = Combo(kSamplesPerFrameCombo);
    if (!device || !combo)
        return;
    const QString text = qobject_cast<QComboBox*>(combo->GetQWidget())->currentText();
    bool ok = false;
    const int wanted = text.trimmed().toInt(&ok);
    int frameRate = 0, d = 0, frames = 0, postFrames = 0, edge = 0;
    device->GetFrameParams(&frameRate, &d, &frames, &postFrames, &edge);
    if (ok && wanted >= 1 && wanted != d) {
        // The nearest table rate that holds whole frames of at least this frame rate.
        int rate = 0, samplesPerFrame = 0;
        const int64_t asked = int64_t(frameRate) * wanted;
        device->FindNearestRate(
            static_cast<int>(std::min<int64_t>(asked, std::numeric_limits<int>::max())), wanted,
            &rate, &samplesPerFrame);
        samplesPerFrame = std::max(1, samplesPerFrame);
        device->ApplyFrameParams(rate / samplesPerFrame, samplesPerFrame, frames, postFrames, edge);
    }
    Refresh();
}

void CSensorRecordDlg::OnEdgeChosen() {
    CDataAcqWnd* device = GetDataDevice();
    CComboBox* combo = Combo(kEdgeCombo);
    if (!device || !combo || combo->GetCurSel() < 0)
        return;
    const int chosen = static_cast<int>(combo->GetItemData(combo->GetCurSel()));
    int r = 0, d = 0, samples = 0, post = 0, edge = 0;
    device->GetSampleParams(&r, &d, &samples, &post, &edge);
    device->ApplyParams(r, d, samples, post, chosen);
    Send(kEdgeCommand, chosen, true);
    Refresh();
}

void CSensorRecordDlg::OnPreTriggerChosen(int value) {
    CDataAcqWnd* device = GetDataDevice();
    if (!device)
        return;
    int r = 0, d = 0, samples = 0, post = 0, edge = 0;
    device->GetSampleParams(&r, &d, &samples, &post, &edge);
    const int wanted = static_cast<int>(int64_t(100 - value) * (samples - 1) / 100);
    device->ApplyParams(r, d, samples, wanted, edge);
    Send(kTriggerCommand, wanted, false);
    Refresh();
}

void CSensorRecordDlg::OnHScroll(UINT code, UINT, CWnd* bar) {
    if (!bar || bar->GetDlgCtrlID() != kPreTriggerSlide || code == SB_THUMBTRACK ||
        code == SB_ENDSCROLL)
        return;
    if (auto* slider = qobject_cast<QSlider*>(bar->GetQWidget()))
        OnPreTriggerChosen(slider->value());
}

void CSensorRecordDlg::OnRecord() {
    CDataAcqWnd* device = GetDataDevice();
    if (!device || !SendEmpty(kRecordCommand))
        return;
    device->SetRecordRequest(1, 1, 0);
    if (device->SetMode(kModeArmed) == 0) {
        m_bRunning = true;
        if (m_pfnStartRecord)
            m_pfnStartRecord(m_pStartRecordContext);
    }
    Refresh();
}

void CSensorRecordDlg::OnAbort() {
    CDataAcqWnd* device = GetDataDevice();
    if (!device || !SendEmpty(kAbortCommand))
        return;
    device->StopAcquisition();
    m_bRunning = false;
    Refresh();
}

void CSensorRecordDlg::OnBufferLength() {
    CDataAcqWnd* device = GetDataDevice();
    if (!device || device->GetRecordState() != 2)
        return;
    const int maximum = device->GetMaxSamplesPerChannel();
    if (maximum < 1)
        return;
    int r = 0, d = 0, samples = 0, post = 0, edge = 0;
    device->GetSampleParams(&r, &d, &samples, &post, &edge);
    CNumberEntryDlg prompt(this);
    prompt.SetParameters(QStringLiteral("Buffer Size"),
                         QStringLiteral("Enter maxium data-buffer length"), 1, maximum, samples, 1);
    if (prompt.DoModal() != IDOK)
        return;
    // The device may have changed while the prompt was up.
    if (GetDataDevice() != device)
        return;
    device->GetSampleParams(&r, &d, &samples, &post, &edge);
    device->ApplyParams(r, d, prompt.m_nValue, post, edge);
    Refresh();
}

void CSensorRecordDlg::OnSettings() {
    CDataAcqWnd* device = GetDataDevice();
    if (!device || !m_pfnSettings)
        return;
    m_pfnSettings(m_pSettingsContext, device);
    Refresh();
}

void CSensorRecordDlg::SelectText(int id, const QString& text) {
    CWnd* item = GetDlgItem(id);
    if (!item)
        return;
    if (id == kFrameRateList) {
        CListBox* list = FrameRateList();
        if (!list)
            return;
        int found = -1;
        for (int i = 0; i < list->GetCount() && found < 0; ++i) {
            if (list->GetText(i) == text)
                found = i;
        }
        if (list->GetCurSel() != found)
            list->SetCurSel(found);
        return;
    }
    CComboBox* combo = Combo(id);
    if (!combo)
        return;
    const int found = combo->FindStringExact(-1, text);
    if (combo->GetCurSel() != found)
        combo->SetCurSel(found);
}

void CSensorRecordDlg::FillRates(CDataAcqWnd&) {
    const std::vector<int> rates = SupportedRates();
    if (rates == m_listedRates)
        return;
    m_listedRates = rates;
    CComboBox* combo = Combo(kRateCombo);
    CListBox* list = FrameRateList();
    if (combo)
        combo->ResetContent();
    if (list)
        list->ResetContent();
    for (int rate : rates) {
        const QString text = QFormatC("%d", rate);
        if (combo)
            combo->AddString(text);
        if (list)
            list->AddString(text);
    }
}

void CSensorRecordDlg::FillSamplesPerFrame(CDataAcqWnd& device) {
    const int frameRate = device.GetFrameRate();
    const int on = device.GetAcqSettings().ChannelsOn();
    if (frameRate == m_listedFrameRate && on == m_listedChannelsOn)
        return;
    m_listedFrameRate = frameRate;
    m_listedChannelsOn = on;
    int count = 0;
    device.ListSamplesPerFrame(frameRate, on, nullptr, &count);
    std::vector<int> values(static_cast<size_t>(std::max(count, 0)));
    device.ListSamplesPerFrame(frameRate, on, values.data(), &count);
    CComboBox* combo = Combo(kSamplesPerFrameCombo);
    if (!combo)
        return;
    auto* box = qobject_cast<QComboBox*>(combo->GetQWidget());
    const QString shown = box->currentText();
    combo->ResetContent();
    for (int value : values)
        combo->AddString(QFormatC("%d", value));
    box->setEditText(shown);
}

void CSensorRecordDlg::Refresh() {
    if (!GetSafeHwnd())
        return;
    CDataAcqWnd* device = GetDataDevice();
    if (device) {
        int r = 0, d = 0, samples = 0, post = 0, edge = 0;
        device->GetSampleParams(&r, &d, &samples, &post, &edge);
        FillRates(*device);
        FillSamplesPerFrame(*device);
        const bool timed = r >= 1e-7;
        const int pre = samples - post;
        const auto seconds = [&](int count) { return timed ? double(count) / r : 0.0; };
        SelectText(kRateCombo, QFormatC("%d", r));
        CTabDlg::SetFieldInt(this, kRateField2, r, true);
        CTabDlg::SetFieldInt(this, kRateField, r, true);
        CTabDlg::SetFieldTextIfChanged(
            this, kSamples, QFormatC("%d/%d", samples, device->GetMaxSamplesPerChannel()), true);
        CTabDlg::SetFieldDouble(this, kRecordTime, seconds(samples), "%4.3f", true);
        const int on = device->GetAcqSettings().ChannelsOn();
        CTabDlg::SetFieldInt(this, kChannelsOn, on, true);
        const int frameRate = device->GetFrameRate();
        SelectText(kFrameRateList, QFormatC("%d", frameRate));
        CTabDlg::SetFieldInt(this, kFrameRateField, frameRate, true);
        if (CComboBox* combo = Combo(kSamplesPerFrameCombo)) {
            auto* box = qobject_cast<QComboBox*>(combo->GetQWidget());
            if (box->currentText() != QFormatC("%d", d))
                box->setEditText(QFormatC("%d", d));
        }
        CTabDlg::SetFieldInt(this, kSamplesPerFrameField, d, true);
        CTabDlg::SetFieldInt(this, kSampleCount, samples * on, true);
        CTabDlg::SetFieldDouble(this, kPreTime, seconds(pre), "%4.3f", true);
        CTabDlg::SetFieldDouble(this, kPostTime, seconds(post), "%4.3f", true);
        CTabDlg::SetFieldInt(this, kPreSamples, pre, true);
        CTabDlg::SetFieldInt(this, kPostSamples, post, true);
        m_nPreTriggerPercent = device->GetPreTriggerPercent();
        if (CWnd* slide = GetDlgItem(kPreTriggerSlide)) {
            if (auto* slider = qobject_cast<QSlider*>(slide->GetQWidget());
                slider && slider->value() != m_nPreTriggerPercent) {
                const QSignalBlocker quiet(slider);
                slider->setValue(m_nPreTriggerPercent);
            }
        }
        CTabDlg::SetFieldInt(this, kPreTriggerEdit, m_nPreTriggerPercent, true);
        QString edgeText;
        GetTriggerEdgeText(edge, &edgeText);
        SelectText(kEdgeCombo, edgeText);
    }
    for (int id : kTriggerControls)
        CTabDlg::ShowItem(this, id, SW_HIDE);
    const int state = device ? device->GetRecordState() : 0;
    const bool settable = device && state != 4;
    for (int id :
         {int(kRateCombo), int(kFrameRateList), int(kSamplesPerFrameCombo), int(kSettings)})
        CTabDlg::EnableItem(this, id, settable);
    CTabDlg::EnableItem(this, kRecord, device && state == 2 && device->CanTrigger());
    CTabDlg::EnableItem(this, kAbort, device && device->IsAcquiring());
    CTabDlg::EnableItem(this, kBufferLength, device && state == 2);
}
