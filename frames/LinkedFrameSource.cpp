#include "frames/LinkedFrameSource.h"

CLinkedFrameSource::CLinkedFrameSource(const CFrameSourcePtr& inner) : m_inner(inner) {
    if (m_inner.IsEmpty())
        return;
    int width = 0;
    int height = 0;
    m_inner->GetImageSize(&width, &height);
    OpenLinked(*m_inner, width, height);
    m_listening = m_inner->Advise(static_cast<IIdUnknown*>(this), &m_cookie) == S_OK;
}

CLinkedFrameSource::~CLinkedFrameSource() {
    // The inner source may outlive this one (other windows hold it): it must not call a
    // listener that is gone.
    if (m_listening)
        m_inner->Unadvise(m_cookie);
}

HRESULT CLinkedFrameSource::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdFrameChangeListener) {
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CLinkedFrameSource::OnFrameChanged(int frame, int flag) {
    MoveToFrame(frame, 1, flag);
    return S_OK;
}

int CLinkedFrameSource::GetFrameCount() const {
    return m_inner.IsEmpty() ? -1 : m_inner->GetFrameCount();
}

int CLinkedFrameSource::GetFirstFrameNumber() const {
    return m_inner.IsEmpty() ? -1 : m_inner->GetFirstFrameNumber();
}

int CLinkedFrameSource::ReadFrame(int n) {
    if (m_inner.IsEmpty() || !m_inner->GetFrame(n, &m_image, 0))
        return 0;
    return ProcessFrame(n, &m_image) ? 1 : 0;
}

int CLinkedFrameSource::CopyFrameImage(int, CFrameImage* image) {
    if (!image)
        return 0;
    return image->CopyFrom(m_image);
}

bool CLinkedFrameSource::ProcessFrame(int, CFrameImage*) {
    return true;
}
