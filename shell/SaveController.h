#pragma once

// CSaveController: the save controller of every frame source in the running program. It saves
// AVI files and image sequences, and asks for the compressor of an AVI after the save-video
// dialog.

#include "shell/PromptingSaveController.h"

class CSaveController : public CPromptingSaveController {
public:
    explicit CSaveController(CFrameSource* source);

    HRESULT Prompt(CSaveVideoParams* params) override;

    // Makes this the controller of every frame source made from now on.
    static void Install();
};
