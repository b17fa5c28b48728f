#pragma once

// CHostedFrameWidget: the window of a frame hosted inside a view. As a child widget it draws
// the frame's own border around the frame's content: a title bar (active or inactive look,
// minimise, maximise or restore, and close buttons) that drags the window, and grips that
// resize it inside its parent. Minimised it shrinks to its title bar at the bottom of the
// parent; maximised it fills the parent. A press on the title bar or a grip reaches the
// frame's window object as WM_MOUSEACTIVATE and, when that activates, WM_CHILDACTIVATE after
// the window came to the top of its siblings; the close button sends WM_CLOSE. The widget as
// a whole, title bar included, is the frame's window rectangle. As a top-level window it
// shows none of this, and only then its menu bar.

#include "platform/wintypes/WinTypes.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QStyle>

class CHostedFrameWidget : public QMainWindow {
public:
    explicit CHostedFrameWidget(QWidget* parent);

    // The title bar's look; inactive until set.
    void SetCaptionActive(bool active);
    bool IsCaptionActive() const { return m_active; }

    // Without a system menu the title bar shows no buttons (the window closes, minimises and
    // maximises only as its program asks); shown until set.
    void SetSystemMenu(bool shown);
    bool HasSystemMenu() const { return m_systemMenu; }

    QWidget* GetTitleBar() const;
    // A title-bar button's rectangle in the title bar (SC_TitleBarCloseButton, ...MinButton,
    // ...MaxButton, ...NormalButton); empty when the button is not shown in this state.
    QRect GetButtonRect(QStyle::SubControl button) const;
    int GetTitleBarHeight() const;
    static constexpr int kBorder = 4;
    static constexpr int kMinimizedWidth = 160;

    // No menu of its own over the bars: the frame's View commands show and hide them by name and
    // keep their settings in step.
    QMenu* createPopupMenu() override { return nullptr; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TitleBar;
    class Grip;

    // Asks the frame about a press on its own parts (see the class comment). FALSE when the
    // press goes no further: refused, eaten, or the window went meanwhile.
    bool ActivateFromPress(UINT hitTest, UINT buttonMessage);
    // Margins, visibility and places of the title bar and grips.
    void UpdateDecorations();
    // The geometry of the state just entered (oldState: the one left).
    void PlaceForState(Qt::WindowStates oldState);
    void SetGeometryKeepingState(const QRect& rect);
    QRect MinimizedGeometry() const;
    void WatchParent();

    TitleBar* m_titleBar = nullptr;
    Grip* m_grips[4] = {};
    bool m_active = false;
    bool m_systemMenu = true;
    bool m_placing = false;
    QRect m_normalGeometry;
    QPointer<QWidget> m_watchedParent;
};
