#include "groups/NoteEditDlg.h"

#include "groups/NotesBasicView.h"

#include "platform/framework/MessageMap.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CNoteEditDlg, CDialog)
ON_WM_SIZE()
ON_EN_KILLFOCUS(2193, OnPaneKillFocus0)
ON_EN_KILLFOCUS(1004, OnPaneKillFocus1)
ON_EN_KILLFOCUS(1005, OnPaneKillFocus2)
ON_EN_KILLFOCUS(1006, OnPaneKillFocus3)
END_MESSAGE_MAP()

CNoteEditDlg::CNoteEditDlg() : CDialog(kTemplateId) {}

std::array<CNoteEditDlg::PanePlace, CNoteEditDlg::kPanes> CNoteEditDlg::Places(
    const std::array<bool, kPanes>& visible, int width, int height) {
    const int w = width - 20;
    const int h = std::max(height - 10, 100);
    std::vector<CRect> edits;
    std::vector<CRect> titles;
    const auto place = [&](int x, int y, int cx, int cy, int titleY) {
        edits.emplace_back(x, y, x + cx, y + cy);
        titles.emplace_back(x, titleY, x + cx, titleY + 15);
    };
    const int shown = static_cast<int>(std::count(visible.begin(), visible.end(), true));
    switch (shown) {
        case 1:
            place(10, 20, w, h - 30, 5);
            break;
        case 2: {
            const int half = (h - 10) / 2;
            place(10, 20, w, half - 30, 5);
            place(10, half + 10, w, h - (half + 10) - 10, half - 5);
            break;
        }
        case 3: {
            const int t = (h - 10) / 3;
            place(10, 20, w, t - 30, 5);
            place(10, t + 10, w, t - 20, t - 5);
            place(10, 2 * t + 10, w, h - (2 * t + 10) - 10, 2 * t - 5);
            break;
        }
        case 4: {
            const int c = width / 2;
            const int cw = c - 15;
            const int half = (h - 10) / 2;
            place(10, 20, cw, half - 30, 5);
            place(10, half + 10, cw, h - (half + 10) - 10, half - 5);
            place(c, 20, cw, half - 30, 5);
            place(c, half + 10, cw, h - (half + 10) - 10, half - 5);
            break;
        }
        default:
            break;
    }
    std::array<PanePlace, kPanes> places;
    size_t slot = 0;
    for (size_t pane = 0; pane < places.size(); ++pane) {
        if (!visible[pane])
            continue;
        places[pane] = {true, edits[slot], titles[slot]};
        ++slot;
    }
    return places;
}

void CNoteEditDlg::SetPaneVisible(int pane, bool visible) {
    if (pane >= 0 && pane < kPanes)
        m_visible[static_cast<size_t>(pane)] = visible;
}

void CNoteEditDlg::LayOut() {
    if (!m_initialized)
        return;
    CRect client;
    GetClientRect(&client);
    const auto places = Places(m_visible, client.Width(), client.Height());
    for (size_t pane = 0; pane < places.size(); ++pane) {
        CWnd* edit = GetDlgItem(kEditIds[pane]);
        CWnd* title = GetDlgItem(kTitleIds[pane]);
        if (!edit || !title)
            continue;
        edit->ShowWindow(places[pane].shown ? SW_SHOW : SW_HIDE);
        title->ShowWindow(places[pane].shown ? SW_SHOW : SW_HIDE);
        if (!places[pane].shown)
            continue;
        edit->MoveWindow(places[pane].edit);
        title->MoveWindow(places[pane].title);
    }
}

BOOL CNoteEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_initialized = true;
    LayOut();
    return TRUE;
}

void CNoteEditDlg::OnSize(UINT, int, int) {
    LayOut();
}

void CNoteEditDlg::Commit(int pane) {
    auto* view = dynamic_cast<CNotesBasicView*>(GetParent());
    CWnd* edit = GetDlgItem(kEditIds[static_cast<size_t>(pane)]);
    if (view && edit)
        view->CommitPane(pane, edit->GetWindowText());
}

void CNoteEditDlg::OnPaneKillFocus0() {
    Commit(0);
}

void CNoteEditDlg::OnPaneKillFocus1() {
    Commit(1);
}

void CNoteEditDlg::OnPaneKillFocus2() {
    Commit(2);
}

void CNoteEditDlg::OnPaneKillFocus3() {
    Commit(3);
}
