#include "devices/core/DeviceLink.h"

#include "devices/core/DeviceManager.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<CDeviceLink*>& Links() {
    static std::vector<CDeviceLink*> links;
    return links;
}

int s_alternate = 0;

}  // namespace

CDeviceLink::CDeviceLink() {
    Links().push_back(this);
}

CDeviceLink::~CDeviceLink() {
    auto& links = Links();
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
}

void CDeviceLink::SetHandle(int handle) {
    m_handle = handle;
    m_useDefault = 0;
}

CDevice* CDeviceLink::GetDevice() const {
    return m_provider ? m_provider->GetDevice(m_handle, m_useDefault) : nullptr;
}

int CDeviceLink::SendCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                             VARIANT* status, VARIANT* result) {
    IDeviceCommandTarget* target = m_target;
    if (!target && m_targetProvider)
        target = m_targetProvider->GetCommandTarget();
    if (target)
        return target->HandleDeviceCommand(handle, subtype, code, values, status, result);
    if (status && status->vt == VT_EMPTY) {
        status->vt = VT_I4;
        status->lVal = 1;
    } else if (status) {
        status->lVal = static_cast<LONG>((static_cast<uint32_t>(status->lVal) & 0xFFFF0000u) | 1u);
    }
    return 1;
}

void NotifyDeviceLinks() {
    // A link may go away while it is told; work on a copy and skip links gone meanwhile.
    const std::vector<CDeviceLink*> links = Links();
    for (CDeviceLink* link : links) {
        if (std::find(Links().begin(), Links().end(), link) == Links().end())
            continue;
        if (s_alternate)
            link->OnDeviceUpdateAlt();
        else
            link->OnDeviceUpdate();
    }
}

void SetAlternateNotification(int flag) {
    s_alternate = flag;
    NotifyDeviceLinks();
}

int GetAlternateNotification() {
    return s_alternate;
}

int CDeviceLinkList::GetCount() const {
    return static_cast<int>(Links().size());
}

int CDeviceLinkList::GetLinks(CDeviceLink** links, int capacity) const {
    int stored = 0;
    for (CDeviceLink* link : Links()) {
        if (stored >= capacity)
            break;
        if (link->GetHandle() >= 0)
            links[stored++] = link;
    }
    return stored;
}

void CDeviceLinkList::ResetForTests() {
    Links().clear();
    s_alternate = 0;
}
