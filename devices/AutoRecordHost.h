#pragma once

// CAutoRecordHost: the Auto-Record Controller over the devices the user has open, for as long
// as no record controller holds them: a record group of every open camera and data card (in
// the order they were opened) with the recording settings of the registry, its automatic
// download with the options of its option file, and the recording-busy box while the group
// records. A hidden window polls the group every 100 ms as a record controller does, so that a
// finished recording reaches the download.

#include "devices/AutoDownloadWnd.h"
#include "devices/RecordingBusyDlg.h"
#include "devices/core/RecordGroup.h"
#include "platform/framework/Wnd.h"
#include "shell/DlgOptionsRecord.h"

#include <memory>
#include <utility>
#include <vector>

class CAutoRecordHost : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR kPollTimer = 1;
    static constexpr UINT kPollMs = 100;
    // The template the busy box is made from.
    static constexpr UINT kBusyTemplate = 30074;

    CAutoRecordHost();
    ~CAutoRecordHost() override;

    // Runs the Auto-Record Controller modally over the open devices; its answer, or -1 when no
    // device is open (the user is told).
    INT_PTR Run(CWnd* pParentWnd);

    // Reads the master's state (a recording that ended goes to the download) and shows the
    // busy box exactly while the group records with a device open, unless the recording
    // settings turn the box off.
    void Poll();

    CRecordGroup& GetGroup() { return m_group; }
    CAutoDownloadWnd& GetDownload() { return *m_download; }
    CRecordingBusyDlg& GetBusyBox() { return m_busy; }

protected:
    void OnTimer(UINT_PTR nIDEvent);

private:
    // Puts every open camera and data card into the group: how many. The group becomes the
    // command target of their windows' links; what those targets were is kept.
    int GatherOpenDevices();
    // Takes the devices out of the group and gives the links that still exist their targets
    // back (a data card's own window sends its commands to the card).
    void ReleaseDevices();
    bool BusyBoxWanted();

    CDlgOptionsRecord m_recordOptions;
    CRecordGroup m_group;
    std::unique_ptr<CAutoDownloadWnd> m_download;
    CRecordingBusyDlg m_busy;
    std::vector<std::pair<CDeviceLink*, IDeviceCommandTarget*>> m_savedTargets;
};
