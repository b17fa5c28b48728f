#pragma once

// CPlaybackTab: the play group's "Playback" page: the playback tree, "Add Video" and "Add
// Data", and a row of play buttons whose commands go to the page's frame. The page polls its
// play group on every message that reaches its default handling and rebuilds the tree when the
// group's playbacks changed.

#include "views/panels/OwnerDrawButton.h"
#include "views/panels/OwnerLink.h"
#include "views/panels/PlaybackTree.h"
#include "views/panels/TabDlg.h"

inline constexpr UINT kPlaybackTabTemplate = 181;

class CPlaybackTab : public CTabDlg, public COwnerLink {
    DECLARE_DYNAMIC(CPlaybackTab)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kAddVideoButton = 2020;
    static constexpr int kAddDataButton = 2019;
    static constexpr UINT kAddVideoIcon = 187;
    static constexpr UINT kAddDataIcon = 188;
    // The play buttons' commands, passed on to the frame.
    static constexpr UINT kFirstPlayCommand = 2001;
    static constexpr UINT kLastPlayCommand = 2010;
    static constexpr UINT kPlayForwardCommand = 2001;
    static constexpr UINT kPlayBackwardCommand = 2009;

    explicit CPlaybackTab(CWnd* pParentWnd = nullptr);

    HRESULT RebuildTree() override;

    CPlaybackTree& GetTree() { return m_tree; }
    COwnerDrawButton& GetAddVideoButton() { return m_addVideo; }
    COwnerDrawButton& GetAddDataButton() { return m_addData; }
    int GetSeenCount() const { return m_seenCount; }
    int GetListedCount() const { return m_listedCount; }

    BOOL OnInitDialog() override;
    // Polls the play group for changes before the default handling.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnAddVideo();
    void OnAddData();
    void OnPlayCommand(UINT nID);
    void OnTreeRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnWindowMenu(UINT nID);

private:
    // Puts a self-drawing button with the icon in place of the template's button.
    void ReplaceButton(COwnerDrawButton& button, int nID, UINT icon);
    void Poll();

    CPlaybackTree m_tree;
    COwnerDrawButton m_addVideo;
    COwnerDrawButton m_addData;
    int m_seenCount = 0;
    int m_listedCount = 0;
};
