#pragma once

// CActiveAreaDlg: the modal "Set Active Area" dialog. It shows a camera's latest live frame in
// the active-area control, fills the control from the device's active-area settings when it
// opens, and passes the area the user drags or the origin the user clicks back to the device.

#include "platform/com/ComPtr.h"
#include "platform/framework/Dialog.h"
#include "shell/QnActiveArea.h"

#include <memory>

class CDevice;
class CFrameImage;
class CFrameSource;

class CActiveAreaDlg : public CDialog {
public:
    static constexpr UINT IDD = 218;
    static constexpr int kAreaControlId = 2088;

    // Shows device's live video: the device's own live frame source when it has one, else a
    // source of its live stream made for this dialog.
    explicit CActiveAreaDlg(CDevice& device, CWnd* pParent = nullptr);
    ~CActiveAreaDlg() override;

    BOOL OnInitDialog() override;
    // Hands the latest frame to the control; without a new frame only the control is redrawn.
    void Refresh();

    CQnActiveArea& GetAreaControl() { return m_area; }
    // The control's events: the user dragged the area, or clicked a new origin.
    void OnAreaChanged(LONG left, LONG top, LONG width, LONG height);
    void OnPointClicked(LONG x, LONG y);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    class CEventSink;

    // Hands m_image to the control: true when the control took it.
    bool ShowImage(int bitsPerPixel);

    CDevice& m_device;
    std::shared_ptr<CFrameSource> m_source;
    std::unique_ptr<CFrameImage> m_image;
    CQnActiveArea m_area;
    CComPtr<CEventSink> m_sink;
    DWORD m_cookie = 0;
};
