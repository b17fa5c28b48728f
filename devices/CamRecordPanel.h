#pragma once

// CCamRecordPanel: the record pages of a stand-alone camera window. The window's camera is the
// first device of a record group of its own, which the panel's pages drive: "Record" (the
// camera's settings and the group's live, record, trigger, stop and idle), "Trigger Adjust", "Smart
// Trigger", "Devices" (with "Add Camera" and "Add Data Card", which add devices to the group),
// "Data Trigger" and "Analysis", on a control panel docked at the window's right side. The panel is
// the group's owner, its state listener, the pages' group provider and their view finder, and it
// polls the group so that the end of a recording is seen.

#include "devices/DataTriggerTab.h"
#include "devices/DevicesTab.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/RecordTab.h"
#include "devices/SingleRecordPage.h"
#include "devices/TriggerAdjustTab.h"
#include "devices/VideoTriggerTab.h"
#include "devices/core/IRecordGroupListener.h"
#include "devices/core/IRecordGroupOwner.h"
#include "devices/core/RecordGroup.h"
#include "views/panels/AnalysisTab.h"
#include "views/panels/ControlPanelBar.h"

#include <QTimer>

class CFrameWnd;

class CCamRecordPanel : public IDeviceCommandTargetProvider,
                        public IDeviceViewFinder,
                        public IRecordGroupOwner,
                        public IRecordGroupListener {
public:
    static constexpr UINT kBarId = 0xE812;
    static constexpr int kPollPeriodMs = 250;

    CCamRecordPanel();
    ~CCamRecordPanel() override;
    CCamRecordPanel(const CCamRecordPanel&) = delete;
    CCamRecordPanel& operator=(const CCamRecordPanel&) = delete;

    // Docks the control panel with its pages at the frame's right side; FALSE when the bar
    // cannot be made.
    BOOL Create(CFrameWnd* frame);
    // The frame's camera becomes the group's first device: false when there is none or another
    // window has it attached.
    bool AttachCamera(CCamView* view);

    CRecordGroup& GetGroup() { return m_group; }
    CControlPanelBar& GetBar() { return m_bar; }
    CSingleRecordPage& GetRecordPage() { return m_recordPage; }
    // The group's record buttons on the "Record" page.
    CRecordTab& GetRecordTab() { return m_recordPage.GetRecordTab(); }
    CTriggerAdjustTab& GetTriggerAdjustTab() { return m_triggerAdjustTab; }
    CVideoTriggerTab& GetVideoTriggerTab() { return m_videoTriggerTab; }
    CDevicesTab& GetDevicesTab() { return m_devicesTab; }
    CDataTriggerTab& GetDataTriggerTab() { return m_dataTriggerTab; }
    CAnalysisTab& GetAnalysisTab() { return m_analysisTab; }

    IDeviceCommandTarget* GetCommandTarget() override { return &m_group; }
    CView* GetActiveDeviceView(int* kind, CDevice** device) override;
    CView* FindDeviceWindow(int handle, int kind) override;
    CCamView* FindCameraViewForDataView(CView* dataView) override;
    // Runs Device Selection for the kind and adds the chosen device to the group.
    void AddDeviceOfKind(int kind) override;
    // IRecordGroupListener: the pages follow the group's state; the panel opens no playbacks.
    HRESULT AddPlayback(int) override { return E_FAIL; }
    HRESULT OnStateChanged(int oldState, int newState) override;
    HRESULT OnRecordingEnded(int) override { return S_OK; }
    HRESULT OnBeforeLive() override { return S_OK; }
    HRESULT OnGroupChanged() override { return S_OK; }

private:
    CCamView* GetCameraView() const;

    CRecordGroup m_group;
    CFrameWnd* m_frame = nullptr;
    CControlPanelBar m_bar;
    CSingleRecordPage m_recordPage;
    CTriggerAdjustTab m_triggerAdjustTab;
    CVideoTriggerTab m_videoTriggerTab;
    CDevicesTab m_devicesTab;
    CDataTriggerTab m_dataTriggerTab;
    CAnalysisTab m_analysisTab;
    QTimer m_poll;
};
