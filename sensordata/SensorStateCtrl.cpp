#include "sensordata/SensorStateCtrl.h"

#include "devices/core/Device.h"
#include "sensordata/DataAcqWnd.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CSensorStateCtrl, CStatic)

BOOL CSensorStateCtrl::CreateIn(CWnd* parent, const CRect& rect, UINT nID) {
    if (!Create(StateText(nullptr), WS_CHILD | WS_VISIBLE, rect, parent, nID))
        return FALSE;
    GetQWidget()->setObjectName(QString::fromLatin1(kWindowName));
    return TRUE;
}

QString CSensorStateCtrl::StateText(const CDevice* device) {
    if (!device)
        return QStringLiteral("No device: not connected");
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    const auto* card = dynamic_cast<const CDataAcqWnd*>(device);
    const QString state =
        card && card->IsAcquiring() ? QStringLiteral("acquiring") : QStringLiteral("stopped");
    return descriptor.m_name + QStringLiteral(": ") + state;
}

void CSensorStateCtrl::ShowDevice(const CDevice* device) {
    const QString text = StateText(device);
    if (GetSafeHwnd() && GetWindowText() != text)
        SetWindowText(text);
}
