#pragma once

// CNoteEditDlg: the panel of a notes window: up to four note panes, each a multi-line edit with
// a title above it, laid out for the number of panes shown. An edit that loses the focus hands
// its text to the notes view that holds the panel.

#include "platform/framework/Dialog.h"
#include "platform/wintypes/Rect.h"

#include <array>

class CNoteEditDlg : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplateId = 378;
    static constexpr int kPanes = 4;
    static constexpr std::array<int, kPanes> kEditIds = {2193, 1004, 1005, 1006};
    static constexpr std::array<int, kPanes> kTitleIds = {2194, 2195, 2196, 2197};

    struct PanePlace {
        bool shown = false;
        CRect edit;
        CRect title;
    };
    // Where the panes go in a client area of width by height pixels: the shown panes in pane
    // order, one above the other for up to three, a 2 by 2 grid for four.
    static std::array<PanePlace, kPanes> Places(const std::array<bool, kPanes>& visible, int width,
                                                int height);

    CNoteEditDlg();

    void SetPaneVisible(int pane, bool visible);
    bool IsPaneVisible(int pane) const { return m_visible[static_cast<size_t>(pane)]; }
    // Places the panes for the current client size; nothing before the panel is initialised.
    void LayOut();
    bool IsInitialized() const { return m_initialized; }

protected:
    BOOL OnInitDialog() override;
    void OnSize(UINT nType, int cx, int cy);
    void OnPaneKillFocus0();
    void OnPaneKillFocus1();
    void OnPaneKillFocus2();
    void OnPaneKillFocus3();

private:
    void Commit(int pane);

    std::array<bool, kPanes> m_visible = {true, true, true, true};
    bool m_initialized = false;
};
