#pragma once

// AVISaveAssistantDlg: the "Video Compression Assistant" (template 214) shown before an AVI
// save: the user picks a compressor (or "- No Compression -"), reads its warnings and sees the
// largest size the file may reach. OK puts the chosen name into the request's codec name.
// "Preview >>" opens a side-by-side preview of the range without and with the compressor;
// it plays on a timer of the dialog, so the dialog's own event loop keeps running.

#include "frames/SaveAviFrameSource.h"
#include "frames/SaveVideoParams.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ListBox.h"
#include "platform/media/AviSaveGraph.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class CCompressorPreview;

inline constexpr UINT IDD_AVI_SAVE_ASSISTANT = 214;

class CFrameSource;

class AVISaveAssistantDlg : public CDialog {
    DECLARE_DYNAMIC(AVISaveAssistantDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kCompressorList = 2059;
    static constexpr int kNotesList = 2069;
    static constexpr int kEstimate = 2067;
    static constexpr int kPreviewToggle = 2103;
    static constexpr int kStartPreview = 2063;
    static constexpr int kStopPreview = 2066;
    static constexpr int kPlainArea = 2064;
    static constexpr int kCodecArea = 2065;
    static constexpr UINT_PTR kPreviewTimer = 1;
    static constexpr UINT kPreviewPeriodMs = 50;

    // Neither is owned. The request's codec name becomes "- No Compression -".
    AVISaveAssistantDlg(CFrameSource* source, CSaveVideoParams* params, CWnd* pParentWnd = nullptr);
    ~AVISaveAssistantDlg() override;

    bool IsPreviewShown() const { return m_previewShown; }
    bool IsPreviewRunning() const { return m_previewRunning; }
    // Shows the next frame of the preview in both areas; ends the preview after the range.
    // The preview timer calls it.
    void StepPreview();

    // The warnings shown for a compressor name.
    static QStringList CompressorNotes(const QString& name);
    // The largest file the range may give, in whole megabytes: frames × rows rounded up to 4
    // bytes × height / 2^20 × 1.0008.
    static int64_t EstimateMaxMegabytes(int64_t frames, int width, int height, bool indexed);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    void OnSelectCompressor();
    void OnPreviewToggle();
    void OnStartPreview();
    void OnStopPreview();
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();

private:
    CFrameSource* m_source;
    CSaveVideoParams* m_params;
    CListBox m_compressors;
    CListBox m_notes;
    // The preview: frames of the range as the save would take them, and the compressor's
    // round trip of each.
    std::unique_ptr<CSaveAviFrameSource> m_provider;
    std::unique_ptr<CCompressorPreview> m_codecPreview;
    AviImageFormat m_format;
    std::vector<BYTE> m_frame;
    bool m_previewShown = false;
    bool m_previewRunning = false;

    void EndPreview();
    void ShowPixels(int areaId, const std::vector<uint32_t>& pixels);
};
