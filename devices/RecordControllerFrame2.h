#pragma once

// CRecordControllerFrame2 and CRecordControllerView2: the frame and view of the second
// generation of record controller. The frame adds two control-panel bars to the play-group
// frame: one docked at a side for the record panel, one at the top or bottom for the record
// buttons; View/Control Bar (32774) and 32795 show and hide them.

#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementView.h"
#include "views/panels/ControlPanelBar.h"

class CCmdUI;

class CRecordControllerFrame2 : public CMeasurementFormFrame {
    DECLARE_DYNCREATE(CRecordControllerFrame2)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kSideBarTemplate = 140;
    static constexpr UINT kButtonBarTemplate = 1599;

    CControlPanelBar& GetSideBar() { return m_sideBar; }
    CControlPanelBar& GetButtonBar() { return m_buttonBar; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnToggleSideBar();
    void OnUpdateSideBar(CCmdUI* pCmdUI);
    void OnToggleButtonBar();
    void OnUpdateButtonBar(CCmdUI* pCmdUI);

private:
    void Toggle(CControlPanelBar& bar);

    CControlPanelBar m_sideBar;
    CControlPanelBar m_buttonBar;
};

class CRecordControllerView2 : public CMeasurementView {
    DECLARE_DYNCREATE(CRecordControllerView2)
};
