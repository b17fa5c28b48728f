#pragma once

// CDeviceCallbackLink: how the sensor record page reaches its device and sends it commands,
// through two functions its host installs. Every link is on one process-wide list while it
// lives. User-interface thread only.

#include "platform/com/Variant.h"

#include <vector>

class CDevice;

class CDeviceCallbackLink {
public:
    // The device for a handle (the link asks with its reserved handle, -1).
    using GetDeviceFunction = CDevice* (*)(void* context, int handle);
    // A command code with its values (a one-dimensional SAFEARRAY): 0 when the command was
    // answered; status and result as the answering side fills them.
    using SendCommandFunction = int (*)(void* context, int code, const VARIANT& values,
                                        VARIANT* status, VARIANT* result);

    CDeviceCallbackLink();
    ~CDeviceCallbackLink();
    CDeviceCallbackLink(const CDeviceCallbackLink&) = delete;
    CDeviceCallbackLink& operator=(const CDeviceCallbackLink&) = delete;

    void SetGetDevice(GetDeviceFunction function, void* context) {
        m_getDevice = function;
        m_getContext = context;
    }
    void SetSendCommand(SendCommandFunction function, void* context) {
        m_sendCommand = function;
        m_sendContext = context;
    }

    // Null when the function or its context is missing.
    CDevice* GetDevice() const;
    // Without a function or context the status is marked failed (1) and 1 comes back.
    int SendCommand(int code, const VARIANT& values, VARIANT* status, VARIANT* result) const;

    static const std::vector<CDeviceCallbackLink*>& Links();

private:
    GetDeviceFunction m_getDevice = nullptr;
    void* m_getContext = nullptr;
    SendCommandFunction m_sendCommand = nullptr;
    void* m_sendContext = nullptr;
    int m_reserved = -1;
};
