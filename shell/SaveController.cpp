#include "shell/SaveController.h"

#include "frames/AviFrameSaver.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/FrameSource.h"
#include "platform/framework/WinApp.h"
#include "shell/ImageSequenceSaver.h"

CSaveController::CSaveController(CFrameSource* source) : CPromptingSaveController(source) {
    SetSequenceSaver(new CImageSequenceSaver(source));
    SetAviSaver(new CAviFrameSaver(source));
}

HRESULT CSaveController::Prompt(CSaveVideoParams* params) {
    if (CPromptingSaveController::Prompt(params) != S_OK)
        return E_FAIL;
    if (params->m_outputKind != CSaveVideoParams::kAvi)
        return S_OK;
    AVISaveAssistantDlg assistant(m_source, params, AfxGetMainWnd());
    return assistant.DoModal() == IDOK ? S_OK : E_FAIL;
}

void CSaveController::Install() {
    CFrameSource::SetSaveControllerFactory(
        [](CFrameSource* source) { return std::make_unique<CSaveController>(source); });
}
