#pragma once

// CSensorPanelHost: the member of a data view that owns its sensor panel and turns the view's
// calls into panel calls. Every call does nothing (or gives 0) when there is no panel or the
// panel has not made the window the call needs.

#include "platform/framework/Wnd.h"
#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinError.h"
#include "sensordata/DataDisplayDlg.h"

#include <memory>

class CSensorDataSet;
class CSensorPanel;
class ISensorDataSource;

class CSensorPanelHost {
public:
    CSensorPanelHost();
    ~CSensorPanelHost();
    CSensorPanelHost(const CSensorPanelHost&) = delete;
    CSensorPanelHost& operator=(const CSensorPanelHost&) = delete;

    CSensorPanel* GetPanel() const { return m_panel.get(); }
    void SetDataSource(std::unique_ptr<ISensorDataSource> source);

    CDataDisplayDlg* GetDataDisplay() const;
    void SetCursorCallback(CDataDisplayDlg::CursorChanged callback, void* context);
    // Moves the display's cursor to the frame's scan, without telling the owner.
    void GoToFrame(int frame);
    // E_FAIL without a set or data; else the set's data is copied into the panel's model
    // (through a temporary copy) and S_OK.
    HRESULT CopyDataIn(const CSensorDataSet* set);
    void SetPosition(int position);
    int GetPosition() const;
    // Refresh the display from the shown data, then open the panel's "Format Settings" or the
    // graph configuration.
    void ShowFormatSettings();
    void ShowDisplaySettings();
    // The display's mouse mode (CDataDisplayDlg::MouseMode).
    void SetMode(int mode);
    // Builds the panel's windows with the display a child of parent: S_OK, or E_FAIL.
    HRESULT Attach(CWnd* parent);
    // Sizes the display (no move, no z-order change) and repaints it.
    void Resize(int cx, int cy);
    // The display's screen rectangle (empty without one).
    CRect GetWindowRect() const;

private:
    // Rebuilds the display from the data it shows.
    void RefreshDisplay() const;

    std::unique_ptr<CSensorPanel> m_panel;
};
