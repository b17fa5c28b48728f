#pragma once

// CDataQNPlayFrameVCF: the hosted frame of a data playback window (of either family), with the
// play bar along its foot. Its play control steps the playback shown; a play group that moved
// the playback tells the frame (kMemberFrameMovedMessage) and the play bar follows. Closing a
// window whose data is a live copy of a device's memory asks first whether that may be
// erased. The mode value 1 marks a window that belongs to a record group.

#include "groups/IDataFrame.h"
#include "sensordata/DataFrameVCF.h"
#include "sensordata/DataPlayBar.h"
#include "views/PlayControlWnd.h"

class CPlaybackView;

class CDataQNPlayFrameVCF : public CDataFrameVCF, public IDataFrame {
    DECLARE_DYNCREATE(CDataQNPlayFrameVCF)
    DECLARE_MESSAGE_MAP()

public:
    // The string of the close question, "Erase device memory?".
    static constexpr UINT kEraseQuestionString = 16396;
    // The play bar's id among the frame's bars.
    static constexpr UINT kPlayBarId = 0xE900;

    int GetFrameMode() const override { return m_mode; }
    void SetFrameMode(int mode) { m_mode = mode; }

    CDataPlayBar& GetPlayBar() { return m_playBar; }
    CPlayControlWnd& GetPlayControl() { return m_playControl; }

    // Gives the bar's transport buttons their icons ("PLAYICON", "REWICON", "STOPICON",
    // "BACKICON", "STEPICON", "REVICON", "FORWICON" on 2001, 2002, 2003, 2004, 2005, 2009, 2010)
    // and shows it.
    void SetupPlayBar();
    // Brings the play bar up to the playback shown: the mode boxes (usable for a member of a
    // play group) and their checks, the range, frame, time and position.
    void RefreshPlayBar();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Unless "AppBehave:bPrompt4CloseFromDevice" is 0, a window whose data set is a live copy
    // asks "Erase device memory?" first; No keeps it open.
    void OnClose();
    LRESULT OnClosePlayback(WPARAM wParam, LPARAM lParam);
    LRESULT OnMemberFrameMoved(WPARAM wParam, LPARAM lParam);

private:
    CPlaybackView* ShownPlayback() const;
    static void FrameCountCallback(void* context, int frame, int* value);
    static void FrameNumberCallback(void* context, int frame, int* value);
    static void CurrentFrameCallback(void* context, int frame, int* value);
    static BOOL TimeCallback(void* context, double* rate);
    static void FrameChangedCallback(void* context, int frame);

    CDataPlayBar m_playBar;
    CPlayControlWnd m_playControl;
    int m_mode = 0;
};
