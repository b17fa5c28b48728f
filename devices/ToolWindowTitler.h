#pragma once

// CToolWindowTitler: opens the two tool windows of the record controller's video trigger inside
// the controller: the settings window ("VT Settings"), where the camera's picture shows the
// trigger's region, and the zoom window ("VT Zoom Region"), which shows its owner's frame source,
// the region cut out of the picture.

#include "platform/wintypes/WinError.h"

#include <memory>

class CRecordControllerDoc;
class CRegionToolWnd;
class CVidView;

class CToolWindowTitler {
public:
    static constexpr const char* kSettingsTitle = "VT Settings";
    static constexpr const char* kZoomTitle = "VT Zoom Region";

    // document: not owned; it outlives the titler.
    explicit CToolWindowTitler(CRecordControllerDoc* document) : m_document(document) {}

    // The window object whose frame source the zoom window shows (not owned; null: none).
    HRESULT SetOwner(CRegionToolWnd* owner);
    // Opens both windows and gives the zoom window's view the owner's frame source. E_FAIL
    // without an owner or a document, or when the controller cannot make the windows.
    HRESULT OpenToolWindows();

    // The views of the windows last opened; null once a window is closed.
    CVidView* GetSettingsView() const { return m_settingsAlive.expired() ? nullptr : m_settings; }
    CVidView* GetZoomView() const { return m_zoomAlive.expired() ? nullptr : m_zoom; }

private:
    // A new video window in the controller titled title; its view, or null.
    CVidView* OpenWindow(const char* title, std::weak_ptr<bool>* alive);

    CRecordControllerDoc* m_document;
    CRegionToolWnd* m_owner = nullptr;
    CVidView* m_settings = nullptr;
    CVidView* m_zoom = nullptr;
    std::weak_ptr<bool> m_settingsAlive;
    std::weak_ptr<bool> m_zoomAlive;
};
