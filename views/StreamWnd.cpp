#include "views/StreamWnd.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/DC.h"
#include "platform/framework/MessageMap.h"
#include "platform/wintypes/CLocale.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawObject.h"

#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr COLORREF kNoFrameColour = 0x000000;
constexpr COLORREF kUncoveredColour = 0x404040;
constexpr COLORREF kInfoColour = 0x0000FF;
constexpr int kInfoMargin = 5;
constexpr int kInfoMarginWithRulers = 15;
// The last mouse message the owner hears of (the extra buttons' double-click).
constexpr UINT kLastMouseMessage = 0x020D;

}  // namespace

IMPLEMENT_DYNCREATE(CStreamWnd, CPanZoomView)

BEGIN_MESSAGE_MAP(CStreamWnd, CPanZoomView)
ON_WM_CREATE()
END_MESSAGE_MAP()

CStreamWnd::CStreamWnd()
    : m_annotateDoc(std::make_unique<CAnnotateDoc>()),
      m_annotateView(std::make_unique<CAnnotateView>()) {
    // The annotations live and die with this window, never with a view list.
    m_annotateDoc->m_bAutoDelete = FALSE;
    m_annotateView->SetDocument(m_annotateDoc.get());
    m_annotateView->SetRedrawTarget(this);
    m_annotateView->SetImageMapping(
        [this](CPoint window) { return ClientToImage(window.x, window.y, TRUE); });
    SetFitMode(TRUE);
}

CStreamWnd::~CStreamWnd() = default;

bool CStreamWnd::HasFrame() const {
    return m_image.IsValid() && m_imageWidth > 0 && m_imageHeight > 0;
}

void CStreamWnd::FrameShown() {
    SetImageSize(static_cast<int>(m_image.GetWidth()), static_cast<int>(m_image.GetHeight()));
    if (!RedrawPictureOnly())
        Redraw();
}

CStreamWnd::LayerState CStreamWnd::CurrentLayerState(const CRect& client,
                                                     const CRect& picture) const {
    LayerState state;
    state.client = client;
    state.picture = picture;
    state.fitMode = m_fitMode;
    state.zoomBoxCorner = m_zoomBoxCorner;
    state.infoCorner = m_infoCorner;
    state.reticleShown = m_reticleShown;
    state.reticle = m_reticle;
    state.selectionMode = m_selectionMode;
    state.selectionState = m_selectionState;
    state.selection = m_selection;
    state.rulersShown = m_rulersShown;
    return state;
}

void CStreamWnd::NotePainted(CDC* pDC, const CRect& client) {
    // Only a paint of this window counts (pictures painted elsewhere leave the screen as it
    // was), and only one that covered all of it sets the state; a paint of a part keeps the
    // record only when the state it painted is the recorded one.
    QPainter* painter = pDC->GetPainter();
    QPaintEngine* engine = painter ? painter->paintEngine() : nullptr;
    if (!engine || !GetQWidget() || painter->device() != GetQWidget())
        return;
    CRect whole;
    GetClientRect(&whole);
    const LayerState state = CurrentLayerState(whole, UpdateDisplayRect(whole));
    // A paint of the recorded state leaves the record as it is, whatever it covered.
    if (m_painted && *m_painted == state)
        return;
    const QTransform device = painter->deviceTransform();
    const QRegion painted = engine->systemClip().translated(-static_cast<int>(device.dx()),
                                                            -static_cast<int>(device.dy()));
    // What of the window can be seen at all (a window partly outside its parent is clipped).
    const QRegion shown = GetQWidget()->visibleRegion().intersected(
        QRect(client.left, client.top, client.Width(), client.Height()));
    if (client == whole && (painted.isEmpty() || shown.subtracted(painted).isEmpty()))
        m_painted = state;
    else if (m_painted && !(*m_painted == state))
        m_painted.reset();
}

