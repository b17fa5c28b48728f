#pragma once

// CDataPlayBar: the play bar along the foot of a data window (template 1630 of the
// sensor-resource library): transport buttons, a position slider with its frame scale, the
// frame and time read-out and the Continuous, Synchronize and Base Sync. boxes. The window's
// play control drives it through IPlayBar; the slider's moves go to the play control as
// kPlayBarTracking and kPlayBarReleased, and the buttons' commands to the frame, which routes
// them to the play control. In and out markers are kept, not drawn.

#include "platform/framework/DialogBar.h"
#include "platform/framework/SliderCtrl.h"
#include "sensordata/ReadoutField.h"
#include "views/IPlayBar.h"

class QImage;

class CDataPlayBar : public CDialogBar, public IPlayBar {
    DECLARE_DYNAMIC(CDataPlayBar)
    DECLARE_MESSAGE_MAP()

public:
    // The bar at the foot of frame, not yet shown; FALSE when it cannot be made.
    BOOL CreateIn(CWnd* frame, UINT nID);
    // The window that hears the slider (the play control); not owned.
    void SetOwner(CWnd* owner) { m_owner = owner; }
    // Puts an icon on a button in place of its text; FALSE without that button or image.
    BOOL SetButtonIcon(int buttonId, const QImage& icon);

    void GetPosition(int* position) override;
    void SetPosition(int position) override;
    void GetRange(int* minimum, int* maximum) override;
    void SetRange(int minimum, int maximum) override;
    void GetInOutPoints(int* in, int* out) override;
    void SetInPoint(int in) override;
    void SetOutPoint(int out) override;
    void SetInOutPoints(int in, int out) override;
    // Frame numbers of the first frame (at -offset), a third, two thirds and the last frame.
    void UpdateScaleLabels(int rate, int offset) override;
    void SetFrameField(int frameNumber) override;
    // "%5.4f" seconds.
    void SetTimeField(double seconds) override;
    void SetSpeedText(double) override {}
    void SetCheck2007(int checked) override;
    void SetCheck2011(int checked) override;
    void SetCheck2006(int checked) override;
    // The bar has no skip or rate controls: it plays every frame at the recorded rate.
    int GetSpeedField() override { return 1; }
    void SetSpeedField(int) override {}
    double GetSpeed() override { return 0.0; }
    int GetJumpFrame() override { return 0; }

protected:
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);

private:
    CSliderCtrl m_slider;
    CReadoutField m_frameField;
    CReadoutField m_timeField;
    CWnd* m_owner = nullptr;
    int m_in = 0;
    int m_out = 0;
};
