#include "devices/core/RecordGroupBase.h"

#include <algorithm>

int CRecordGroupBase::AddDevice(int handle) {
    const int found = FindDevice(handle);
    if (found >= 0)
        return found;
    m_handles.push_back(handle);
    m_lastAdded = handle;
    return GetDeviceCount() - 1;
}

int CRecordGroupBase::RemoveDevice(int handle) {
    const auto it = std::find(m_handles.begin(), m_handles.end(), handle);
    if (it == m_handles.end())
        return 1;
    m_handles.erase(it);
    return 0;
}

int CRecordGroupBase::GetDeviceHandle(int index) const {
    return index >= 0 && index < GetDeviceCount() ? m_handles[static_cast<size_t>(index)] : -1;
}

CDevice* CRecordGroupBase::GetDeviceAt(int index) {
    const int handle = GetDeviceHandle(index);
    return handle < 0 ? nullptr : GetDevice(handle, 0);
}

int CRecordGroupBase::FindDevice(int handle) const {
    const auto it = std::find(m_handles.begin(), m_handles.end(), handle);
    return it == m_handles.end() ? -1 : static_cast<int>(it - m_handles.begin());
}
