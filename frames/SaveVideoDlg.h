#pragma once

// CSaveVideoDlg: the file dialog in which the user names the output of a video save and its
// type (AVI, image sequence or batch set). The frames to save (all or a range) and the skip
// count are its members, set by the caller before it opens and read after OK. Before a name
// is accepted the target is checked: an open AVI or open frame files are never overwritten,
// an existing AVI is replaced only after a question, and the files of an existing numbered
// set are listed for deletion (the caller deletes them once the new save succeeded).

#include "platform/framework/FileDialog.h"
#include "platform/framework/Wnd.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <memory>

class CSaveVideoOptionsDlg;
class CSaveVideoPanelDlg;

class CSaveVideoDlg : public CFileDialog {
public:
    CSaveVideoDlg(BOOL bOpenFileDialog, int frameCount, int zeroOffset, const QString& defaultExt,
                  const QString& fileName, DWORD flags, const QString& filter,
                  CWnd* pParentWnd = nullptr, BOOL showEncrypt = FALSE, BOOL enableBayer = FALSE);
    ~CSaveVideoDlg() override;

    // Opens the dialog with the range shown as a range when it is less than the whole
    // recording; IDOK or IDCANCEL.
    int DoModal() override;

    // The 1-based index of the filter entry "*.<extension>", -1 when there is none.
    int FilterIndexOf(const QString& extension) const;
    int GetFilterIndex() const { return m_ofn.nFilterIndex; }
    // The accepted name, with the extension of its type for an AVI.
    const QString& GetSavePath() const { return m_savePath; }

    // The frame numbers a range may use.
    int LowestNumber() const { return -m_zeroOffset; }
    int HighestNumber() const { return std::max(m_frameCount - m_zeroOffset - 1, -m_zeroOffset); }
    // Frames of the range choice: all of them, or from..to.
    int FramesOfChoice() const;
    // One more than the frames skipped after each saved one.
    int Step() const { return m_skipEnabled ? m_skipCount + 1 : 1; }
    // The expected size of the output of the current type in megabytes, truncated to two
    // decimals; -1 when it cannot be told.
    double EstimateMegabytes() const;
    // The panels while the dialog is up, else null: the one below the dialog's own controls
    // and the options panel inside it.
    CSaveVideoPanelDlg* GetPanel() const { return m_panel.get(); }
    CSaveVideoOptionsDlg* GetOptionsPanel() const { return m_options.get(); }

    // Options (frame numbers are index minus the zero offset).
    int m_rangeChoice = 0;  // 0 all, 1 from..to
    int m_from = 0;
    int m_to = 0;
    int m_skipCount = 0;
    BOOL m_skipEnabled = FALSE;
    BOOL m_batch = FALSE;
    int m_framesPerFile = 0;
    // The source's frame size, -1 until the caller sets it, and the bytes of one frame.
    int m_frameWidth = -1;
    int m_frameHeight = -1;
    int64_t m_frameBytes = 0;
    int m_paletteEntries = 0;
    double m_estimateMB = -1;
    BOOL m_showEncrypt;
    BOOL m_enableBayer;
    BOOL m_confirmOverwrite = TRUE;
    BOOL m_askBeforeNewSequence = TRUE;
    // The other save options, kept for the caller; the saves of this program do not read them.
    BOOL m_saveAnalysis = FALSE;
    BOOL m_saveData = FALSE;
    BOOL m_enableSaveData = FALSE;
    BOOL m_saveEncrypted = FALSE;
    BOOL m_encryptNotes = FALSE;
    BOOL m_saveBayer = FALSE;
    // The files of the existing set the user agreed to replace.
    QStringList m_staleFiles;

    int m_aviIndex = -1;
    int m_pviIndex = -1;
    int m_xmvIndex = -1;
    int m_bmpIndex = -1;
    int m_tifIndex = -1;
    int m_jpgIndex = -1;

    const int m_frameCount;
    const int m_zeroOffset;

protected:
    BOOL OnFileNameOK() override;
    QWidget* GetExtension() override;
    QString OnTypeChange(int index, const QString& typedName) override;

private:
    // The extension of filter entry index (1-based) without "*.", empty when there is none.
    QString EntryExtension(int index) const;
    BOOL CheckAvi(const QString& extension);
    BOOL CheckSet(const QString& extension);

    QStringList m_patterns;  // "*.avi" ... in filter order
    QString m_savePath;
    // The panels live in a hidden window of their own between the times the dialog shows them.
    CWnd m_panelHome;
    std::unique_ptr<CSaveVideoPanelDlg> m_panel;
    std::unique_ptr<CSaveVideoOptionsDlg> m_options;
};