bool CStreamWnd::RedrawPictureOnly() {
    // The fill around the picture and the overlays are what they were unless their state, the
    // window or the picture's place changed. The information box and the annotations follow
    // the frame, and so may an owner's drawing that does not say otherwise.
    if (!m_painted || !GetSafeHwnd() || !IsWindowVisible() || m_infoCorner != kHidden ||
        !m_annotateDoc->GetObjectList()->empty() ||
        (m_paintCallback && (!m_stillCheck || !m_paintContext || !m_stillCheck(m_paintContext))))
        return false;
    CRect client;
    GetClientRect(&client);
    const CRect shown = UpdateDisplayRect(client);
    CRect picture;
    if (!picture.IntersectRect(client, shown) || !(CurrentLayerState(client, shown) == *m_painted))
        return false;
    RedrawWindow(&picture, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return true;
}

void CStreamWnd::ClampCurrentFrame() {
    // A play group asks its shorter members for frames past their end; the source shows its
    // last frame then, and the number the window shows must be that frame's.
    const int count = m_source->GetFrameCount();
    if (count > 0)
        m_currentFrame = std::clamp(m_currentFrame, 0, count - 1);
}

int CStreamWnd::ShowFrame(int frame) {
    m_currentFrame = frame;
    if (m_source.IsEmpty() || !m_source->IsOpen())
        return 0;
    ClampCurrentFrame();
    frame = m_currentFrame;
    // A failed read leaves the image as it was, so the previous picture stays up.
    if (!m_source->GetFrame(frame, &m_image, 1))
        return 0;
    FrameShown();
    return 1;
}

int CStreamWnd::ShowFrameWithLuts(int frame, const CLutParamSet& lutA, const CLutParamSet& lutB) {
    m_currentFrame = frame;
    if (m_source.IsEmpty() || !m_source->IsOpen())
        return 0;
    ClampCurrentFrame();
    frame = m_currentFrame;
    if (!m_source->GetFrameDib(frame, &m_image, lutA, lutB, 1))
        return 0;
    FrameShown();
    return 1;
}

HRESULT CStreamWnd::ReadFrameWithLuts(int frame, int reserved, const CLutParamSet& lutA,
                                      const CLutParamSet& lutB, CFrameImage* image) {
    if (reserved != 0 || !image || m_source.IsEmpty() || !m_source->IsOpen())
        return E_FAIL;
    return m_source->GetFrameDib(frame, image, lutA, lutB, 1) ? S_OK : E_FAIL;
}

HRESULT CStreamWnd::GetSourcePath(int reserved, QString* path) const {
    if (reserved != 0 || !path)
        return E_FAIL;
    *path = m_source.IsEmpty() ? QString() : m_source->GetFilePath();
    return S_OK;
}

void CStreamWnd::SetFrameSource(const CFrameSourcePtr& source) {
    m_source = source;
    // The annotations' default file lies beside the recording; their objects read the frame
    // facts through an adapter of the new source.
    m_annotateDoc->SetName(m_source.IsEmpty() ? QString() : m_source->GetFilePath());
    m_annotateView->SetMovieAdapter(
        m_source.IsEmpty() ? nullptr
                           : std::make_unique<CMovieAdapter>(m_source, m_movieView, true, false));
    if (!m_source.IsEmpty())
        ShowFrame(m_currentFrame);
}

void CStreamWnd::SetReticlePosition(int x, int y) {
    CPanZoomView::SetReticlePosition(x, y);
    m_annotateView->SetReticlePoint(x, y);
}

void CStreamWnd::SetMouseCallback(CWnd* context, MouseCallback callback) {
    m_mouseContext = context;
    m_mouseCallback = callback;
}

void CStreamWnd::SetPaintCallback(PaintCallback callback, CWnd* context, StillCheck still) {
    m_paintCallback = callback;
    m_paintContext = context;
    m_stillCheck = still;
}

QString CStreamWnd::FormatTime(double seconds) {
    const double t = std::abs(seconds);
    const auto whole = static_cast<long long>(std::trunc(t));
    // A hair of slack, so that a value such as 0.29 s that lies a rounding error below its
    // decimal does not lose its last digit.
    const auto fraction =
        std::min(static_cast<int>(std::trunc((t - std::floor(t)) * 10000.0 + 1e-6)), 9999);
    return QFormatC(seconds < 0 ? "-%02lld:%02lld.%04d" : " %02lld:%02lld.%04d", whole / 60,
                    whole % 60, fraction);
}

QString CStreamWnd::GetInfoText() const {
    int number = 0;
    double seconds = 0.0;
    int rate = 0;
    int shutterNs = 0;
    QString startDate, startTime, frameDate, frameTime;
    bool hasStart = false;
    bool hasFrameTime = false;
    if (!m_source.IsEmpty() && m_source->IsOpen()) {
        // The recorded number: frame 0 carries the first frame number, which is negative for
        // the frames before the trigger. Showing the bare index instead would give every
        // triggered recording a wrong number, so the box adds the first number on purpose.
        number = m_currentFrame + m_source->GetFirstFrameNumber();
        rate = m_source->GetRecordedRate();
        shutterNs = m_source->GetExposure();
        seconds = rate > 0 ? static_cast<double>(number) / rate : number;
        hasStart = m_source->GetStartTimeText(&startDate, &startTime) != 0;
        hasFrameTime = m_source->GetFrameTimeText(number, rate, &frameDate, &frameTime) != 0;
    }
    QString text = QFormatC("Frame: %d\nTime: ", number) + FormatTime(seconds);
    text += rate > 0 ? QFormatC("\nRecorded Rate: %d fps", rate) : QString("\nRecorded Rate: N/A");
    text += shutterNs > 0 ? QFormatC("\nShutter Speed: %d usec", shutterNs / 1000)
                          : QString("\nShutter Speed: N/A");
    if (m_reticleShown)
        text += QFormatC("\nReticle Posn: %d, %d", m_reticle.x, m_reticle.y);
    if (hasStart)
        text += "\n\nIRIG Trigger : " + startDate + " " + startTime;
    if (hasFrameTime)
        text += "\nIRIG Frame   : " + frameDate + " " + frameTime;
    return text;
}

void CStreamWnd::DrawInfoBox(CDC* pDC, const CRect& client) {
    if (m_infoCorner == kHidden)
        return;
    CRect area = client;
    const int margin = m_rulersShown ? kInfoMarginWithRulers : kInfoMargin;
    area.DeflateRect(margin, margin);

    CFont font;
    font.CreateFont(14, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    CFont* oldFont = pDC->SelectObject(&font);
    const COLORREF oldColour = pDC->SetTextColor(kInfoColour);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);

    const QString text = GetInfoText();
    CRect extent(0, 0, 0, 0);
    pDC->DrawText(text, &extent, DT_CALCRECT);
    const int width = extent.Width();
    const int height = extent.Height();
    const bool right = m_infoCorner == kUpperRight || m_infoCorner == kLowerRight;
    const bool bottom = m_infoCorner == kLowerRight || m_infoCorner == kLowerLeft;
    const int left = right ? area.right - width : area.left;
    const int top = bottom ? area.bottom - height : area.top;
    CRect box(left, top, left + width, top + height);
    pDC->DrawText(text, &box, 0);

    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColour);
    pDC->SelectObject(oldFont);
}

