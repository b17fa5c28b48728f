#pragma once

// CMessagePoster: the id-layer object (id 6) that posts to the window it was given.

#include "frames/IMessagePoster.h"
#include "frames/IdObjectBase.h"

class CMessagePoster : public CIdObjectBase, public IMessagePoster {
public:
    HRESULT QueryInterfaceById(int id, void** out) override;
    HRESULT SetWindow(HWND window) override;
    HRESULT PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_window = nullptr;
};
