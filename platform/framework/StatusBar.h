#pragma once

// CStatusBar: the status line of a frame, held as a QStatusBar, made of panes by id. The pane
// with id ID_SEPARATOR is the stretching message pane; each other pane shows a text and an
// optional icon, has a tooltip, and is updated on idle by the update handler of its id (a
// disabled pane shows no text).

#include "platform/framework/ControlBar.h"

#include <QImage>
#include <QString>

#include <vector>

class QLabel;
class QStatusBar;

inline constexpr UINT SBPS_NORMAL = 0x0000;
inline constexpr UINT SBPS_NOBORDERS = 0x0100;
inline constexpr UINT SBPS_STRETCH = 0x0800;
inline constexpr UINT SBPS_DISABLED = 0x04000000;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)

public:
    CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = 0xE801) override;
    BOOL CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = 0xE801) {
        return Create(pParentWnd, dwStyle, nID);
    }
    // Replaces the panes by one per id, in order.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    BOOL SetPaneText(int nIndex, const QString& text, BOOL bUpdate = TRUE);
    QString GetPaneText(int nIndex) const;
    // The text the pane shows now (none while disabled).
    QString GetShownPaneText(int nIndex) const;
    // A null icon hides the pane's icon.
    void SetPaneIcon(int nIndex, const QImage& icon);
    QImage GetPaneIcon(int nIndex) const;
    void SetTipText(int nIndex, const QString& text);
    QString GetTipText(int nIndex) const;

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    struct Pane {
        UINT id = 0;
        UINT style = 0;
        int width = 0;
        QString text;
        QImage iconImage;
        QWidget* box = nullptr;
        QLabel* icon = nullptr;
        QLabel* label = nullptr;
    };
    void ShowPane(Pane& pane);
    QStatusBar* GetStatusBarCtrl() const;

    std::vector<Pane> m_panes;
};
