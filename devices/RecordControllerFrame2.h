#pragma once

// CRecordControllerFrame2 and CRecordControllerView2: the frame and view of the second
// generation of record controller. The frame adds two control-panel bars to the play-group
// frame: one docked at a side with the record panel of the camera in front, one at the top or
// bottom with the group's record buttons; View/Control Bar (32774) and View/Record Buttons
// (32795) show and hide them.

#include "devices/IDeviceViewFinder.h"
#include "devices/RecordControlPage.h"
#include "devices/RecordTab.h"
#include "devices/core/DeviceLink.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementView.h"
#include "views/panels/ControlPanelBar.h"

class CCmdUI;
class CRecordControllerDoc2;
class CRecordGroup;

class CRecordControllerFrame2 : public CMeasurementFormFrame,
                                public IDeviceCommandTargetProvider,
                                public IDeviceViewFinder {
    DECLARE_DYNCREATE(CRecordControllerFrame2)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kSideBarTemplate = 140;
    static constexpr UINT kButtonBarTemplate = 1599;
    static constexpr UINT kRecordPanelTemplate = 1600;
    static constexpr UINT kRecordTabTemplate = 1598;
    static constexpr UINT kToggleSideBar = 32774;
    static constexpr UINT kToggleButtonBar = 32795;

    CRecordControllerFrame2();
    ~CRecordControllerFrame2() override;

    CControlPanelBar& GetSideBar() { return m_sideBar; }
    CControlPanelBar& GetButtonBar() { return m_buttonBar; }
    CRecordControlPage& GetRecordPanel() { return m_recordPanel; }
    CRecordTab& GetRecordTab() { return m_recordTab; }

    CRecordControllerDoc2* GetControllerDocument();
    CRecordGroup* GetRecordGroup();

    // IDeviceCommandTargetProvider: the group of the frame's document.
    IDeviceCommandTarget* GetCommandTarget() override;
    // IDeviceViewFinder over the embedded camera windows (the controller embeds no data
    // windows, so no data playback finds a camera here).
    CView* GetActiveDeviceView(int* kind, CDevice** device) override;
    CView* FindDeviceWindow(int handle, int kind) override;
    CCamView* FindCameraViewForDataView(CView*) override { return nullptr; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnToggleSideBar();
    void OnUpdateSideBar(CCmdUI* pCmdUI);
    void OnToggleButtonBar();
    void OnUpdateButtonBar(CCmdUI* pCmdUI);

private:
    void Toggle(CControlPanelBar& bar);

    CControlPanelBar m_sideBar;
    CControlPanelBar m_buttonBar;
    CRecordControlPage m_recordPanel{kRecordPanelTemplate};
    CRecordTab m_recordTab{kRecordTabTemplate};
};

class CRecordControllerView2 : public CMeasurementView {
    DECLARE_DYNCREATE(CRecordControllerView2)
};
