#pragma once

// CSaveAviFrameSource: hands the save graph the frames of a frame source in the request's
// range and step, as bottom-up rows in the request's pixel format. Runs on the graph's
// streaming thread; the frame source serialises its own reads.

#include "frames/FrameImage.h"
#include "frames/SaveVideoParams.h"
#include "platform/media/QNAVIFrameSource.h"

#include <atomic>

class CFrameSource;

class CSaveAviFrameSource : public QNAVIFrameSource {
public:
    // Neither is owned; both must outlive the provider. Starts at the request's first frame.
    CSaveAviFrameSource(CFrameSource* source, const CSaveVideoParams* params);

    int GetFrame(int position, BYTE* buffer, int size) override;
    // Back to the request's first frame with every flag cleared.
    void Reset();
    int LastFrame() const { return m_lastFrame; }
    // The frame that could not be read or converted and so ended the stream; -1 while none.
    int FailedFrame() const { return m_failedFrame.load(); }

    // Copies an image's rows bottom-up into a frame buffer of targetBits (8 or 24) per pixel,
    // converting 24-bit images to grey levels and 8-bit images through their palette where
    // the depths differ. false when the image cannot be read or the buffer is too small.
    static bool CopyBottomUp(CFrameImage& image, int targetBits, BYTE* buffer, int size);

private:
    CFrameSource* m_source;
    const CSaveVideoParams* m_params;
    int m_lastFrame;
    std::atomic<int> m_failedFrame{-1};
    CFrameImage m_image;
};
