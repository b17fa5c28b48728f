#pragma once

// CLinkedFrameSource: a frame source that reads its frames through another one (the inner
// source) and follows it: it listens to the inner source's frame changes, reads the same frame
// itself and tells its own listeners. Derived sources measure or cut out each frame on the way.
// It holds the inner source for as long as it lives.

#include "frames/FrameSourcePtr.h"
#include "frames/IFrameChangeListener.h"
#include "frames/IdObjectBase.h"

class CLinkedFrameSource : public CFrameSource, public CIdObjectBase, public IFrameChangeListener {
public:
    // inner: may be empty or closed; this source is open as far as inner is.
    explicit CLinkedFrameSource(const CFrameSourcePtr& inner);
    ~CLinkedFrameSource() override;

    // Ids 1 and 2.
    HRESULT QueryInterfaceById(int id, void** out) override;
    // The inner source moved to frame: this one reads it too and tells its listeners.
    HRESULT OnFrameChanged(int frame, int flag) override;

    int GetFrameCount() const override;
    int GetFirstFrameNumber() const override;
    int ReadFrame(int n) override;
    int CopyFrameImage(int n, CFrameImage* image) override;
    IIdUnknown* GetIdInterface() override { return static_cast<IIdUnknown*>(this); }

    const CFrameSourcePtr& GetInner() const { return m_inner; }

protected:
    // Turns inner's frame n, read into frame, into this source's frame n: false when it
    // cannot. The frame passes unchanged here.
    virtual bool ProcessFrame(int n, CFrameImage* frame);

private:
    CFrameSourcePtr m_inner;
    int m_cookie = 0;
    bool m_listening = false;
    CFrameImage m_image;
};
