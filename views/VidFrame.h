#pragma once

// CVidFrame: the frame of a video window, hosted inside a play group's view. It owns the
// window's play control (whose callbacks the window's owner sets) and sends it the play
// commands, passes the skip spin's notification up to the play group, and asks before a
// recording that still lies in device memory is closed.

#include "shell/ViewChildedFrame.h"
#include "views/PlayControlWnd.h"

// Sent by a play group to each of its playback frames: close through the hosted-frame close.
inline constexpr UINT kClosePlaybackMessage = 0x7A9;
// Sent by a play group to a member's frame after moving the member (wParam the group's view,
// lParam the frame): the member's own play bar follows.
inline constexpr UINT kMemberFrameMovedMessage = 1227;

class CVidFrame : public CViewChildedFrame {
    DECLARE_DYNCREATE(CVidFrame)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr const char* kEraseQuestion = "Erase device memory?";

    CPlayControlWnd& GetPlayControl() { return m_playControl; }
    BOOL IsCreated() const { return m_bCreated; }

    // The close of a video window: unless "AppBehave:bPrompt4CloseFromDevice" is set to 0, a
    // window whose recording came from a device asks "Erase device memory?" first; No keeps
    // it open. Otherwise the hosted-frame close runs.
    void CloseWithDeviceCheck();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    LRESULT OnClosePlayback(WPARAM wParam, LPARAM lParam);
    LRESULT OnMemberFrameMoved(WPARAM wParam, LPARAM lParam);

private:
    // Whether the user has turned the device-memory question off.
    static bool DeviceQuestionTurnedOff();
    bool ShowsDeviceRecording();

    CPlayControlWnd m_playControl;
    BOOL m_bCreated = FALSE;
};
