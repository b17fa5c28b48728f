#include "shell/PromptingSaveController.h"

#include "frames/CfgFileInfo.h"
#include "frames/FileNames.h"
#include "frames/FrameSource.h"
#include "frames/SaveVideoDlg.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "shell/ImageSequenceSaver.h"
#include "shell/SaveSettings.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

int s_saveCounter = 0;

// A proposed name: an AVI as it is, a batch name before its "[", else the sequence base.
QString ProposedName(const QString& path) {
    const QString tail = path.right(3).toLower();
    if (tail == QLatin1String("avi"))
        return path;
    if (tail == QLatin1String("pvi")) {
        const qsizetype bracket = path.lastIndexOf('[');
        return bracket >= 0 ? path.left(bracket) : path;
    }
    return GetSequenceBaseName(path, false);
}

}  // namespace

CPromptingSaveController::CPromptingSaveController(CFrameSource* source) : m_source(source) {}

CPromptingSaveController::~CPromptingSaveController() = default;

int CPromptingSaveController::SaveCounter() {
    return s_saveCounter;
}

HRESULT CPromptingSaveController::Prompt(CSaveVideoParams* params) {
    if (!m_source || !params)
        return E_FAIL;
    QString aviFilter;
    QString sequenceFilter;
    if (m_aviSaver)
        m_aviSaver->GetFilter(&aviFilter);
    if (m_sequenceSaver)
        m_sequenceSaver->GetFilter(&sequenceFilter);
    const QString filter = aviFilter + sequenceFilter + '|';
    const int count = m_source->GetFrameCount();
    const int zero = params->m_zeroOffset;

    QString name;
    if (const std::optional<QString> prefix = SaveFilePrefixSetting();
        prefix && !prefix->isEmpty()) {
        name =
            QStringLiteral("%1_cnt%2").arg(*prefix).arg(s_saveCounter++, 4, 10, QLatin1Char('0'));
        params->m_quiet = 1;
    } else {
        name = ProposedName(params->m_outputPath.isEmpty() ? params->m_sourcePath
                                                           : params->m_outputPath);
    }
    CSaveVideoDlg dialog(FALSE, count, zero, QStringLiteral("jpg"), name, OFN_HIDEREADONLY, filter,
                         AfxGetMainWnd());
    dialog.m_ofn.lpstrTitle =
        QStringLiteral("Save Video: ") + GetFileNameFromPath(params->m_sourcePath);
    if (const std::optional<int> afterZero = SaveAfterZeroSetting())
        dialog.m_askBeforeNewSequence = *afterZero == 0 ? TRUE : FALSE;
    const int first = params->m_firstFrame;
    const int last = params->m_lastFrame;
    if (first >= 1 && last >= 1 && last >= first) {
        dialog.m_from = first - zero;
        dialog.m_to = last - zero;
    } else {
        dialog.m_from = -zero;
        dialog.m_to = count - zero - 1;
    }
    int width = 0;
    int height = 0;
    m_source->GetImageSize(&width, &height);
    dialog.m_frameWidth = width;
    dialog.m_frameHeight = height;
    dialog.m_frameBytes = (int64_t{width} * m_source->GetBitCount() + 31) / 32 * 4 * height;
    dialog.m_paletteEntries = m_source->GetBitCount() == 8 ? 256 : 0;
    if (dialog.DoModal() != IDOK)
        return E_FAIL;

    const int index = dialog.GetFilterIndex();
    int kind = 0;
    int imageType = CSaveVideoParams::kBmp;
    if (index == dialog.m_aviIndex) {
        kind = CSaveVideoParams::kAvi;
    } else if (index == dialog.m_pviIndex) {
        kind = CSaveVideoParams::kBatch;
    } else if (index == dialog.m_bmpIndex || index == dialog.m_tifIndex ||
               index == dialog.m_jpgIndex) {
        kind = CSaveVideoParams::kSequence;
        imageType = index == dialog.m_bmpIndex   ? CSaveVideoParams::kBmp
                    : index == dialog.m_tifIndex ? CSaveVideoParams::kTiff
                                                 : CSaveVideoParams::kJpeg;
    }
    if (kind == 0)
        return E_FAIL;
    params->m_outputKind = kind;
    params->m_imageType = imageType;
    params->m_outputPath = dialog.GetSavePath();
    params->m_outputStem = params->m_outputPath;
    if (kind == CSaveVideoParams::kAvi &&
        params->m_outputStem.endsWith(QLatin1String(".avi"), Qt::CaseInsensitive)) {
        params->m_outputStem.chop(4);
    } else if (kind == CSaveVideoParams::kSequence) {
        params->m_outputStem = GetSequenceBaseName(params->m_outputPath, false);
        params->m_outputPath = params->m_outputStem + CSaveVideoParams::ImageExtension(imageType);
        params->m_outputStem += '_';
    }
    if (dialog.m_rangeChoice == 1) {
        params->m_firstFrame = zero + dialog.m_from;
        params->m_lastFrame = zero + dialog.m_to;
    } else {
        params->m_firstFrame = 0;
        params->m_lastFrame = count - 1;
    }
    params->m_skip = dialog.m_skipEnabled ? dialog.m_skipCount : 0;
    m_staleFiles = dialog.m_staleFiles;
    return S_OK;
}

