#pragma once

// CSaveVideosPage: the capture wizard's seventh page. Next saves every recording of the play
// group in front into the project's folder under the project's name.

#include "devices/WizardPage.h"

#include <QStringList>

class CProjectDestinationPage;

class CSaveVideosPage : public CWizardPage {
    DECLARE_DYNAMIC(CSaveVideosPage)

public:
    static constexpr UINT IDD = 30096;
    static constexpr int kMessage = 2193;

    // destination names the folder and the title; it outlives this page.
    explicit CSaveVideosPage(const CProjectDestinationPage& destination);

    // Without a project in front holding a play group, the page is left with nothing saved;
    // otherwise only a save of the whole group lets it be left.
    int OnWizardNext() override;
    int OnWizardFinish() override { return 0; }
    int UpdateNextButton(CWnd* button) override { return Enable(button); }
    int UpdateBackButton(CWnd* button) override { return Enable(button); }
    int UpdateFinishButton(CWnd* button) override { return Disable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }

    // The files the last save wrote, in its order.
    const QStringList& GetSavedVideos() const { return m_videos; }

protected:
    BOOL OnInitDialog() override;

private:
    const CProjectDestinationPage& m_destination;
    QStringList m_videos;
};
