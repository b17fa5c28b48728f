#include "devices/LivePreviewPage.h"

#include "platform/framework/Button.h"
#include "platform/framework/DC.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/Rgn.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPixmap>

#include <algorithm>

IMPLEMENT_DYNAMIC(CLivePreviewPage, CWizardPage)

// clang-format off
BEGIN_MESSAGE_MAP(CLivePreviewPage, CWizardPage)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_BN_CLICKED(CLivePreviewPage::kZoomOut1, OnZoomOut1)
    ON_BN_CLICKED(CLivePreviewPage::kZoomIn1, OnZoomIn1)
    ON_BN_CLICKED(CLivePreviewPage::kZoomOut2, OnZoomOut2)
    ON_BN_CLICKED(CLivePreviewPage::kZoomIn2, OnZoomIn2)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr const char* kInstructions =
    "Live images from both cameras are shown below.  Place a calibration fixture in the field "
    "of view of both cameras.  Verify that the entire fixture is visible and in focus in both "
    "camera views.\r\n\r\nClick and drag the image to pan, use the +/- buttons to zoom, "
    "double-click to re-center.\r\nTo adjust resolution or shutter speed, click Cancel, use the "
    "Record panel controls, then re-run this wizard.";
constexpr UINT kZoomInIcon = 108;
constexpr UINT kZoomOutIcon = 109;

// A preview: paints the page's drawing of its camera and hands the mouse to the page in page
// coordinates.
class CPreviewWnd : public CWnd {
public:
    CPreviewWnd(CLivePreviewPage& page, int camera) : m_page(page), m_camera(camera) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                CPaintDC dc(this);
                CRect client;
                GetClientRect(&client);
                m_page.DrawPreview(m_camera, &dc, client);
                return 0;
            }
            case WM_LBUTTONDOWN:
            case WM_MOUSEMOVE:
            case WM_LBUTTONUP:
            case WM_LBUTTONDBLCLK: {
                const QPoint at = GetQWidget()->mapTo(
                    m_page.GetQWidget(), QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
                return m_page.SendMessage(message, wParam, MAKELPARAM(at.x(), at.y()));
            }
            default:
                return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    CLivePreviewPage& m_page;
    int m_camera;
};

void SetButtonIcon(CWnd* button, UINT icon) {
    auto* widget = qobject_cast<QAbstractButton*>(button ? button->GetQWidget() : nullptr);
    if (!widget)
        return;
    widget->setIcon(QIcon(QPixmap::fromImage(CResourceChain::LoadIcon(icon))));
    widget->setIconSize(QSize(16, 16));
}

}  // namespace

CLivePreviewPage::CLivePreviewPage() : CWizardPage(IDD) {}

CLivePreviewPage::~CLivePreviewPage() = default;

BOOL CLivePreviewPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    SetDlgItemText(kMessage, QString::fromLatin1(kInstructions));
    SetButtonIcon(GetDlgItem(kZoomIn1), kZoomInIcon);
    SetButtonIcon(GetDlgItem(kZoomIn2), kZoomInIcon);
    SetButtonIcon(GetDlgItem(kZoomOut1), kZoomOutIcon);
    SetButtonIcon(GetDlgItem(kZoomOut2), kZoomOutIcon);
    const int ids[kCameras] = {kPreview1, kPreview2};
    for (int c = 0; c < kCameras; ++c) {
        m_previews[c] = std::make_unique<CPreviewWnd>(*this, c);
        m_previews[c]->SubclassDlgItem(static_cast<UINT>(ids[c]), this);
    }
    m_dragging = -1;
    return TRUE;
}

void CLivePreviewPage::OnShowPage(BOOL show) {
    if (show)
        SetTimer(kPreviewTimer, kPreviewPeriodMs);
    else
        StopPreview();
}

void CLivePreviewPage::StopPreview() {
    KillTimer(kPreviewTimer);
    m_dragging = -1;
}

int CLivePreviewPage::OnWizardNext() {
    StopPreview();
    return 1;
}

int CLivePreviewPage::OnWizardCancel() {
    StopPreview();
    return 1;
}

