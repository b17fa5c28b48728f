#pragma once

// CAviFrameSaver: saves a frame source's range as an AVI file through the save graph, with the
// compressor the request names. Runs on the user-interface thread, which polls the graph every
// 100 ms and reports progress; the graph reads frames on its streaming thread.

#include "frames/FrameSaver.h"
#include "platform/media/AviSaveGraph.h"

class CFrameImage;

inline constexpr const char* kAviSaveCaption = "AVI Save Assistant";

class CAviFrameSaver : public CFrameSaver {
public:
    explicit CAviFrameSaver(CFrameSource* source);

    // S_OK when the whole range was written; E_FAIL when the target is in use, a step of the
    // graph failed (reported), a write failed, or the save was cancelled ("File save operation
    // cancelled." unless the request is quiet; the part written stays as a valid file).
    HRESULT Save(CSaveVideoParams* params) override;

    // The layout of frames like image written in pixelFormat (8-bit indexed or 24-bit), with
    // the image's own palette.
    static AviImageFormat ImageFormatOf(const CFrameImage& image, int pixelFormat);
};
