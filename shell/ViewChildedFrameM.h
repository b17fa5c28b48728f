#pragma once

// CViewChildedFrameM: a hosted frame that starts hidden (its host shows it once placed) and
// offers copying its window image to the clipboard and closing itself.

#include "shell/ViewChildedFrame.h"

inline constexpr UINT ID_EDIT_COPY_ACTIVE_WINDOW = 32921;
inline constexpr UINT ID_WINDOW_CLOSE_ACTIVE_WINDOW = 32924;

class CViewChildedFrameM : public CViewChildedFrame {
    DECLARE_DYNCREATE(CViewChildedFrameM)
    DECLARE_MESSAGE_MAP()

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnEditCopyActiveWindow();
    void OnWindowCloseActiveWindow();
};
