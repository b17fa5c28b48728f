#pragma once

// CChangedFrameAdapter: the part that every playback view's listener adapter shares. The
// adapter is a frame-change listener (id 2) and owns a notifier (id 4) whose queries it answers
// itself, so that a play group can link views by connecting their notifiers and a change that
// reaches a notifier arrives at the adapter.

#include "frames/IFrameChangeListener.h"
#include "frames/IdObjectBase.h"
#include "frames/Notifier.h"
#include "platform/wintypes/WinTypes.h"

#include <memory>

// Posted to a data-file playback view when its frame changed; it reads its position again.
inline constexpr UINT kMsgDataFrameChanged = 1591;
// The data type of a video in forwarded changes.
inline constexpr int kFrameDataTypeVideo = 3;

class CChangedFrameAdapter : public CIdObjectBase, public IFrameChangeListener {
public:
    ~CChangedFrameAdapter() override;
    CChangedFrameAdapter(const CChangedFrameAdapter&) = delete;
    CChangedFrameAdapter& operator=(const CChangedFrameAdapter&) = delete;

    HRESULT QueryInterfaceById(int id, void** out) override;
    INotifier* GetNotifier() const { return m_notifier.get(); }

protected:
    CChangedFrameAdapter();
    // Ids a derived adapter answers beyond 1, 2 and 4: true with *out set.
    virtual bool AnswerOwnId(int id, void** out);
    // A new notifier whose queries this adapter answers.
    std::unique_ptr<CNotifier> MakeNotifier();

private:
    std::unique_ptr<CNotifier> m_notifier;
};
