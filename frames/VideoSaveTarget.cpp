#include "frames/VideoSaveTarget.h"

#include "frames/FrameSource.h"

HRESULT CVideoSaveTarget::InitParams(CSaveVideoParams* params) {
    if (!params)
        return E_FAIL;
    params->SetDefaults();
    return S_OK;
}

HRESULT CVideoSaveTarget::Prompt(CSaveVideoParams* params) {
    return m_source.Get() && m_source->PrepareSave(params) ? S_OK : E_FAIL;
}

HRESULT CVideoSaveTarget::Save(CSaveVideoParams* params) {
    return m_source.Get() && m_source->Save(params) ? S_OK : E_FAIL;
}

HRESULT CVideoSaveTarget::SetOutputKind(CSaveVideoParams* params, int kind, int subKind) {
    if (!params)
        return E_FAIL;
    params->m_outputKind = kind;
    params->m_imageType = subKind;
    return S_OK;
}

HRESULT CVideoSaveTarget::GetRate(double* rate) {
    if (!rate)
        return E_POINTER;
    *rate = m_source.Get() ? m_source->GetRecordedRate() : -1;
    return S_OK;
}

HRESULT CVideoSaveTarget::GetFrameCount(int* count) {
    if (!count)
        return E_POINTER;
    *count = m_source.Get() ? m_source->GetFrameCount() : -1;
    return S_OK;
}

HRESULT CVideoSaveTarget::GetFirstFrameNumber(int* number) {
    if (!number)
        return E_POINTER;
    *number = m_source.Get() ? m_source->GetFirstFrameNumber() : -1;
    return S_OK;
}

HRESULT CVideoSaveTarget::EstimateSaveSize(int64_t* bytes, int first, int last) {
    if (!bytes || !m_source.Get())
        return S_OK;
    int width = 0;
    int height = 0;
    m_source->GetImageSize(&width, &height);
    const int64_t row = ((int64_t{m_source->GetBitCount()} / 8 * width * 8 + 31) / 8) / 4 * 4;
    const int64_t n = FramesInRange(first, last, m_source->GetFrameCount());
    *bytes = static_cast<int64_t>(static_cast<double>(row * height * n) * 1.001);
    return S_OK;
}
