#pragma once

// CNotesBasicView: the view of a notes window. It shows, in up to four panes, the global note
// and the current-frame note of member playbacks of one play group. It is itself a playback
// view: while its frame is on top of the group it stands in for its linked playback, so the
// group's play control keeps driving that recording.

#include "groups/NoteEditDlg.h"
#include "groups/NoteItem.h"
#include "views/PlaybackView.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class CMeasurementView;
class CRecordingNotes;

class CNotesBasicView : public CPlaybackView {
    DECLARE_DYNCREATE(CNotesBasicView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr const char* kGlobalTitle = "Global Note: (read only)";
    static constexpr const char* kIndexTitle = "Indice Note: (read only)";

    CNotesBasicView();
    ~CNotesBasicView() override;

    // The playback slots answer for the linked playback; without one, as the base does.
    void SetCurrentFrame(int frame, int force) override;
    int GetCurrentFrame() const override;
    int GetInPoint(int* frame) const override;
    int GetOutPoint(int* frame) const override;
    int GetFrameNumberOrigin(int* first) const override;
    double GetFrameRate() const override;
    int GetFrameCount() const override;

    void OnInitialUpdate() override;
    void OnDraw(CDC*) override {}

    // n panes (1 to 4) shown; any other value keeps pane 0 and shows panes 1 to 3.
    void SetMode(int n);
    void SetItem(int index, int type, int id, int scope, const QString& title);
    const std::vector<CNoteItem>& GetItems() const { return m_items; }
    void SetGroupView(CMeasurementView* view);
    // Null once the group view is gone.
    CMeasurementView* GetGroupView() const;
    // Fills every shown pane from its item.
    void Refresh();
    // "Notes : " and the titles of the current-note items, "*" after a modified recording's.
    void UpdateCaption();
    QString Caption() const;
    bool IsModified() const;
    // An edit lost the focus: its text goes to the group as the item's note.
    void CommitPane(int pane, const QString& text);
    void StepForward();
    void StepBack();
    // The top-most member playback that one of the items names; null without a group view.
    CPlaybackView* FindLinkedView() const;
    CRecordingNotes* NotesOf(const CNoteItem& item) const;
    CNoteEditDlg& GetEditor() { return m_editor; }

protected:
    void OnSize(UINT nType, int cx, int cy);

private:
    bool m_editorCreated = false;
    CNoteEditDlg m_editor;
    std::vector<CNoteItem> m_items;
    // The group view's window: the group's close may take it before this window goes.
    QPointer<QWidget> m_groupView;
};
