#include "frames/AviSaveAssistantDlg.h"

#include "frames/AviFrameSaver.h"
#include "frames/FrameSource.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/media/CompressorPreview.h"
#include "platform/media/VideoCompressors.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

#include <algorithm>

IMPLEMENT_DYNAMIC(AVISaveAssistantDlg, CDialog)

BEGIN_MESSAGE_MAP(AVISaveAssistantDlg, CDialog)
ON_LBN_SELCHANGE(AVISaveAssistantDlg::kCompressorList, OnSelectCompressor)
ON_BN_CLICKED(AVISaveAssistantDlg::kPreviewToggle, OnPreviewToggle)
ON_BN_CLICKED(AVISaveAssistantDlg::kStartPreview, OnStartPreview)
ON_BN_CLICKED(AVISaveAssistantDlg::kStopPreview, OnStopPreview)
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

AVISaveAssistantDlg::AVISaveAssistantDlg(CFrameSource* source, CSaveVideoParams* params,
                                         CWnd* pParentWnd)
    : CDialog(IDD_AVI_SAVE_ASSISTANT, pParentWnd), m_source(source), m_params(params) {
    if (m_params)
        m_params->m_codecName = QString::fromLatin1(kNoCompression);
}

AVISaveAssistantDlg::~AVISaveAssistantDlg() = default;

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
    m_format = CAviFrameSaver::ImageFormatOf(first, m_params->m_pixelFormat);
    m_frame.resize(static_cast<size_t>(
        CAviSaveGraph::FrameBytes(m_format.width, m_format.height, m_format.bitsPerPixel)));
    m_provider = std::make_unique<CSaveAviFrameSource>(m_source, m_params);
    OnSelectCompressor();
    // The preview part starts hidden.
    m_previewShown = true;
    OnPreviewToggle();
    return TRUE;
}

void AVISaveAssistantDlg::OnSelectCompressor() {
    m_notes.ResetContent();
    const int selected = m_compressors.GetCurSel();
    if (CWnd* start = GetDlgItem(kStartPreview))
        start->EnableWindow(selected > 0 && !m_previewRunning ? TRUE : FALSE);
    if (selected < 0)
        return;
    for (const QString& note : CompressorNotes(m_compressors.GetText(selected)))
        m_notes.AddString(note);
}

void AVISaveAssistantDlg::OnPreviewToggle() {
    // The dialog grows to show both preview areas, or shrinks to the compressor part; the
    // buttons at the bottom stay in view either way.
    const auto edge = [this](int id, CRect* r) {
        CWnd* control = GetDlgItem(id);
        if (!control)
            return false;
        control->GetWindowRect(r);
        ScreenToClient(r);
        return true;
    };
    CRect codecArea, toggle, estimate, ok;
    m_previewShown = !m_previewShown;
    int width = m_previewShown ? 680 : 350;
    int height = m_previewShown ? 575 : 260;
    if (m_previewShown ? edge(kCodecArea, &codecArea) : edge(kPreviewToggle, &toggle))
        width = m_previewShown ? codecArea.right + 20 : toggle.right + 15;
    if (edge(kEstimate, &estimate) && edge(IDOK, &ok))
        height = std::max({estimate.bottom, ok.bottom, m_previewShown ? codecArea.bottom : 0}) + 12;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    SetDlgItemText(kPreviewToggle,
                   m_previewShown ? QStringLiteral("Hide Preview") : QStringLiteral("Preview>>"));
}

void AVISaveAssistantDlg::OnStartPreview() {
    const int selected = m_compressors.GetCurSel();
    if (!m_provider || m_previewRunning || selected < 0)
        return;
    m_codecPreview.reset();
    if (selected > 0) {
        const QString name = m_compressors.GetText(selected);
        m_codecPreview = std::make_unique<CCompressorPreview>();
        if (!m_codecPreview->Open(name, m_format)) {
            m_codecPreview.reset();
            MessageBoxPrompt prompt;
            prompt.text = QStringLiteral("Unable to preview video compressor '%1'").arg(name);
            prompt.caption = QString::fromLatin1(kAviSaveCaption);
            prompt.type = MB_OK;
            AfxPrompter().MessageBox(prompt);
        }
    }
    m_provider->Reset();
    m_previewRunning = true;
    if (CWnd* start = GetDlgItem(kStartPreview))
        start->EnableWindow(FALSE);
    if (CWnd* stop = GetDlgItem(kStopPreview))
        stop->EnableWindow(TRUE);
    SetTimer(kPreviewTimer, kPreviewPeriodMs);
}

void AVISaveAssistantDlg::OnStopPreview() {
    if (m_provider)
        m_provider->Abort();
    EndPreview();
}

void AVISaveAssistantDlg::EndPreview() {
    KillTimer(kPreviewTimer);
    m_previewRunning = false;
    if (CWnd* stop = GetDlgItem(kStopPreview))
        stop->EnableWindow(FALSE);
    if (CWnd* start = GetDlgItem(kStartPreview))
        start->EnableWindow(m_compressors.GetCurSel() > 0 ? TRUE : FALSE);
}

void AVISaveAssistantDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kPreviewTimer)
        StepPreview();
}

void AVISaveAssistantDlg::StepPreview() {
    if (!m_previewRunning || !m_provider)
        return;
    if (m_provider->GetFrame(-1, m_frame.data(), static_cast<int>(m_frame.size())) != 0) {
        EndPreview();
        return;
    }
    std::vector<uint32_t> pixels;
    CCompressorPreview::Plain(m_format, m_frame.data(), &pixels);
    ShowPixels(kPlainArea, pixels);
    if (m_codecPreview && m_codecPreview->Preview(m_frame.data(), &pixels))
        ShowPixels(kCodecArea, pixels);
}

void AVISaveAssistantDlg::ShowPixels(int areaId, const std::vector<uint32_t>& pixels) {
    CWnd* area = GetDlgItem(areaId);
    auto* label = area ? qobject_cast<QLabel*>(area->GetQWidget()) : nullptr;
    if (!label || pixels.size() != static_cast<size_t>(m_format.width) * m_format.height)
        return;
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), m_format.width,
                       m_format.height, m_format.width * 4, QImage::Format_RGB32);
    label->setPixmap(QPixmap::fromImage(
        image.scaled(label->size(), Qt::KeepAspectRatio, Qt::FastTransformation)));
}

void AVISaveAssistantDlg::OnDestroy() {
    KillTimer(kPreviewTimer);
    m_previewRunning = false;
    m_codecPreview.reset();
    CDialog::OnDestroy();
}

void AVISaveAssistantDlg::OnCancel() {
    if (m_provider)
        m_provider->Abort();
    EndPreview();
    CDialog::OnCancel();
}

void AVISaveAssistantDlg::OnOK() {
    if (m_provider)
        m_provider->Abort();
    EndPreview();
    const int selected = m_compressors.GetCurSel();
    if (m_params && selected >= 0)
        m_params->m_codecName = m_compressors.GetText(selected);
    CDialog::OnOK();
}
