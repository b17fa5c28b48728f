#pragma once

// CRecordingBusyDlg: the modeless box that blinks its text ("Recording...") while a record
// group records. The record controller shows it with the group's state text; each tick of the
// blink timer (1174, 500 ms) toggles the text and checks the group: once the group has left
// the Record state the box hides itself.

#include "platform/framework/Dialog.h"

#include <QString>

class CRecordGroup;

class CRecordingBusyDlg : public CDialog {
    DECLARE_DYNAMIC(CRecordingBusyDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 204;
    static constexpr int kTextId = 2051;
    static constexpr UINT_PTR kBlinkTimer = 1174;
    static constexpr UINT kBlinkMs = 500;

    explicit CRecordingBusyDlg(CWnd* pParentWnd = nullptr);

    // The group whose state the box watches; not owned (null: none, the box hides at the next
    // tick).
    void SetRecordGroup(CRecordGroup* group) { m_group = group; }
    // A new text is shown at once and starts the blinking again (blink TRUE) or stops it;
    // the text the box already shows changes nothing.
    void ShowText(const QString& text, BOOL blink);

    QString GetText() const { return m_text; }
    // 1 while the text is shown by the blink, 0 after ShowText and while it is hidden.
    int GetBlinkPhase() const { return m_blinkPhase; }
    bool IsBlinkTimerRunning() const { return m_timerRunning; }

protected:
    void OnTimer(UINT_PTR nIDEvent);

private:
    void StartTimer();
    void StopTimer();

    QString m_text;
    int m_blinkPhase = 0;
    CRecordGroup* m_group = nullptr;
    bool m_timerRunning = false;
};
