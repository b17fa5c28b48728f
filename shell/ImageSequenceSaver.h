#pragma once

// CImageSequenceSaver: saves a frame source's range as numbered BMP, TIFF or JPEG files
// ("<stem><counter><extension>"). Every frame is written under a temporary name first and the
// set takes its names only after the last frame, so a failed or cancelled save over an existing
// set leaves that set as it was; a set under new names keeps the frames written before it ended.

#include "frames/FrameSaver.h"

#include <QStringList>

class CImageSequenceSaver : public CFrameSaver {
public:
    explicit CImageSequenceSaver(CFrameSource* source);

    // S_OK when every frame of the range was written; E_FAIL after its message (range out of
    // the recording, unreadable frame, unwritable file) or silently when the JPEG question or
    // the progress window was cancelled.
    HRESULT Save(CSaveVideoParams* params) override;
    // The files the last save wrote, in order.
    const QStringList& WrittenFiles() const { return m_written; }
    // The files of the set the next save replaces (they stay until the caller removes them);
    // while there are any, a save that does not complete writes none of its frames.
    void SetReplacedSet(const QStringList& files) { m_replaced = files; }

private:
    // Gives each temporary its frame's name; false, with the failing name reported, when one
    // could not be renamed (the temporaries left are removed).
    bool TakeNames(const QStringList& temporaries, const QStringList& names);

    QStringList m_written;
    QStringList m_replaced;
};
