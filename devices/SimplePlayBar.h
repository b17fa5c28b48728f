#pragma once

// CSimplePlayBar: the dialog bar whose slide (item 1317) drives the playback of a record
// controller's view: pointer 1 is the play position, pointers 2 and 3 the markers. The owner
// keeps the slide up to date through the setters, which write only what changed. The user's
// moves of the slide go, as the play bar messages (1224 while a pointer moves, 1225 when it
// is let go, 1226 to forget the markers), to the play group's measurement view of the project
// that holds the bar's frame; a frame held elsewhere sends nothing.

#include "platform/com/IDispatch.h"
#include "platform/framework/DialogBar.h"
#include "shell/CWSlide.h"
#include "shell/SlideEventLink.h"

class CDataExchange;

class CSimplePlayBar : public CDialogBar {
    DECLARE_DYNAMIC(CSimplePlayBar)

public:
    static constexpr UINT kTemplate = 30077;
    static constexpr int kSlideId = 1317;

    CSimplePlayBar();
    ~CSimplePlayBar() override;

    // Creates the bar, then its initial update (the slide takes its place and is listened
    // to); whether both worked.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

    // Each does nothing while the slide has no window or when the value is the one shown.
    void SetPosition(int position);
    // The slide runs from 0 to count - 1.
    void SetFrameCount(int count);
    void SetMarkers(int first, int second);

    CCWSlide& GetSlide() { return m_slide; }

protected:
    // Fields to controls; TRUE.
    virtual BOOL InitialUpdate();
    virtual void DoDataExchange(CDataExchange* pDX);
    // The bar's writes to the slide (pointers counted from 1).
    virtual void WritePointer(int index, double value);
    virtual void WriteRange(double minimum, double maximum);
    // An event of the slide; ignored while the bar itself writes to it.
    void OnSlideEvent(DISPID event, int pointer, double value);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    bool SlideReady() const { return m_slide.GetSafeHwnd() && !m_slide.IsEmpty(); }
    // Activates the bar's frame and posts the message to the measurement view of the project
    // holding that frame.
    void PostToMeasurementView(UINT message, WPARAM wParam, LPARAM lParam);

    CCWSlide m_slide;
    CSlideEventLink m_slideEvents;
    // What the slide shows, as last written by the bar.
    int m_frameCount = -1;
    int m_firstMarker = -1;
    int m_secondMarker = -1;
    int m_position = -1;
    int m_updating = 0;
};
