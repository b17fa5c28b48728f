#include "devices/SensorDeviceSelection.h"

#include "devices/DeviceSelectionDlg.h"
#include "devices/core/DriverApi.h"
#include "sensordata/DataSensorDoc.h"

namespace SensorDeviceSelection {

QString SensorPath(const CDeviceId& id) {
    return QString::fromLatin1(CDataSensorDoc::kSensorMarker) + id.ToString();
}

QString PathOfChoice(int result, const CDeviceId& id) {
    return result == IDOK && id.m_type == kDeviceTypeDataCard ? SensorPath(id) : QString();
}

QString ChooseSensorPath(CWnd* owner) {
    CDeviceSelectionDlg dialog(owner);
    const int result = static_cast<int>(dialog.DoModal());
    CDeviceId id;
    dialog.GetDeviceId(&id);
    return PathOfChoice(result, id);
}

}  // namespace SensorDeviceSelection
