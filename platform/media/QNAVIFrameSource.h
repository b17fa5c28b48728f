#pragma once

// QNAVIFrameSource: what the save graph pulls its frames from. The graph's streaming thread
// calls GetFrame while the user-interface thread reads the current index and may raise the
// abort flag, so the index and the flags are atomic.

#include "platform/wintypes/WinTypes.h"

#include <atomic>

class QNAVIFrameSource {
public:
    QNAVIFrameSource() = default;
    QNAVIFrameSource(const QNAVIFrameSource& other);
    QNAVIFrameSource& operator=(const QNAVIFrameSource& other);
    virtual ~QNAVIFrameSource() = default;

    // Places the next frame into buffer, all size bytes of it (row padding too, as the buffer
    // may be fresh memory): 0, or non-zero when there is none (end of
    // the range, abort or a read error). position is the graph's sample number, -1 for a fresh
    // buffer.
    virtual int GetFrame(int position, BYTE* buffer, int size) = 0;

    int CurrentFrame() const { return m_currentFrame.load(); }
    bool EndReached() const { return m_endReached.load(); }
    bool Aborted() const { return m_abort.load(); }
    void Abort() { m_abort.store(true); }
    // Set by a provider whose frame could not be read: the graph then keeps nothing of the
    // file, which would otherwise end short without a sign of it.
    bool ReadFailed() const { return m_readFailed.load(); }

protected:
    std::atomic<int> m_currentFrame{0};
    std::atomic<bool> m_endReached{false};
    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_readFailed{false};
};
