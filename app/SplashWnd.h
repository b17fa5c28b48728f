#pragma once

// CSplashWnd: the start-up picture. One exists at a time; it goes away by itself after
// three seconds, or at once when the user presses a key or a mouse button (the press is
// swallowed).

#include "platform/framework/Wnd.h"

#include <memory>

#include <QImage>

inline constexpr UINT IDB_SPLASH = 413;

class CSplashWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kShowMilliseconds = 3000;

    // Whether ShowSplashScreen may show it (the command line can turn it off).
    static void EnableSplashScreen(BOOL bEnable);
    // Shows the splash centred when enabled and none is shown.
    static void ShowSplashScreen(CWnd* pMainWnd);
    // Hides the splash for a key or mouse-button press and swallows it (TRUE).
    static BOOL PreTranslateAppMessage(const MSG* pMsg);
    // The splash being shown, or nullptr.
    static CSplashWnd* Current();

    // Hides and deletes the splash, then repaints the main window.
    void HideSplashScreen();

    void OnTimer(UINT_PTR nIDEvent);

protected:
    void OnPaint();
    void PostNcDestroy() override;

private:
    CSplashWnd() = default;
    ~CSplashWnd() override;

    QImage m_image;
    CWnd* m_pMainWnd = nullptr;
    // The main window may close while the splash still shows: it is repainted only while alive.
    std::weak_ptr<bool> m_mainAlive;
};
