#include "sensordata/DataDisplayLink.h"

#include "sensordata/DataAcqWnd.h"
#include "sensordata/SensorPanelHost.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

HRESULT CDataDisplayLink::GetDeviceId(int* handle) const {
    if (!m_display || !handle)
        return E_FAIL;
    if (m_display->GetHandle(handle) != 0)
        *handle = -1;
    return S_OK;
}

HRESULT CDataDisplayLink::CopyLiveData(CSensorDataSet* target) const {
    if (!m_display || !target)
        return E_FAIL;
    CVidraData* data = target->GetData();
    if (!data)
        return S_OK;
    data->Copy(m_display->GetLiveData());
    data->m_nLiveCopy = 1;
    return S_OK;
}

void CDataDisplayLink::AttachViewDisplay(CSensorPanelHost* host) const {
    if (m_display && host)
        m_display->SetDataDisplay(host->GetDataDisplay());
}

int CDataDisplayLink::ShowTestTrigger() const {
    return m_display ? m_display->ShowTestTrigger() : 0;
}
