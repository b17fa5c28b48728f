#include "frames/DataFileSaveTarget.h"

#include "frames/DlgSaveData.h"
#include "frames/FileNames.h"
#include "platform/framework/WinApp.h"

HRESULT CDataFileSaveTarget::InitParams(CSaveVideoParams* params) {
    if (!params)
        return E_FAIL;
    params->SetDefaults();
    params->m_outputKind = CSaveVideoParams::kDataFile;
    params->m_imageType = 0;
    return S_OK;
}

HRESULT CDataFileSaveTarget::Prompt(CSaveVideoParams* params) {
    if (!params || !m_data.Get())
        return E_FAIL;
    const int count = m_data->GetScanCount();
    const int zero = params->m_zeroOffset;
    CDlgSaveData dialog(count, zero, QStringLiteral("mdat"), params->m_outputPath,
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        QStringLiteral(" (*.mdat)|*.mdat||"), AfxGetMainWnd());
    dialog.m_ofn.lpstrTitle =
        QStringLiteral("Save Data File : ") + GetFileNameFromPath(params->m_outputPath);
    if (params->m_firstFrame >= 0 && params->m_lastFrame >= params->m_firstFrame) {
        dialog.m_from = params->m_firstFrame - zero;
        dialog.m_to = params->m_lastFrame - zero;
    } else {
        dialog.m_from = -zero;
        dialog.m_to = count - zero - 1;
    }
    if (dialog.DoModal() != IDOK)
        return E_FAIL;
    params->m_outputPath = dialog.GetPathName();
    params->m_firstFrame = dialog.GetRangeFrom();
    params->m_lastFrame = dialog.GetRangeTo();
    params->m_zeroOffset = m_data->GetZeroPoint();
    return S_OK;
}

HRESULT CDataFileSaveTarget::Save(CSaveVideoParams* params) {
    if (!params || !m_data.Get())
        return E_FAIL;
    const int count = m_data->GetScanCount();
    int first = params->m_firstFrame;
    int last = params->m_lastFrame;
    if (first < 0 || last < 0) {
        first = 0;
        last = count - 1;
    }
    const int partial = first == 0 && last == count - 1 ? 0 : 1;
    // The data set saves first up to, not including, its end scan.
    const HRESULT saved = m_data->SaveRange(params->m_outputPath, partial, first, last + 1);
    if (FAILED(saved))
        return saved;
    if (params->m_doneCallback && params->m_notify)
        params->m_doneCallback->OnFileSaved(params->m_outputPath, params->m_notifyTag);
    return S_OK;
}

HRESULT CDataFileSaveTarget::SetOutputKind(CSaveVideoParams* params, int, int) {
    if (!params)
        return E_FAIL;
    params->m_outputKind = CSaveVideoParams::kDataFile;
    params->m_imageType = 0;
    return S_OK;
}

HRESULT CDataFileSaveTarget::GetRate(double* rate) {
    if (!rate)
        return E_POINTER;
    *rate = m_data.Get() ? m_data->GetScanRate() : -1;
    return S_OK;
}

HRESULT CDataFileSaveTarget::GetFrameCount(int* count) {
    if (!count)
        return E_POINTER;
    *count = m_data.Get() ? m_data->GetScanCount() : -1;
    return S_OK;
}

HRESULT CDataFileSaveTarget::GetFirstFrameNumber(int* number) {
    if (!number)
        return E_POINTER;
    *number = m_data.Get() ? m_data->GetZeroPoint() : 0;
    return S_OK;
}

HRESULT CDataFileSaveTarget::EstimateSaveSize(int64_t* bytes, int first, int last) {
    if (!bytes || !m_data.Get())
        return S_OK;
    const int64_t n = FramesInRange(first, last, m_data->GetScanCount());
    *bytes = static_cast<int64_t>(
        static_cast<double>(int64_t{m_data->GetActiveChannelCount()} * n * 8) * 1.001);
    return S_OK;
}