void CLivePreviewPage::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kPreviewTimer || !m_reader)
        return;
    for (int c = 0; c < kCameras; ++c) {
        if (m_reader(c, &m_images[c])) {
            m_haveImage[c] = true;
            Redraw(c);
        }
    }
}

void CLivePreviewPage::Redraw(int c) {
    if (m_previews[c] && m_previews[c]->GetSafeHwnd())
        m_previews[c]->Invalidate(FALSE);
}

void CLivePreviewPage::ZoomOut(int c) {
    m_zoom[c] *= 0.8;
    if (m_zoom[c] <= 1.0)
        m_zoom[c] = 1.0;
    Redraw(c);
}

void CLivePreviewPage::ZoomIn(int c) {
    if (m_zoom[c] < 20.0)
        m_zoom[c] *= 1.25;
    Redraw(c);
}

void CLivePreviewPage::DrawPreview(int c, CDC* dc, const CRect& client) {
    const int w = client.Width();
    const int h = client.Height();
    const int imageWidth = static_cast<int>(m_images[c].GetWidth());
    const int imageHeight = static_cast<int>(m_images[c].GetHeight());
    if (!m_haveImage[c] || imageWidth <= 0 || imageHeight <= 0 || w <= 0 || h <= 0) {
        dc->FillSolidRect(client, kBackground);
        return;
    }
    const double fit =
        std::min(static_cast<double>(w) / imageWidth, static_cast<double>(h) / imageHeight);
    const double scale = fit * m_zoom[c];
    m_scale[c] = scale;
    const int left = static_cast<int>(w / 2 + scale * (m_pan[c].x - imageWidth / 2));
    const int top = static_cast<int>(h / 2 + scale * (m_pan[c].y - imageHeight / 2));
    const int width = static_cast<int>(imageWidth * scale);
    const int height = static_cast<int>(imageHeight * scale);

    CRgn whole;
    CRgn picture;
    CRgn outside;
    whole.CreateRectRgnIndirect(client);
    picture.CreateRectRgn(left, top, left + width, top + height);
    outside.CreateRectRgn(0, 0, 0, 0);
    outside.CombineRgn(&whole, &picture, RGN_DIFF);
    dc->SelectClipRgn(&outside);
    dc->FillSolidRect(client, kBackground);
    dc->SelectClipRgn(nullptr);
    m_images[c].Draw(dc, left, top, width, height);
}

CRect CLivePreviewPage::GetPreviewRect(int c) const {
    CWnd* preview = GetDlgItem(c == 0 ? kPreview1 : kPreview2);
    if (!preview || !preview->GetQWidget())
        return CRect();
    const QRect r = preview->GetQWidget()->geometry();
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

void CLivePreviewPage::OnLButtonDown(UINT, CPoint point) {
    for (int c = 0; c < kCameras; ++c) {
        if (GetPreviewRect(c).PtInRect(point)) {
            m_dragging = c;
            m_pressPoint = point;
            m_pressPan = m_pan[c];
            return;
        }
    }
}

void CLivePreviewPage::DragTo(CPoint point) {
    const double scale = m_scale[m_dragging];
    if (scale <= 0)
        return;
    m_pan[m_dragging].x = m_pressPan.x + static_cast<LONG>((point.x - m_pressPoint.x) / scale);
    m_pan[m_dragging].y = m_pressPan.y + static_cast<LONG>((point.y - m_pressPoint.y) / scale);
    Redraw(m_dragging);
}

void CLivePreviewPage::OnMouseMove(UINT, CPoint point) {
    if (m_dragging >= 0)
        DragTo(point);
}

void CLivePreviewPage::OnLButtonUp(UINT, CPoint point) {
    if (m_dragging < 0)
        return;
    DragTo(point);
    m_dragging = -1;
}

void CLivePreviewPage::OnLButtonDblClk(UINT, CPoint point) {
    for (int c = 0; c < kCameras; ++c) {
        if (GetPreviewRect(c).PtInRect(point)) {
            m_pan[c] = CPoint(0, 0);
            Redraw(c);
            return;
        }
    }
}
