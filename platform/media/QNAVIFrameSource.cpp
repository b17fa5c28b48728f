#include "platform/media/QNAVIFrameSource.h"

QNAVIFrameSource::QNAVIFrameSource(const QNAVIFrameSource& other)
    : m_currentFrame(other.m_currentFrame.load()),
      m_endReached(other.m_endReached.load()),
      m_abort(other.m_abort.load()),
      m_readFailed(other.m_readFailed.load()) {}

QNAVIFrameSource& QNAVIFrameSource::operator=(const QNAVIFrameSource& other) {
    m_currentFrame.store(other.m_currentFrame.load());
    m_endReached.store(other.m_endReached.load());
    m_abort.store(other.m_abort.load());
    m_readFailed.store(other.m_readFailed.load());
    return *this;
}
