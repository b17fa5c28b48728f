#include "sensordata/SensorPanelHost.h"

#include "platform/framework/Button.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/SensorPanel.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"

CSensorPanelHost::CSensorPanelHost() : m_panel(std::make_unique<CSensorPanel>()) {}

CSensorPanelHost::~CSensorPanelHost() = default;

void CSensorPanelHost::SetDataSource(std::unique_ptr<ISensorDataSource> source) {
    if (m_panel)
        m_panel->SetDataSource(std::move(source));
}

CDataDisplayDlg* CSensorPanelHost::GetDataDisplay() const {
    return m_panel ? m_panel->GetDataDisplay() : nullptr;
}

void CSensorPanelHost::SetCursorCallback(CDataDisplayDlg::CursorChanged callback, void* context) {
    if (CDataDisplayDlg* display = GetDataDisplay())
        display->SetCursorCallback(callback, context);
}

void CSensorPanelHost::GoToFrame(int frame) {
    CDataDisplayDlg* display = GetDataDisplay();
    CVidraData* data = m_panel ? m_panel->GetShownData() : nullptr;
    if (display && data)
        display->SetCursorIndex(frame * data->SafeScansPerFrame(), false);
}

HRESULT CSensorPanelHost::CopyDataIn(const CSensorDataSet* set) {
    if (!m_panel || !set || !set->GetData())
        return E_FAIL;
    m_panel->CreateDataModel();
    // Through a copy, so that the panel's model changes in one step.
    CVidraData copy(*set->GetData());
    m_panel->GetDataModel()->Copy(copy);
    return S_OK;
}

void CSensorPanelHost::SetPosition(int position) {
    if (CDataDisplayDlg* display = GetDataDisplay())
        display->SetCursorIndex(position, false);
}

int CSensorPanelHost::GetPosition() const {
    CDataDisplayDlg* display = GetDataDisplay();
    return display ? display->GetCursorIndex() : 0;
}

void CSensorPanelHost::RefreshDisplay() const {
    CDataDisplayDlg* display = GetDataDisplay();
    if (!display)
        return;
    display->SetData(m_panel->GetShownData());
    display->BuildPlot();
    display->UpdateReadout();
}

void CSensorPanelHost::ShowFormatSettings() {
    if (!m_panel || !GetDataDisplay())
        return;
    RefreshDisplay();
    GetDataDisplay()->SendMessage(WM_COMMAND, SensorRes::kFormatSettingsCommand, 0);
}

void CSensorPanelHost::ShowDisplaySettings() {
    if (!m_panel || !GetDataDisplay())
        return;
    RefreshDisplay();
    GetDataDisplay()->SendMessage(WM_COMMAND, MAKEWPARAM(DataDisplayId::kConfigure, BN_CLICKED), 0);
}

void CSensorPanelHost::SetMode(int mode) {
    if (CDataDisplayDlg* display = GetDataDisplay())
        display->SetMouseMode(mode);
}

HRESULT CSensorPanelHost::Attach(CWnd* parent) {
    if (!m_panel)
        return E_FAIL;
    m_panel->CreateDataModel();
    return FAILED(m_panel->CreateDataDisplay(parent)) ? E_FAIL : S_OK;
}

void CSensorPanelHost::Resize(int cx, int cy) {
    CDataDisplayDlg* display = GetDataDisplay();
    if (!display || !display->GetSafeHwnd())
        return;
    display->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
    display->Invalidate();
}

CRect CSensorPanelHost::GetWindowRect() const {
    CRect rect;
    if (CDataDisplayDlg* display = GetDataDisplay(); display && display->GetSafeHwnd())
        display->GetWindowRect(&rect);
    return rect;
}
