#include "groups/NotesBasicView.h"

#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/RecordingNotes.h"

#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"

#include <QGuiApplication>
#include <QScreen>

IMPLEMENT_DYNCREATE(CNotesBasicView, CPlaybackView)

BEGIN_MESSAGE_MAP(CNotesBasicView, CPlaybackView)
ON_WM_SIZE()
END_MESSAGE_MAP()

CNotesBasicView::CNotesBasicView() = default;

CNotesBasicView::~CNotesBasicView() {
    m_items.clear();
}

void CNotesBasicView::SetCurrentFrame(int frame, int force) {
    if (CPlaybackView* linked = FindLinkedView())
        linked->SetCurrentFrame(frame, force);
    else
        CPlaybackView::SetCurrentFrame(frame, force);
}

int CNotesBasicView::GetCurrentFrame() const {
    CPlaybackView* linked = FindLinkedView();
    return linked ? linked->GetCurrentFrame() : CPlaybackView::GetCurrentFrame();
}

int CNotesBasicView::GetInPoint(int* frame) const {
    CPlaybackView* linked = FindLinkedView();
    return linked ? linked->GetInPoint(frame) : CPlaybackView::GetInPoint(frame);
}

int CNotesBasicView::GetOutPoint(int* frame) const {
    CPlaybackView* linked = FindLinkedView();
    return linked ? linked->GetOutPoint(frame) : CPlaybackView::GetOutPoint(frame);
}

int CNotesBasicView::GetFrameNumberOrigin(int* first) const {
    CPlaybackView* linked = FindLinkedView();
    return linked ? linked->GetFrameNumberOrigin(first)
                  : CPlaybackView::GetFrameNumberOrigin(first);
}

double CNotesBasicView::GetFrameRate() const {
    CPlaybackView* linked = FindLinkedView();
    return linked ? linked->GetFrameRate() : CPlaybackView::GetFrameRate();
}

int CNotesBasicView::GetFrameCount() const {
    CPlaybackView* linked = FindLinkedView();
    return linked ? linked->GetFrameCount() : CPlaybackView::GetFrameCount();
}

void CNotesBasicView::OnInitialUpdate() {
    CPlaybackView::OnInitialUpdate();
    if (m_editorCreated)
        return;
    if (!m_editor.Create(CNoteEditDlg::kTemplateId, this))
        return;
    m_editorCreated = true;
    m_editor.ShowWindow(SW_SHOW);
    CRect client;
    GetClientRect(&client);
    m_editor.MoveWindow(client);
    if (CFrameWnd* frame = GetParentFrame()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1000, 1000);
        CRect rect;
        frame->GetWindowRect(&rect);
        if (CWnd* parent = frame->GetParent())
            parent->ScreenToClient(&rect);
        frame->MoveWindow(rect.left, rect.top, area.width() * 3 / 10, area.height() * 6 / 10);
    }
}

void CNotesBasicView::OnSize(UINT, int cx, int cy) {
    if (m_editorCreated)
        m_editor.MoveWindow(0, 0, cx, cy);
}

void CNotesBasicView::SetMode(int n) {
    for (int pane = 1; pane < CNoteEditDlg::kPanes; ++pane)
        m_editor.SetPaneVisible(pane, n < 1 || n > 4 || pane < n);
    m_editor.LayOut();
}

void CNotesBasicView::SetGroupView(CMeasurementView* view) {
    m_groupView = view ? view->GetQWidget() : nullptr;
}

CMeasurementView* CNotesBasicView::GetGroupView() const {
    return dynamic_cast<CMeasurementView*>(CWnd::FromWidgetPermanent(m_groupView.data()));
}

void CNotesBasicView::SetItem(int index, int type, int id, int scope, const QString& title) {
    if (index < 0)
        return;
    if (static_cast<size_t>(index) >= m_items.size())
        m_items.resize(static_cast<size_t>(index) + 1);
    m_items[static_cast<size_t>(index)] = CNoteItem(type, id, scope, title);
}

CRecordingNotes* CNotesBasicView::NotesOf(const CNoteItem& item) const {
    CMeasurementView* group = GetGroupView();
    CMeasurementFormDoc* doc = group ? group->GetGroupDoc() : nullptr;
    return doc ? doc->GetNotesFor(item.GetType(), item.GetId()) : nullptr;
}

void CNotesBasicView::Refresh() {
    for (size_t i = 0; i < m_items.size() && i < CNoteEditDlg::kPanes; ++i) {
        const CNoteItem& item = m_items[i];
        CRecordingNotes* notes = NotesOf(item);
        if (!notes || !m_editor.IsPaneVisible(static_cast<int>(i)) || !m_editor.GetSafeHwnd())
            continue;
        QString text;
        if (item.GetScope() == CNoteItem::kGlobal) {
            notes->GetGlobalNote(&text);
        } else if (CPlaybackView* playback =
                       GetGroupView()->FindPlayback(item.GetType(), item.GetId())) {
            const int at = playback->GetCurrentFrame();
            if (item.GetType() == CPlaybackView::kDataMember)
                notes->GetDataNote(at, &text);
            else
                notes->GetFrameNote(at, &text);
        }
        if (CWnd* edit = m_editor.GetDlgItem(CNoteEditDlg::kEditIds[i]))
            edit->SetWindowText(text);
        if (CWnd* title = m_editor.GetDlgItem(CNoteEditDlg::kTitleIds[i]))
            title->SetWindowText(QString::fromLatin1(
                item.GetScope() == CNoteItem::kGlobal ? kGlobalTitle : kIndexTitle));
    }
}

QString CNotesBasicView::Caption() const {
    QStringList titles;
    for (const CNoteItem& item : m_items) {
        if (item.GetScope() != CNoteItem::kCurrent)
            continue;
        const CRecordingNotes* notes = NotesOf(item);
        if (!notes)
            continue;
        titles.push_back(item.GetTitle() + (notes->IsModified() ? QStringLiteral("*") : QString()));
    }
    return QStringLiteral("Notes : ") + titles.join(QStringLiteral(", "));
}

void CNotesBasicView::UpdateCaption() {
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetWindowText(Caption());
}

bool CNotesBasicView::IsModified() const {
    for (const CNoteItem& item : m_items)
        if (const CRecordingNotes* notes = NotesOf(item); notes && notes->IsModified())
            return true;
    return false;
}

void CNotesBasicView::CommitPane(int pane, const QString& text) {
    CMeasurementView* group = GetGroupView();
    if (!group || pane < 0 || static_cast<size_t>(pane) >= m_items.size())
        return;
    const CNoteItem& item = m_items[static_cast<size_t>(pane)];
    group->EditNote(item.GetType(), item.GetId(), item.GetScope(), text);
    UpdateCaption();
}

void CNotesBasicView::StepForward() {
    if (CMeasurementView* group = GetGroupView())
        group->StepToNote(m_items, false);
}

void CNotesBasicView::StepBack() {
    if (CMeasurementView* group = GetGroupView())
        group->StepToNote(m_items, true);
}

CPlaybackView* CNotesBasicView::FindLinkedView() const {
    CMeasurementView* group = GetGroupView();
    if (!group)
        return nullptr;
    return group->FindTopPlayback([this](const CPlaybackView* playback) {
        const int id = CMeasurementView::SourceIdOf(playback);
        return std::any_of(m_items.begin(), m_items.end(), [&](const CNoteItem& item) {
            return item.GetType() == playback->GetSourceType() && item.GetId() == id;
        });
    });
}
