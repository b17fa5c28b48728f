#pragma once

// CRecordingNotes: the notes of one recording of a play group: one text per noted frame, one per
// noted data scan, and one global note. The set bits of each side say which positions carry a
// note; the texts are kept in ascending position order, so the text of position p is element
// Ordinal(p) - 1. A note never has an empty text: setting one empty removes the note.

#include "shell/BitSet.h"
#include "views/INoteMarker.h"
#include "views/OverlayListener.h"

#include "platform/wintypes/Rect.h"

#include <QString>
#include <QStringList>

class CDC;
class CPlaybackView;
class CWnd;

class CRecordingNotes : public INoteMarker {
public:
    static constexpr int kListenerTag = 123456;
    // The play-group view's Tools/Notes command, run by a click on the marker.
    static constexpr UINT kToolsNotesCommand = 32915;

    CRecordingNotes();
    virtual ~CRecordingNotes();
    CRecordingNotes(const CRecordingNotes&) = delete;
    CRecordingNotes& operator=(const CRecordingNotes&) = delete;

    // Outlines and fills the green 15 by 15 marker in rect's bottom-right corner when the
    // playback view's current frame has a note.
    void DrawMarker(CDC& dc, const CRect& rect) override;
    // E_POINTER for a null out-pointer.
    virtual HRESULT GetOverlayListener(COverlayListener** out);

    // Size the sets (all bits clear) and mark them ready; texts are left as they are, so
    // callers reset a fresh object.
    void ResetAll(int frameCount, int dataCount);
    void ResetFrameNotes(int frameCount);
    void ResetDataNotes(int dataCount);

    // False for a null out-pointer or a position without note.
    bool GetFrameNote(int frame, QString* text) const;
    bool GetDataNote(int index, QString* text) const;
    // An empty text removes the note; a negative position or one beyond the set changes
    // nothing. Sets the modified flag when the text changes. True.
    bool SetFrameNote(int frame, const QString& text);
    bool SetDataNote(int index, const QString& text);
    bool GetGlobalNote(QString* text) const;
    bool SetGlobalNote(const QString& text);

    // -1 for an empty set; else the nearest noted position after (before, backwards) from,
    // or from itself when there is none.
    int FindFrameNote(int from, bool backwards) const;
    int FindDataNote(int from, bool backwards) const;

    void SetModified(bool modified) { m_modified = modified ? 1 : 0; }
    bool IsModified() const { return m_modified != 0; }
    bool SetPlaybackView(CPlaybackView* view);
    bool SetGroupView(CWnd* view);
    CPlaybackView* GetPlaybackView() const { return m_playbackView; }

    // A right click at (x, y) inside rect (screen coordinates) on a noted frame, within twice
    // the marker's size of the corner: runs the group view's Tools/Notes and answers true.
    bool HitTestMarker(int x, int y, const CRect& rect, int frame) override;

    // For the side-file: the sets and texts of each side as they stand.
    const CBitSet& FrameSet() const { return m_frameSet; }
    const CBitSet& DataSet() const { return m_dataSet; }
    bool FrameNotesReady() const { return m_frameReady != 0; }
    bool DataNotesReady() const { return m_dataReady != 0; }
    // Puts a text read from a side file at its position, keeping texts and bits paired however
    // the file orders its items; the modified flag stays as it is.
    void StoreFrameNote(int frame, const QString& text);
    void StoreDataNote(int index, const QString& text);
    // Changes a side's size keeping the notes that lie inside the new size.
    void ResizeFrameNotes(int frameCount);
    void ResizeDataNotes(int dataCount);

private:
    class Listener : public COverlayListener {
    public:
        Listener() { m_tag = kListenerTag; }
    };

    struct Side {
        CBitSet& set;
        QStringList& texts;
    };
    bool SetNote(Side side, int index, const QString& text);
    static void Store(Side side, int index, const QString& text);
    static void Resize(Side side, int count);
    static int FindNote(const CBitSet& set, int from, bool backwards);
    static QString NoteAt(const CBitSet& set, const QStringList& texts, int index);

    CBitSet m_frameSet;
    QStringList m_frameTexts;
    CBitSet m_dataSet;
    QStringList m_dataTexts;
    QString m_globalNote;
    uint8_t m_frameReady = 0;
    uint8_t m_dataReady = 0;
    int32_t m_modified = 0;
    Listener m_listener;
    CPlaybackView* m_playbackView = nullptr;
    CWnd* m_groupView = nullptr;
};
