#include "frames/SaveControllerBase.h"

#include "frames/FrameSource.h"

CSaveControllerBase::~CSaveControllerBase() = default;

std::function<void()> CSaveControllerBase::CancellerOf(CFrameSource* source) {
    return [source] {
        if (CSaveControllerBase* controller = source ? source->GetSaveController() : nullptr)
            controller->CancelSave();
    };
}

HRESULT CSaveControllerBase::AfterSave(CSaveVideoParams*) {
    return S_OK;
}

HRESULT CSaveControllerBase::OnSaveDone(BOOL succeeded, CSaveVideoParams* params) {
    if (!params)
        return E_POINTER;
    if (succeeded && m_doneCallback && params->m_notify) {
        const QString& saved = params->m_outputKind == CSaveVideoParams::kSequence
                                   ? params->m_firstWrittenFile
                                   : params->m_outputPath;
        m_doneCallback->OnFileSaved(saved, params->m_notifyTag);
    }
    return S_OK;
}

HRESULT CSaveControllerBase::PromptAndSave(CSaveVideoParams* params) {
    if (Prompt(params) != S_OK || Save(params) != S_OK || AfterSave(params) != S_OK)
        return E_FAIL;
    return S_OK;
}

HRESULT CSaveControllerBase::SetSequenceSaver(CFrameSaver* saver) {
    m_sequenceSaver.reset(saver);
    return S_OK;
}

HRESULT CSaveControllerBase::SetAviSaver(CFrameSaver* saver) {
    m_aviSaver.reset(saver);
    return S_OK;
}
