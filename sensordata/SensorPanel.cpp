#include "sensordata/SensorPanel.h"

#include "sensordata/DataDisplayDlg.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"

IMPLEMENT_DYNAMIC(CSensorPanel, CWnd)

CSensorPanel::CSensorPanel() = default;

// The display draws with the settings and data: it goes first.
CSensorPanel::~CSensorPanel() {
    m_display.reset();
    m_settings.reset();
}

void CSensorPanel::SetDataSource(std::unique_ptr<ISensorDataSource> source) {
    m_source = std::move(source);
}

CVidraData* CSensorPanel::GetShownData() const {
    CVidraData* data = m_source ? m_source->GetData() : nullptr;
    return data ? data : m_data.get();
}

HRESULT CSensorPanel::CreateFormatSettings() {
    if (m_settings)
        return 1;
    auto settings = std::make_unique<CFormatSettingsDlg>(nullptr, GetShownData());
    if (CFormatSettingsDlg* from = m_source ? m_source->GetFormatSettings() : nullptr)
        settings->CopyValuesFrom(*from);
    if (!settings->Create(GetSafeHwnd() ? this : nullptr))
        return E_FAIL;
    settings->ShowWindow(SW_HIDE);
    m_settings = std::move(settings);
    return S_OK;
}

HRESULT CSensorPanel::CreateDataDisplay(CWnd* parent) {
    if (m_display)
        return 1;
    if (FAILED(CreateFormatSettings()))
        return E_FAIL;
    CreateDataModel();
    auto display = std::make_unique<CDataDisplayDlg>(parent ? parent : this, GetShownData());
    // A source's own settings are the ones its other windows edit: the display draws by them.
    CFormatSettingsDlg* sourceSettings = m_source ? m_source->GetFormatSettings() : nullptr;
    display->SetFormatSettings(sourceSettings ? sourceSettings : m_settings.get());
    CWnd* owner = parent ? parent : (GetSafeHwnd() ? this : nullptr);
    if (!display->Create(owner, GetShownData(), SensorRes::kDataDisplayChildTemplate))
        return E_FAIL;
    m_display = std::move(display);
    if (m_source)
        m_source->SetDataDisplay(m_display.get());
    return S_OK;
}

HRESULT CSensorPanel::CreateDataModel() {
    if (m_data)
        return 1;
    m_data = std::make_unique<CVidraData>();
    return S_OK;
}
