#pragma once

// CToolBar: a bar of buttons by command id, held as a QToolBar. Buttons send WM_COMMAND to
// the frame; on idle their update handlers enable and check them. Two image sets (small and
// large) may be given; the bar shows one of them at a time.

#include "platform/framework/ControlBar.h"

#include <QImage>
#include <QList>

class QAction;
class QToolBar;

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)

public:
    CToolBar();

    // A bar in pParentWnd's frame, docked by the CBRS_ALIGN_ flags of dwStyle; visible with
    // WS_VISIBLE. nID is the bar's id (for ShowControlBar and the View menu).
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = 0xE800);
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                UINT nID = 0xE800) override {
        return CreateEx(pParentWnd, 0, dwStyle, nID);
    }
    // The buttons, in order; ID_SEPARATOR makes a separator.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The buttons and small images of the toolbar resource nIDResource (its bitmap has the same
    // id); FALSE when the resource chain has no such toolbar.
    BOOL LoadToolBar(UINT nIDResource);
    // One image per button (separators take none), cut from a strip of buttonSize cells.
    BOOL SetImages(const QImage& strip, CSize buttonSize, BOOL bLarge);
    // Shows the large set (when given) or the small one.
    void UseLargeImages(BOOL bLarge);

    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    QAction* GetButtonAction(int nIndex) const;
    QToolBar* GetToolBarCtrl() const;

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    void ApplyImages();

    QList<QImage> m_small;
    QList<QImage> m_large;
    bool m_useLarge = false;
};