void CStreamWnd::UpdateTransform() {
    const Geometry g = GetGeometry();
    m_transform.SetOffset(g.panX, g.panY);
    m_transform.SetScale(g.scale);
    m_transform.SetWindowSize(g.clientWidth, g.clientHeight);
    m_transform.SetImageSize(m_imageWidth, m_imageHeight);
}

void CStreamWnd::SetTool(int tool) {
    m_tool = tool;
    m_annotateView->SetTool(tool);
}

void CStreamWnd::ForwardToEditor(UINT message, WPARAM wParam, LPARAM lParam) {
    UpdateTransform();
    m_annotateView->SetTransform(&m_transform);
    m_annotateView->SetCurrentFrame(m_currentFrame);
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    const auto flags = static_cast<UINT>(wParam);
    switch (message) {
        case WM_LBUTTONDOWN:
            m_annotateView->OnLButtonDown(flags, point);
            break;
        case WM_LBUTTONUP:
            m_annotateView->OnLButtonUp(flags, point);
            break;
        case WM_MOUSEMOVE:
            m_annotateView->OnMouseMove(flags, point);
            break;
        case WM_LBUTTONDBLCLK:
            m_annotateView->OnLButtonDblClk(flags, point);
            break;
        case WM_KEYDOWN:
            m_annotateView->OnKeyDown(flags, LOWORD(lParam), HIWORD(lParam));
            break;
        default:
            break;
    }
}

