#include "views/PlaybackView.h"

#include "frames/FileNames.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Extensions of the numbered image files that a frame source opens as one sequence.
bool IsImageSequence(const QString& path) {
    const QString extension = GetFileExtension(GetFileNameFromPath(path)).toLower();
    return extension == "bmp" || extension == "tif" || extension == "jpg";
}

// v as an int, saturated, so that absurd rates or frame numbers cannot overflow.
int SaturatedInt(double v) {
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, kLow, kHigh));
}

double KnownRate(double rate) {
    return rate > 0.0 && std::isfinite(rate) ? rate : 1.0;
}

}  // namespace

IMPLEMENT_DYNCREATE(CPlaybackView, CMView)

BEGIN_MESSAGE_MAP(CPlaybackView, CMView)
ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CPlaybackView::CPlaybackView() = default;
CPlaybackView::~CPlaybackView() = default;

void CPlaybackView::SetCurrentFrame(int frame, int) {
    m_currentFrame = std::max(frame, 0);
}

int CPlaybackView::GetCurrentFrame() const {
    return m_currentFrame;
}

void CPlaybackView::SetValue(int) {}

int CPlaybackView::GetValue() const {
    return 0;
}

int CPlaybackView::GetFirstFrameNumber(int*) const {
    return 0;
}

int CPlaybackView::SaveSource(int) {
    return 0;
}

int CPlaybackView::GetInPoint(int* frame) const {
    if (frame)
        *frame = m_inFrame;
    return m_inEnabled;
}

int CPlaybackView::GetOutPoint(int* frame) const {
    if (frame)
        *frame = m_outFrame;
    return m_outEnabled;
}

int CPlaybackView::GetFrameNumberOrigin(int* first) const {
    if (first)
        *first = m_originFirst;
    return m_originFlag;
}

double CPlaybackView::GetFrameRate() const {
    return m_frameRate;
}

int CPlaybackView::GetFrameCount() const {
    return m_frameCount;
}

void CPlaybackView::SetGroupMember(int type, int index, int kind, int param) {
    m_memberType = type;
    m_memberIndex = index;
    m_sourceKind = kind;
    m_memberParam = param;
}

void CPlaybackView::SetInPoint(int enabled, int frame) {
    m_inEnabled = enabled;
    m_inFrame = frame;
}

void CPlaybackView::SetOutPoint(int enabled, int frame) {
    m_outEnabled = enabled;
    m_outFrame = frame;
}

void CPlaybackView::SetFrameNumberOrigin(int flag, int first) {
    m_originFlag = flag;
    m_originFirst = first;
}

void CPlaybackView::SetFrameRate(double rate) {
    m_frameRate = KnownRate(rate);
}

void CPlaybackView::SetImageSize(int width, int height) {
    m_imageWidth = width;
    m_imageHeight = height;
}

void CPlaybackView::GetImageSize(CPoint* size) const {
    if (size)
        *size = CPoint(m_imageWidth, m_imageHeight);
}

void CPlaybackView::SetFrameChangedCallback(FrameChangedCallback callback, void* context) {
    m_frameChanged = callback;
    m_frameChangedContext = context;
}

void CPlaybackView::NotifyFrameChanged() {
    if (m_frameChanged && m_frameChangedContext)
        m_frameChanged(m_frameChangedContext, m_currentFrame);
}

QString CPlaybackView::GetDocumentTitle() const {
    return m_pDocument ? m_pDocument->GetTitle() : QString();
}

QString CPlaybackView::ShortenFileName(const QString& path) {
    QString name = GetFileNameFromPath(path);
    // A tag "{...}" anywhere in the name is left out.
    const int close = name.indexOf('}');
    if (close + 1 >= 2) {
        const int open = name.lastIndexOf('{', close);
        name.remove(std::max(open, 0), close - std::max(open, 0) + 1);
    }
    if (IsImageSequence(name)) {
        const QString base = GetSequenceBaseName(name, false);
        if (!base.isEmpty())
            return base;
    }
    return GetFileTitle(name, false);
}

void CPlaybackView::SetSourceName(const QString& path) {
    if (path.isEmpty()) {
        m_displayName = path;
        return;
    }
    const QString folder = GetFileNameFromPath(GetFolderFromPath(path));
    const QString file = ShortenFileName(path);
    m_displayName = folder.isEmpty() ? file : folder + "\\" + file;
}

int CPlaybackView::MapFrameRangeByRate(double rateA, int offset, int countB, double rateB, int last,
                                       int first, int* outFirst, int* outLast) {
    if (!outFirst || !outLast)
        return 0;
    const double ratio = KnownRate(rateA) / KnownRate(rateB);
    *outFirst = std::max(SaturatedInt(std::floor(first * ratio) + offset), 0);
    const double mappedLast = ratio <= 1.0 ? std::floor(last * ratio) + offset
                                           : std::ceil((last + 1.0) * ratio) + offset - 1.0;
    *outLast = SaturatedInt(std::min(mappedLast, countB - 1.0));
    return 1;
}

void CPlaybackView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    CMView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate)
        NotifyFrameChanged();
}

void CPlaybackView::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CMView::OnActivate(nState, pWndOther, bMinimized);
    NotifyFrameChanged();
}
