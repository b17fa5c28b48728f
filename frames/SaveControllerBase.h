#pragma once

// CSaveControllerBase: the save controller every frame source owns. It asks where and how to
// save (Prompt), runs the save through its sequence or AVI saver (Save), and tells the
// request's done-callback about the saved file. The prompting controllers are built where the
// dialogs and the progress window live (shell/SaveController.h) and reach the frame source
// through CFrameSource::SetSaveControllerFactory.

#include "frames/FrameSaver.h"
#include "frames/SaveVideoParams.h"
#include "platform/framework/Wnd.h"

#include <functional>
#include <memory>

class CFrameSource;

class CSaveControllerBase : public CWnd {
public:
    CSaveControllerBase() = default;
    ~CSaveControllerBase() override;

    // S_OK when the request names an output, E_FAIL when cancelled or refused.
    virtual HRESULT Prompt(CSaveVideoParams* params) = 0;
    virtual HRESULT AfterSave(CSaveVideoParams* params);
    // With success, a done-callback and the notify flag: tells the callback about the first
    // written file (sequences) or the output path. S_OK; E_POINTER for a null request.
    virtual HRESULT OnSaveDone(BOOL succeeded, CSaveVideoParams* params);
    // S_OK, E_POINTER (null request or no source) or E_FAIL.
    virtual HRESULT Save(CSaveVideoParams* params) = 0;
    // Ends a running save the way its own Cancel does; nothing when none runs.
    virtual void CancelSave() {}
    // What cancels the save that source runs, for an operation's registration.
    static std::function<void()> CancellerOf(CFrameSource* source);
    // Prompt, Save and AfterSave: S_OK only when all three succeed, else E_FAIL.
    virtual HRESULT PromptAndSave(CSaveVideoParams* params);
    // The controller owns the savers from here on.
    virtual HRESULT SetSequenceSaver(CFrameSaver* saver);
    virtual HRESULT SetAviSaver(CFrameSaver* saver);

    CFrameSaver* GetSequenceSaver() const { return m_sequenceSaver.get(); }
    CFrameSaver* GetAviSaver() const { return m_aviSaver.get(); }

protected:
    ISaveDoneCallback* m_doneCallback = nullptr;  // of the running save; not owned
    std::unique_ptr<CFrameSaver> m_sequenceSaver;
    std::unique_ptr<CFrameSaver> m_aviSaver;
};
