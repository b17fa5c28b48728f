#pragma once

// CConvertFilesPage: the conversion wizard's one page: the version 2.0 video to convert and
// the play-group file to create.

#include "devices/WizardPage.h"

#include <QString>

class CConvertFilesPage : public CWizardPage {
    DECLARE_DYNAMIC(CConvertFilesPage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT IDD = 348;
    enum Control : int {
        kDescription = 2188,
        kSource = 2189,
        kDestination = 2190,
        kBrowseSource = 2191,
        kBrowseDestination = 2192,
    };

    CConvertFilesPage();

    // Both paths must be chosen; a missing one is told and keeps the wizard open.
    int OnWizardFinish() override;
    // One page: there is nowhere to go back or on to.
    int UpdateNextButton(CWnd* button) override { return Disable(button); }
    int UpdateBackButton(CWnd* button) override { return Disable(button); }

    void OnBrowseSource();
    void OnBrowseDestination();

    const QString& GetSource() const { return m_source; }
    const QString& GetDestination() const { return m_destination; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    QString m_source;
    QString m_destination;
    QString m_description;
};
