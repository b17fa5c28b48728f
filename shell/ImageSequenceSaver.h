#pragma once

// CImageSequenceSaver: saves a frame source's range as numbered BMP, TIFF or JPEG files
// ("<stem><counter><extension>"), each written whole through a temporary file. Files written
// before a failure or a cancel stay.

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

private:
    QStringList m_written;
};
