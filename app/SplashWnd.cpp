#include "app/SplashWnd.h"

#include "platform/framework/FrameWnd.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/ResourceChain.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
ON_WM_PAINT()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

BOOL g_splashEnabled = FALSE;
CSplashWnd* g_splash = nullptr;

// The size the splash takes when the program carries no picture.
constexpr int kPlainWidth = 400;
constexpr int kPlainHeight = 240;

}  // namespace

CSplashWnd::~CSplashWnd() {
    if (g_splash == this)
        g_splash = nullptr;
}

void CSplashWnd::EnableSplashScreen(BOOL bEnable) {
    g_splashEnabled = bEnable;
}

CSplashWnd* CSplashWnd::Current() {
    return g_splash;
}

void CSplashWnd::ShowSplashScreen(CWnd* pMainWnd) {
    if (!g_splashEnabled || g_splash)
        return;
    auto* splash = new CSplashWnd;
    splash->m_pMainWnd = pMainWnd;
    if (const auto* frame = dynamic_cast<const CFrameWnd*>(pMainWnd))
        splash->m_mainAlive = frame->GetLifeToken();
    splash->m_image = CResourceChain::LoadBitmap(IDB_SPLASH);
    const int width = splash->m_image.isNull() ? kPlainWidth : splash->m_image.width();
    const int height = splash->m_image.isNull() ? kPlainHeight : splash->m_image.height();
    QRect screen(0, 0, width, height);
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screen = primary->availableGeometry();
    const int x = screen.x() + (screen.width() - width) / 2;
    const int y = screen.y() + (screen.height() - height) / 2;
    if (!splash->Create(nullptr, QString(), WS_POPUP | WS_VISIBLE,
                        CRect(x, y, x + width, y + height), nullptr, 0)) {
        delete splash;
        return;
    }
    if (QWidget* widget = splash->GetQWidget()) {
        widget->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        widget->setGeometry(x, y, width, height);
        widget->show();
    }
    g_splash = splash;
    splash->SetTimer(kTimerId, kShowMilliseconds);
}

BOOL CSplashWnd::PreTranslateAppMessage(const MSG* pMsg) {
    if (!g_splash || !pMsg)
        return FALSE;
    switch (pMsg->message) {
        // Every key, Alt combinations included, arrives as a key-down; presses on the
        // window's frame belong to the window manager and never reach the program.
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            g_splash->HideSplashScreen();
            return TRUE;
        default:
            return FALSE;
    }
}

void CSplashWnd::HideSplashScreen() {
    CWnd* mainWnd = m_mainAlive.expired() ? nullptr : m_pMainWnd;
    DestroyWindow();
    if (mainWnd && mainWnd->GetSafeHwnd())
        mainWnd->UpdateWindow();
}

void CSplashWnd::PostNcDestroy() {
    delete this;
}

void CSplashWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kTimerId)
        HideSplashScreen();
}

void CSplashWnd::OnPaint() {
    CPaintDC dc(this);
    QPainter* painter = dc.GetPainter();
    if (!painter)
        return;
    if (!m_image.isNull()) {
        painter->drawImage(0, 0, m_image);
        return;
    }
    const QRect area(0, 0, kPlainWidth, kPlainHeight);
    painter->fillRect(area, Qt::white);
    painter->drawText(area, Qt::AlignCenter, QStringLiteral("Vidra Player"));
}
