#include "frames/MovieAdapter.h"

#include "frames/FrameImage.h"

CMovieAdapter::CMovieAdapter() : CMovieAdapter(CFrameSourcePtr(), nullptr, false, false) {}

CMovieAdapter::CMovieAdapter(const CFrameSourcePtr& source, IMovieView* view, bool syncWithSource,
                             bool useViewLut)
    : m_source(source.Get() ? source : CFrameSourcePtr(new CFrameSource)),
      m_view(view),
      m_syncWithSource(syncWithSource),
      m_useViewLut(useViewLut) {}

HRESULT CMovieAdapter::SetTag(int tag) {
    m_tag = tag;
    return S_OK;
}

HRESULT CMovieAdapter::GetTag(int* tag) {
    if (!tag)
        return E_POINTER;
    *tag = m_tag;
    return S_OK;
}

HRESULT CMovieAdapter::GetFrameRate(double* rate) {
    if (!rate)
        return E_POINTER;
    *rate = m_source->GetRecordedRate();
    return S_OK;
}

HRESULT CMovieAdapter::GetImageSize(int* width, int* height) {
    if (!width || !height)
        return E_POINTER;
    m_source->GetImageSize(width, height);
    return S_OK;
}

HRESULT CMovieAdapter::GetSourceValue(int* value) {
    if (!value)
        return E_POINTER;
    *value = m_source->GetBitCount();
    return S_OK;
}

HRESULT CMovieAdapter::GetFrameCount(int* count) {
    if (!count)
        return E_POINTER;
    *count = m_source->GetFrameCount();
    return S_OK;
}

HRESULT CMovieAdapter::GetCurrentFrame(int* frame) {
    if (!frame)
        return E_POINTER;
    *frame = SyncedView() ? m_view->MovieGetCurrentFrame() : m_currentFrame;
    return S_OK;
}

HRESULT CMovieAdapter::SetCurrentFrame(int frame) {
    m_currentFrame = frame;
    if (SyncedView()) {
        if (m_moveViewItself)
            m_view->MovieSetFrame(frame);
        else
            m_view->MovieSetCurrentFrame(frame, 0);
    }
    return S_OK;
}

HRESULT CMovieAdapter::SetFrame(int frame) {
    m_currentFrame = frame;
    if (m_syncWithSource)
        m_source->MoveToFrame(frame, 0, 0);
    return S_OK;
}

HRESULT CMovieAdapter::GetFirstFrameNumber(int* first) {
    if (!first)
        return E_POINTER;
    *first = m_source->GetFirstFrameNumber();
    return S_OK;
}

HRESULT CMovieAdapter::GetViewFrameRange(int* first, int* last) {
    if (!first || !last)
        return E_POINTER;
    if (!SyncedView())
        return E_FAIL;
    if (!m_view->MovieGetInPoint(first))
        *first = 0;
    if (!m_view->MovieGetOutPoint(last))
        *last = -1;
    return S_OK;
}

HRESULT CMovieAdapter::GetLutSets(std::unique_ptr<CLutParamSet>* colour,
                                  std::unique_ptr<CLutParamSet>* bw) {
    if (!colour || !bw)
        return E_POINTER;
    if (m_useViewLut && m_view)
        m_view->MovieGetDisplayLuts(&m_colourSet, &m_bwSet);
    *colour = std::make_unique<CLutParamSet>(m_colourSet);
    *bw = std::make_unique<CLutParamSet>(m_bwSet);
    return S_OK;
}

HRESULT CMovieAdapter::SetLutSets(const CLutParamSet* colour, const CLutParamSet* bw) {
    if (!colour || !bw)
        return E_POINTER;
    m_colourSet = *colour;
    m_bwSet = *bw;
    if (m_useViewLut && m_view)
        m_view->MovieSetDisplayLuts(m_colourSet, m_bwSet);
    return S_OK;
}

HRESULT CMovieAdapter::SetByteFlag(bool flag) {
    m_byteFlag = flag;
    return S_OK;
}

HRESULT CMovieAdapter::GetByteFlag(bool* flag) {
    if (!flag)
        return E_POINTER;
    *flag = m_byteFlag;
    return S_OK;
}

HRESULT CMovieAdapter::ReadFrame(int frame) {
    CFrameImage image;
    m_source->GetFrameDib(frame, &image, m_colourSet, m_bwSet, 0);
    return kReadFrameResult;
}

HRESULT CMovieAdapter::IsLiveSource(bool* live) {
    if (!live)
        return E_POINTER;
    if (!m_view)
        return E_FAIL;
    *live = m_view->MovieGetSourceKind() == 0;
    return S_OK;
}

HRESULT CMovieAdapter::GetFilePath(QString* path) {
    if (!path)
        return E_POINTER;
    if (m_syncWithSource && !m_view)
        return E_FAIL;
    *path = m_source->GetFilePath();
    return S_OK;
}

HRESULT CMovieAdapter::GetStartTimeText(QString* date, QString* time) {
    if (!date || !time)
        return E_POINTER;
    return m_source->GetStartTimeText(date, time) ? S_OK : E_FAIL;
}

HRESULT CMovieAdapter::GetFrameTimeText(int frame, QString* date, QString* time) {
    if (!date || !time)
        return E_POINTER;
    return m_source->GetFrameTimeText(frame, m_source->GetRecordedRate(), date, time) ? S_OK
                                                                                      : E_FAIL;
}

HRESULT CMovieAdapter::GetShutterNs(int* shutterNs) {
    if (shutterNs)
        *shutterNs = 0;
    return E_FAIL;
}

HRESULT CMovieAdapter::GetTriggerTimeCode(QString*, QString*) {
    return E_FAIL;
}

HRESULT CMovieAdapter::GetFrameTimeCode(int, double, QString*, QString*) {
    return E_FAIL;
}
