#pragma once

// CCamFrm: the frame of a stand-alone camera window, a child of the main window. Beside the live
// video it docks the record pages of the window's camera.

#include "platform/framework/MDIChildWnd.h"

#include <memory>

class CCamRecordPanel;

class CCamFrm : public CMDIChildWnd {
    DECLARE_DYNCREATE(CCamFrm)
    DECLARE_MESSAGE_MAP()

public:
    CCamFrm();
    ~CCamFrm() override;

    // The window's camera joins its record pages once the view has it.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) override;
    CCamRecordPanel* GetRecordPanel() const { return m_recordPanel.get(); }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    std::unique_ptr<CCamRecordPanel> m_recordPanel;
};