BOOL CStreamWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Only the editor's own commands: its pan-zoom base would take the window's View commands.
    if (nID >= CAnnotateView::kCommandBase && nID <= CAnnotateView::kCommandLast &&
        m_annotateView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CPanZoomView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CStreamWnd::Paint(CDC* pDC, const CRect* pRect) {
    if (!pDC)
        return;
    CRect rect;
    if (pRect)
        rect = *pRect;
    else if (GetSafeHwnd())
        GetClientRect(&rect);
    if (rect.IsRectEmpty())
        return;
    if (!HasFrame()) {
        pDC->FillSolidRect(rect, kNoFrameColour);
        NotePainted(pDC, rect);
        return;
    }

    // A window is painted on directly: its backing store already keeps the picture from
    // flickering, and a memory bitmap would be one more copy of every pixel. Annotations that
    // blend with what lies under them read their target back, which a window cannot be; they
    // and other targets go through the memory bitmap.
    if (!pDC->GetImage() && rect.TopLeft() == CPoint(0, 0) &&
        m_annotateDoc->GetObjectList()->empty()) {
        PaintLayers(pDC, rect);
        NotePainted(pDC, rect);
        return;
    }
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    CBitmap& bitmap = m_paintBitmap;
    if (!bitmap.GetImage() || bitmap.GetSize() != CSize(rect.Width(), rect.Height())) {
        bitmap.DeleteObject();
        if (!bitmap.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height()))
            return;
    }
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    PaintLayers(&memory, CRect(0, 0, rect.Width(), rect.Height()));
    pDC->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
    NotePainted(pDC, rect);
}

void CStreamWnd::PaintLayers(CDC* pDC, const CRect& area) {
    const CRect shown = UpdateDisplayRect(area);
    // Around the picture: grey in fit mode, else black.
    const COLORREF around = m_fitMode ? kUncoveredColour : kNoFrameColour;
    CRect inner;
    if (!inner.IntersectRect(area, shown)) {
        pDC->FillSolidRect(area, around);
    } else {
        pDC->FillSolidRect(CRect(area.left, area.top, area.right, inner.top), around);
        pDC->FillSolidRect(CRect(area.left, inner.bottom, area.right, area.bottom), around);
        pDC->FillSolidRect(CRect(area.left, inner.top, inner.left, inner.bottom), around);
        pDC->FillSolidRect(CRect(inner.right, inner.top, area.right, inner.bottom), around);
    }
    m_image.Draw(pDC, shown.left, shown.top, shown.Width(), shown.Height());

    DrawReticle(pDC);
    DrawSelection(pDC);
    DrawRulers(pDC);
    DrawZoomBox(pDC);
    DrawInfoBox(pDC, area);

    if (m_paintCallback && m_paintContext && m_paintContext->GetSafeHwnd())
        m_paintCallback(m_paintContext, pDC);

    UpdateTransform();
    if (!m_source.IsEmpty())
        m_annotateView->DrawObjects(pDC, m_currentFrame, &m_transform);
}

void CStreamWnd::OnDraw(CDC* pDC) {
    Paint(pDC, nullptr);
}

int CStreamWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CPanZoomView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Paint covers every pixel of the window, so nothing is filled in underneath first, nor
    // erased: the window has no background message of its own.
    if (QWidget* widget = GetQWidget()) {
        widget->setAttribute(Qt::WA_OpaquePaintEvent);
        // A click on the picture gives it the keys, so that they reach the annotation editor
        // (Delete, the arrows) instead of whichever control had the focus before.
        widget->setFocusPolicy(Qt::ClickFocus);
    }
    return 0;
}

void CStreamWnd::PostNcDestroy() {}

LRESULT CStreamWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The editor hears the mouse first, unless the window zooms or pans with it.
    const bool editorMessage = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                               message == WM_MOUSEMOVE || message == WM_LBUTTONDBLCLK ||
                               message == WM_KEYDOWN;
    if (editorMessage && !m_zoomMode && !m_panMode)
        ForwardToEditor(message, wParam, lParam);
    const LRESULT result = CPanZoomView::WindowProc(message, wParam, lParam);
    if (message >= WM_MOUSEMOVE && message <= kLastMouseMessage && !m_zoomMode && !m_panMode &&
        m_mouseCallback && m_mouseContext && m_mouseContext->GetSafeHwnd())
        m_mouseCallback(m_mouseContext, message, wParam, static_cast<short>(LOWORD(lParam)),
                        static_cast<short>(HIWORD(lParam)));
    return result;
}
