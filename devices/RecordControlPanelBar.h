#pragma once

// CRecordControlPanelBar: the record control-panel bar the main window docks at its side and
// shows and hides with View/Control Bar. Its "Record" tab holds the record buttons of the first
// record controller that is open (all disabled while none is).

#include "devices/RecordTab.h"
#include "devices/core/DeviceLink.h"
#include "views/panels/ControlPanelBar.h"

#include <functional>

class CFrameWnd;
class CRecordGroup;

class CRecordControlPanelBar : public CControlPanelBar, public IDeviceCommandTargetProvider {
    DECLARE_DYNAMIC(CRecordControlPanelBar)

public:
    // The bar's id: the main window finds it by the command that toggles it.
    static constexpr UINT kBarId = 32774;

    // groupOf names the group the record buttons drive, asked at every use.
    explicit CRecordControlPanelBar(std::function<CRecordGroup*()> groupOf);
    ~CRecordControlPanelBar() override;

    // Makes the bar in frame, docked at the left and hidden, with its "Record" tab.
    BOOL CreateIn(CFrameWnd* frame);

    IDeviceCommandTarget* GetCommandTarget() override;
    CRecordTab& GetRecordTab() { return m_recordTab; }

private:
    std::function<CRecordGroup*()> m_groupOf;
    CRecordTab m_recordTab;
};
