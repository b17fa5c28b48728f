#include "frames/AviFrameSaver.h"

#include "frames/FileInUse.h"
#include "frames/FrameSource.h"
#include "frames/SaveAviFrameSource.h"
#include "platform/framework/IPrompter.h"
#include "platform/media/AviSaveGraph.h"

#include <QFileInfo>

#include <algorithm>

namespace {

void ReportFailure(const QString& text) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = QString::fromLatin1(kAviSaveCaption);
    prompt.type = MB_OK;
    AfxPrompter().MessageBox(prompt);
}

// Names the frame read that failed, the way every other failing step of the save is named.
void ReportReadFailure(int frame) {
    const QByteArray step = "m_pFS->GetFrame(" + QByteArray::number(frame) + ", pBuffer, iSize)";
    ReportFailure(CAviSaveGraph::FailureText(E_FAIL, step.constData()));
}

}  // namespace

CAviFrameSaver::CAviFrameSaver(CFrameSource* source)
    : CFrameSaver(source, QStringLiteral("AVI File (*.avi)|*.avi|")) {}

AviImageFormat CAviFrameSaver::ImageFormatOf(const CFrameImage& image, int pixelFormat) {
    AviImageFormat format;
    format.width = static_cast<int>(image.GetWidth());
    format.height = static_cast<int>(image.GetHeight());
    format.bitsPerPixel = pixelFormat == imaging::PixelFormat8bppIndexed ? 8 : 24;
    // The frames' own colours, so that a colour palette is not saved as grey.
    const imaging::ColorPalette& palette = image.GetPalette();
    format.paletteEntries = static_cast<int>(std::min<UINT>(palette.Count, 256));
    for (int i = 0; i < format.paletteEntries; ++i) {
        const imaging::ARGB c = palette.Entries[i];
        format.palette[i] =
            RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
    return format;
}

HRESULT CAviFrameSaver::Save(CSaveVideoParams* params) {
    if (!params || !m_source)
        return E_POINTER;
    if (IsFileInUse(params->m_outputPath)) {
        AfxMessageBox(QStringLiteral("Cannot overwrite a currently open file."),
                      MB_ICONEXCLAMATION);
        return E_FAIL;
    }
    CFrameImage first;
    if (!m_source->GetFrame(params->m_firstFrame, &first, 0)) {
        // Quiet or not: a save that writes nothing must say so.
        ReportReadFailure(params->m_firstFrame);
        return E_FAIL;
    }
    if (params->m_pixelFormat == 0)
        params->m_pixelFormat = m_source->GetBitCount() == 8 ? imaging::PixelFormat8bppIndexed
                                                             : imaging::PixelFormat24bppRGB;
    CSaveAviFrameSource provider(m_source, params);
    CAviSaveGraph graph(&provider);
    graph.SetErrorReporter(&ReportFailure);

    const AviImageFormat format = ImageFormatOf(first, params->m_pixelFormat);
    if (!graph.SetImageFormat(format) ||
        !graph.BuildSaveGraph(params->m_outputPath, params->m_codecName) || !graph.Run()) {
        graph.Stop();
        return E_FAIL;
    }
    const int span = std::max(params->m_lastFrame - params->m_firstFrame, 1);
    while (!graph.IsDone()) {
        const int percent =
            std::clamp(static_cast<int>((int64_t{provider.CurrentFrame()} - params->m_firstFrame) *
                                        100 / span),
                       0, 100);
        if (params->m_progress && params->m_progressCookie &&
            params->m_progress(params->m_progressCookie, percent) != 1)
            provider.Abort();
    }
    // A stream that ended early replaces nothing: an unreadable frame fails the save, and a
    // cancel over an existing file keeps that file (a new name keeps the part written).
    const int failedFrame = provider.FailedFrame();
    const bool cancelled = failedFrame < 0 && !provider.EndReached() && provider.Aborted();
    const bool discard = failedFrame >= 0 || (cancelled && QFileInfo::exists(params->m_outputPath));
    if (discard)
        graph.Discard();
    else
        graph.Stop();
    if (failedFrame >= 0) {
        ReportReadFailure(failedFrame);
        return E_FAIL;
    }
    if (!discard && !graph.Succeeded()) {
        ReportFailure(
            CAviSaveGraph::FailureText(E_FAIL, "pFileSink2->SetFileName(Filepath, NULL)"));
        return E_FAIL;
    }
    if (!cancelled)
        return S_OK;
    if (!params->m_quiet)
        AfxMessageBox(QStringLiteral("File save operation cancelled."), MB_ICONINFORMATION);
    return E_FAIL;
}
