#include "frames/AviSaveAssistantDlg.h"

#include "frames/FrameSource.h"
#include "platform/framework/DataExchange.h"
#include "platform/media/VideoCompressors.h"

IMPLEMENT_DYNAMIC(AVISaveAssistantDlg, CDialog)

BEGIN_MESSAGE_MAP(AVISaveAssistantDlg, CDialog)
ON_LBN_SELCHANGE(AVISaveAssistantDlg::kCompressorList, OnSelectCompressor)
END_MESSAGE_MAP()

AVISaveAssistantDlg::AVISaveAssistantDlg(CFrameSource* source, CSaveVideoParams* params,
                                         CWnd* pParentWnd)
    : CDialog(IDD_AVI_SAVE_ASSISTANT, pParentWnd), m_source(source), m_params(params) {
    if (m_params)
        m_params->m_codecName = QString::fromLatin1(kNoCompression);
}

QStringList AVISaveAssistantDlg::CompressorNotes(const QString& name) {
    QStringList notes;
    for (const char* mark : {"DMO", "261", "263", "264", "Intel 4:2:0", "Intel Indeo(R) Video R3.2",
                             "Intel IYUV codec"}) {
        if (name.contains(QLatin1String(mark))) {
            notes << QStringLiteral("WARNING:")
                  << QStringLiteral("This video compressor may not be preview-able.");
            break;
        }
    }
    for (const char* mark : {"264", "MJPEG", "MPEG"}) {
        if (name.contains(QLatin1String(mark))) {
            notes << QStringLiteral("WARNING:")
                  << QStringLiteral(
                         "This video compressor may not generate a file that is single "
                         "step-able.");
            break;
        }
    }
    return notes;
}

int64_t AVISaveAssistantDlg::EstimateMaxMegabytes(int64_t frames, int width, int height,
                                                  bool indexed) {
    const int64_t row = (int64_t{width} * (indexed ? 1 : 3) + 3) / 4 * 4;
    return static_cast<int64_t>(static_cast<double>(frames) * static_cast<double>(row) * height /
                                1048576.0 * 1.0008);
}

void AVISaveAssistantDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kCompressorList, m_compressors);
    DDX_Control(pDX, kNotesList, m_notes);
}

BOOL AVISaveAssistantDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_source || !m_params) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    for (const QString& name : VideoCompressorNames())
        m_compressors.AddString(name);
    m_compressors.SetCurSel(0);
    const bool indexed = m_source->GetBitCount() == 8;
    m_params->m_pixelFormat =
        indexed ? imaging::PixelFormat8bppIndexed : imaging::PixelFormat24bppRGB;
    // The range must start on a readable frame for the save to begin at all.
    CFrameImage first;
    const int firstFrame = std::max(m_params->m_firstFrame, 0);
    if (!m_source->GetFrame(firstFrame, &first, 0)) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    const int lastFrame =
        m_params->m_lastFrame < 0 ? m_source->GetFrameCount() - 1 : m_params->m_lastFrame;
    const int64_t frames = (int64_t{lastFrame} - firstFrame + 1) / m_params->Step();
    SetDlgItemText(kEstimate, QString::number(EstimateMaxMegabytes(
                                  frames, static_cast<int>(first.GetWidth()),
                                  static_cast<int>(first.GetHeight()), indexed)));
    return TRUE;
}

void AVISaveAssistantDlg::OnSelectCompressor() {
    m_notes.ResetContent();
    const int selected = m_compressors.GetCurSel();
    if (selected < 0)
        return;
    for (const QString& note : CompressorNotes(m_compressors.GetText(selected)))
        m_notes.AddString(note);
}

void AVISaveAssistantDlg::OnOK() {
    const int selected = m_compressors.GetCurSel();
    if (m_params && selected >= 0)
        m_params->m_codecName = m_compressors.GetText(selected);
    CDialog::OnOK();
}