void CPromptingSaveController::CancelSave() {
    if (m_progress && m_progress->GetSafeHwnd())
        m_progress->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
}

int CPromptingSaveController::StepProgress(void* cookie, int percent) {
    auto* progress = static_cast<CProgressDlg*>(cookie);
    return progress->SetPos(std::clamp(percent, 0, 100)) ? 1 : 0;
}

HRESULT CPromptingSaveController::Save(CSaveVideoParams* params) {
    if (!params || !m_source)
        return E_POINTER;
    if (m_progress) {
        AfxMessageBox(QStringLiteral("Please wait until previous task is finished."));
        return E_FAIL;
    }
    // A range the savers cannot write is refused before any file exists.
    const int count = m_source->GetFrameCount();
    if (params->m_firstFrame < 0 || params->m_lastFrame < 0) {
        params->m_firstFrame = 0;
        params->m_lastFrame = count - 1;
    }
    if (params->m_firstFrame > params->m_lastFrame || params->m_lastFrame >= count) {
        AfxMessageBox(QStringLiteral("Start and end frame numbers out of range."),
                      MB_ICONEXCLAMATION);
        return E_FAIL;
    }
    m_progress = std::make_unique<CProgressDlg>();
    m_progress->m_strTitle = QStringLiteral("Saving in Progress");
    m_progress->m_strText = QStringLiteral("Please wait...");
    if (m_progress->Create(AfxGetMainWnd()))
        m_progress->ShowWindow(SW_SHOW);
    params->m_progress = &StepProgress;
    params->m_progressCookie = m_progress.get();
    m_doneCallback = params->m_doneCallback;
    m_source->SetSaving(1);

    auto* sequence = dynamic_cast<CImageSequenceSaver*>(m_sequenceSaver.get());
    HRESULT result = E_FAIL;
    if (params->m_outputKind == CSaveVideoParams::kAvi && m_aviSaver) {
        result = m_aviSaver->Save(params);
    } else if (params->m_outputKind == CSaveVideoParams::kSequence && m_sequenceSaver) {
        if (sequence)
            sequence->SetReplacedSet(m_staleFiles);
        result = m_sequenceSaver->Save(params);
    }
    const bool succeeded = result == S_OK;
    if (succeeded) {
        WriteConfigFile(*params);
        // The set the user agreed to replace goes only now, less the files just rewritten; an
        // old frame left behind would read as part of the new set, so the user hears of it.
        for (const QString& stale : m_staleFiles) {
            if ((!sequence || !sequence->WrittenFiles().contains(stale)) &&
                QFileInfo::exists(stale) && !QFile::remove(stale))
                AfxMessageBox(QStringLiteral("Could not delete file ") + stale +
                                  QStringLiteral(" of the old sequence."),
                              MB_ICONEXCLAMATION);
        }
    }
    m_staleFiles.clear();
    m_source->SetSaving(0);
    params->m_progress = nullptr;
    params->m_progressCookie = nullptr;
    m_progress.reset();
    OnSaveDone(succeeded ? TRUE : FALSE, params);
    return succeeded ? S_OK : E_FAIL;
}

void CPromptingSaveController::RebaseRecordingInfo(CCfgFileInfo* info, int firstFrame, int step) {
    step = std::max(step, 1);
    // Frame k of the saved file is index firstFrame + k × step, numbered from the recording's
    // first frame number: the new numbering counts in steps, starting at that frame's number.
    info->m_firstFrame = (info->m_firstFrame + firstFrame) / step;
    if (info->m_hasTimeStamp)
        info->m_refFrame /= step;
    if (info->m_rate > 0)
        info->m_rate /= step;
    info->m_rateHz = info->m_rate;
}

QString CPromptingSaveController::ConfigPathOf(const QString& outputPath) {
    return GetConfigStem(outputPath) + QStringLiteral(".cfg");
}

void CPromptingSaveController::WriteConfigFile(const CSaveVideoParams& params) const {
    CCfgFileInfo info;
    m_source->GetCfgFileInfo(&info);
    RebaseRecordingInfo(&info, params.m_firstFrame, params.Step());
    info.Save(ConfigPathOf(params.m_outputPath));
}
