#pragma once

// CDeviceLink: how a window names the device it shows. It holds a handle, never a pointer, and
// asks its provider for the device on every use. Every link is on the process-wide link list
// while it lives, so that device changes reach all windows.

#include "platform/com/Variant.h"

class CDevice;
class CDeviceManager;
class IDeviceViewFinder;

// The object that handles the commands a link sends (the record group of the link's device).
class IDeviceCommandTarget {
public:
    virtual ~IDeviceCommandTarget() = default;
    virtual int HandleDeviceCommand(int handle, int subtype, const VARIANT& code,
                                    const VARIANT& values, VARIANT* status, VARIANT* result) = 0;
};

// Asked for a command target when a link has none of its own.
class IDeviceCommandTargetProvider {
public:
    virtual ~IDeviceCommandTargetProvider() = default;
    virtual IDeviceCommandTarget* GetCommandTarget() = 0;
};

class CDeviceLink {
public:
    CDeviceLink();
    virtual ~CDeviceLink();
    CDeviceLink(const CDeviceLink&) = delete;
    CDeviceLink& operator=(const CDeviceLink&) = delete;

    virtual void OnDeviceClosed() {}
    virtual void OnDeviceRefresh() {}
    virtual void OnDeviceUpdate() {}
    virtual void OnDeviceUpdateAlt() {}

    // Binds the link to handle; it no longer follows the default device.
    void SetHandle(int handle);
    int GetHandle() const { return m_handle; }
    bool UsesDefault() const { return m_useDefault != 0; }
    void SetProvider(CDeviceManager* provider) { m_provider = provider; }
    void SetValue(int value) { m_value = value; }
    int GetValue() const { return m_value; }
    void SetCommandTarget(IDeviceCommandTarget* target) { m_target = target; }
    IDeviceCommandTarget* GetCommandTarget() const { return m_target; }
    void SetCommandTargetProvider(IDeviceCommandTargetProvider* provider) {
        m_targetProvider = provider;
    }
    IDeviceCommandTargetProvider* GetCommandTargetProvider() const { return m_targetProvider; }
    CDeviceManager* GetProvider() const { return m_provider; }
    // How the link's window finds the device window in front of its record controller (not
    // owned; null: none).
    void SetViewFinder(IDeviceViewFinder* finder) { m_finder = finder; }
    IDeviceViewFinder* GetViewFinder() const { return m_finder; }

    // Null without a provider.
    CDevice* GetDevice() const;
    // Sends a command (code VT_I4, values a VT_R8 SAFEARRAY) to the link's target, or the one its
    // target provider names: the target's result. Without a target the status gets 1 in its low
    // 16 bits and 1 comes back.
    int SendCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                    VARIANT* status, VARIANT* result);

private:
    int m_handle = -1;
    unsigned char m_useDefault = 1;
    CDeviceManager* m_provider = nullptr;
    int m_value = 0;
    IDeviceCommandTarget* m_target = nullptr;
    IDeviceCommandTargetProvider* m_targetProvider = nullptr;
    IDeviceViewFinder* m_finder = nullptr;
};

// Tells every link that the device selection changed (OnDeviceUpdate, or OnDeviceUpdateAlt
// while the alternate notification is set).
void NotifyDeviceLinks();
// Stores the flag, then notifies at once in the chosen way.
void SetAlternateNotification(int flag);
int GetAlternateNotification();

// The main frame's view of the process-wide link list.
class CDeviceLinkList {
public:
    int GetCount() const;
    // Fills links (room for capacity entries) with the links whose handle is not negative: how
    // many were stored.
    int GetLinks(CDeviceLink** links, int capacity) const;

    // Test fixtures: forgets every link and clears the alternate flag.
    static void ResetForTests();
};
