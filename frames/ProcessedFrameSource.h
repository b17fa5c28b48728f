#pragma once

// CProcessedFrameSource: a linked frame source that measures the mean pixel value of every
// frame it reads and adds it to the history of its data channel, which it owns.
// CProcessedFrameSourceEx does the same through a trigger data channel, whose video trigger
// then fires on the measured value.

#include "frames/LinkedFrameSource.h"
#include "platform/wintypes/WinMessages.h"

#include <memory>

class CDataChannel;
class CTriggerDataChannel;
class IDerivedSourceOwner;

class CProcessedFrameSource : public CLinkedFrameSource {
public:
    // owner: the channel's owner (not owned); the channel is reported through *channel.
    CProcessedFrameSource(const CFrameSourcePtr& inner, IDerivedSourceOwner* owner,
                          CDataChannel** channel);
    ~CProcessedFrameSource() override;

    CDataChannel* GetChannel() const { return m_channel.get(); }

    // The mean of every colour sample of frame (grey frames through their palette), 0 for an
    // empty frame.
    static double MeanPixelValue(const CFrameImage& frame);

protected:
    CProcessedFrameSource(const CFrameSourcePtr& inner, std::unique_ptr<CDataChannel> channel);
    bool ProcessFrame(int n, CFrameImage* frame) override;

private:
    std::unique_ptr<CDataChannel> m_channel;
};

class CProcessedFrameSourceEx : public CProcessedFrameSource {
public:
    // triggerWindow: where the trigger's message goes (null: nowhere until it is set through
    // the channel's message poster).
    CProcessedFrameSourceEx(const CFrameSourcePtr& inner, IDerivedSourceOwner* owner,
                            HWND triggerWindow, CTriggerDataChannel** channel);
};
