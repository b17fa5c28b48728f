#pragma once

// CConvertWizardSheet: the conversion wizard. It turns a version 2.0 recording (a ".avi" video
// and, when there is one, the ".au2" data file of the same name) into a play group: a new
// play-group file that refers to both files, which stay as they are, and then opens it.

#include "devices/ConvertFilesPage.h"
#include "devices/WizardSheet.h"

class CConvertWizardSheet : public CWizardSheet {
    DECLARE_DYNAMIC(CConvertWizardSheet)

public:
    explicit CConvertWizardSheet(CWnd* pParentWnd = nullptr);

    // Writes the play-group file of the source's video and data file and opens it: 1, or 0
    // after telling why (no video beside the source, a destination that cannot be written).
    int ConvertToPlayGroup(const QString& source, const QString& destination);

    CConvertFilesPage& GetFilesPage() { return m_files; }

    // Finish: the page's checks, then the conversion; only its success ends the wizard.
    void OnOK() override;

protected:
    BOOL OnInitDialog() override;

private:
    CConvertFilesPage m_files;
};
