#pragma once

// CPromptingSaveController: the save controller that asks the user through the save-video
// dialog, shows a progress window while its savers run, refuses a second save meanwhile, and
// writes the configuration side file beside a successful output. It lives here rather than
// beside its base in frames/ because the progress window is the shell's.
//
// User-interface thread only; the progress window lets messages through while a save runs.

#include "frames/SaveControllerBase.h"
#include "shell/ProgressDlg.h"

#include <QStringList>

#include <memory>

class CCfgFileInfo;
class CFrameSource;

class CPromptingSaveController : public CSaveControllerBase {
public:
    // The source stays the caller's and must outlive the controller.
    explicit CPromptingSaveController(CFrameSource* source);
    ~CPromptingSaveController() override;

    HRESULT Prompt(CSaveVideoParams* params) override;
    HRESULT Save(CSaveVideoParams* params) override;

    // Presses the progress window's Cancel.
    void CancelSave() override;
    // True while a save runs.
    bool IsBusy() const { return m_progress != nullptr; }
    // The number of generated save names so far in this run of the program.
    static int SaveCounter();

    // The recording information of source rebased onto a saved range: the first frame number
    // (and the time-stamp reference) become the numbers of the saved frames in the new
    // numbering, the rate follows the step (an unknown rate stays unknown).
    static void RebaseRecordingInfo(CCfgFileInfo* info, int firstFrame, int step);
    // "<output less extension, '*' and '_'>.cfg".
    static QString ConfigPathOf(const QString& outputPath);

protected:
    CFrameSource* m_source;

private:
    static int StepProgress(void* cookie, int percent);
    void WriteConfigFile(const CSaveVideoParams& params) const;

    std::unique_ptr<CProgressDlg> m_progress;
    QStringList m_staleFiles;  // of the set being replaced, deleted once the save succeeded
};
