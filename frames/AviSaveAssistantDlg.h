#pragma once

// AVISaveAssistantDlg: the "Video Compression Assistant" (template 214) shown before an AVI
// save: the user picks a compressor (or "- No Compression -"), reads its warnings and sees the
// largest size the file may reach. OK puts the chosen name into the request's codec name.

#include "frames/SaveVideoParams.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ListBox.h"

#include <QStringList>

#include <cstdint>

inline constexpr UINT IDD_AVI_SAVE_ASSISTANT = 214;

class CFrameSource;

class AVISaveAssistantDlg : public CDialog {
    DECLARE_DYNAMIC(AVISaveAssistantDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kCompressorList = 2059;
    static constexpr int kNotesList = 2069;
    static constexpr int kEstimate = 2067;

    // Neither is owned. The request's codec name becomes "- No Compression -".
    AVISaveAssistantDlg(CFrameSource* source, CSaveVideoParams* params, CWnd* pParentWnd = nullptr);

    // The warnings shown for a compressor name.
    static QStringList CompressorNotes(const QString& name);
    // The largest file the range may give, in whole megabytes: frames × rows rounded up to 4
    // bytes × height / 2^20 × 1.0008.
    static int64_t EstimateMaxMegabytes(int64_t frames, int width, int height, bool indexed);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnSelectCompressor();

private:
    CFrameSource* m_source;
    CSaveVideoParams* m_params;
    CListBox m_compressors;
    CListBox m_notes;
};
