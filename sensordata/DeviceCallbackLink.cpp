#include "sensordata/DeviceCallbackLink.h"

#include <algorithm>

namespace {

std::vector<CDeviceCallbackLink*>& List() {
    static std::vector<CDeviceCallbackLink*> links;
    return links;
}

}  // namespace

CDeviceCallbackLink::CDeviceCallbackLink() {
    List().push_back(this);
}

CDeviceCallbackLink::~CDeviceCallbackLink() {
    std::erase(List(), this);
}

const std::vector<CDeviceCallbackLink*>& CDeviceCallbackLink::Links() {
    return List();
}

CDevice* CDeviceCallbackLink::GetDevice() const {
    if (!m_getDevice || !m_getContext)
        return nullptr;
    return m_getDevice(m_getContext, m_reserved);
}

int CDeviceCallbackLink::SendCommand(int code, const VARIANT& values, VARIANT* status,
                                     VARIANT* result) const {
    if (!m_sendCommand || !m_sendContext) {
        if (status) {
            VariantClear(status);
            status->vt = VT_I4;
            status->lVal = 1;
        }
        return 1;
    }
    return m_sendCommand(m_sendContext, code, values, status, result);
}
