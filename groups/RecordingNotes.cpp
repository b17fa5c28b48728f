#include "groups/RecordingNotes.h"

#include "views/PlaybackView.h"

#include "platform/framework/Brush.h"
#include "platform/framework/DC.h"
#include "platform/framework/Pen.h"
#include "platform/framework/Wnd.h"

#include <algorithm>

namespace {
constexpr int kMarkerSize = 15;
}

CRecordingNotes::CRecordingNotes() = default;
CRecordingNotes::~CRecordingNotes() = default;

void CRecordingNotes::DrawMarker(CDC& dc, const CRect& rect) {
    if (!m_playbackView || !m_frameSet.TestBit(m_playbackView->GetCurrentFrame()))
        return;
    const COLORREF green = RGB(0, 255, 0);
    CPen pen(PS_SOLID, 0, green);
    CBrush brush(green);
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.Rectangle(rect.right - kMarkerSize, rect.bottom - kMarkerSize, rect.right, rect.bottom);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

HRESULT CRecordingNotes::GetOverlayListener(COverlayListener** out) {
    if (!out)
        return E_POINTER;
    *out = &m_listener;
    return S_OK;
}

void CRecordingNotes::ResetAll(int frameCount, int dataCount) {
    ResetFrameNotes(frameCount);
    ResetDataNotes(dataCount);
}

void CRecordingNotes::ResetFrameNotes(int frameCount) {
    m_frameSet.SetSize(frameCount);
    m_frameSet.ClearAll();
    m_frameReady = 1;
}

void CRecordingNotes::ResetDataNotes(int dataCount) {
    m_dataSet.SetSize(dataCount);
    m_dataSet.ClearAll();
    m_dataReady = 1;
}

QString CRecordingNotes::NoteAt(const CBitSet& set, const QStringList& texts, int index) {
    const int ordinal = set.Ordinal(index);
    return ordinal > 0 && ordinal <= texts.size() ? texts[ordinal - 1] : QString();
}

bool CRecordingNotes::GetFrameNote(int frame, QString* text) const {
    if (!text || !m_frameSet.TestBit(frame))
        return false;
    *text = NoteAt(m_frameSet, m_frameTexts, frame);
    return true;
}

bool CRecordingNotes::GetDataNote(int index, QString* text) const {
    if (!text || !m_dataSet.TestBit(index))
        return false;
    *text = NoteAt(m_dataSet, m_dataTexts, index);
    return true;
}

bool CRecordingNotes::SetNote(Side side, int index, const QString& text) {
    // A position outside the set has no bit to carry the note.
    if (index < 0 || index >= side.set.GetSize())
        return true;
    if (text != NoteAt(side.set, side.texts, index))
        m_modified = 1;
    if (!text.isEmpty()) {
        Store(side, index, text);
    } else if (side.set.TestBit(index)) {
        side.texts.removeAt(side.set.Ordinal(index) - 1);
        side.set.SetBit(index, false);
    }
    return true;
}

void CRecordingNotes::Store(Side side, int index, const QString& text) {
    if (index < 0 || index >= side.set.GetSize())
        return;
    if (side.set.TestBit(index)) {
        side.texts[side.set.Ordinal(index) - 1] = text;
        return;
    }
    side.set.SetBit(index, true);
    side.texts.insert(side.set.Ordinal(index) - 1, text);
}

void CRecordingNotes::Resize(Side side, int count) {
    QStringList kept;
    CBitSet bits;
    bits.SetSize(count);
    const int shared = std::min(count, side.set.GetSize());
    for (int i = 0; i < shared; ++i) {
        if (!side.set.TestBit(i))
            continue;
        bits.SetBit(i, true);
        kept.push_back(NoteAt(side.set, side.texts, i));
    }
    side.set = bits;
    side.texts = kept;
}

bool CRecordingNotes::SetFrameNote(int frame, const QString& text) {
    return SetNote({m_frameSet, m_frameTexts}, frame, text);
}

bool CRecordingNotes::SetDataNote(int index, const QString& text) {
    return SetNote({m_dataSet, m_dataTexts}, index, text);
}

void CRecordingNotes::StoreFrameNote(int frame, const QString& text) {
    Store({m_frameSet, m_frameTexts}, frame, text);
}

void CRecordingNotes::StoreDataNote(int index, const QString& text) {
    Store({m_dataSet, m_dataTexts}, index, text);
}

void CRecordingNotes::ResizeFrameNotes(int frameCount) {
    Resize({m_frameSet, m_frameTexts}, frameCount);
    m_frameReady = 1;
}

void CRecordingNotes::ResizeDataNotes(int dataCount) {
    Resize({m_dataSet, m_dataTexts}, dataCount);
    m_dataReady = 1;
}

bool CRecordingNotes::GetGlobalNote(QString* text) const {
    if (!text)
        return false;
    *text = m_globalNote;
    return true;
}

bool CRecordingNotes::SetGlobalNote(const QString& text) {
    if (text != m_globalNote)
        m_modified = 1;
    m_globalNote = text;
    return true;
}

int CRecordingNotes::FindNote(const CBitSet& set, int from, bool backwards) {
    if (set.GetSize() < 1)
        return -1;
    return backwards ? set.FindPrevSet(from) : set.FindNextSet(from);
}

int CRecordingNotes::FindFrameNote(int from, bool backwards) const {
    return FindNote(m_frameSet, from, backwards);
}

int CRecordingNotes::FindDataNote(int from, bool backwards) const {
    return FindNote(m_dataSet, from, backwards);
}

bool CRecordingNotes::SetPlaybackView(CPlaybackView* view) {
    m_playbackView = view;
    return true;
}

bool CRecordingNotes::SetGroupView(CWnd* view) {
    m_groupView = view;
    return true;
}

bool CRecordingNotes::HitTestMarker(int x, int y, const CRect& rect, int frame) {
    constexpr int kHitSize = 2 * kMarkerSize;
    if (!m_frameSet.TestBit(frame) || x < rect.right - kHitSize || x > rect.right ||
        y < rect.bottom - kHitSize || y > rect.bottom || !m_groupView)
        return false;
    m_groupView->SendMessage(WM_COMMAND, kToolsNotesCommand, 0);
    return true;
}
