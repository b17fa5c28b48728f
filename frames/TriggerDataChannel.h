#pragma once

// CTriggerDataChannel: the data channel of an extended processed frame source. It feeds each
// value to the video-trigger record it owns and keeps three channels: the upper limit, the
// value and the lower limit (all three the value while the baseline is being learnt).

#include "frames/DataChannel.h"

#include <memory>

class CVideoTriggerSettings;

class CTriggerDataChannel : public CDataChannel {
public:
    explicit CTriggerDataChannel(IDerivedSourceOwner* owner);
    ~CTriggerDataChannel() override;

    // Ids 1, 8, 11 (the trigger record) and 6 (the record's message poster).
    HRESULT QueryInterfaceById(int id, void** out) override;
    // Also starts the trigger's learning again.
    HRESULT ClearHistory() override;
    HRESULT AddValue(double value) override;

protected:
    int ChannelCount() const override { return 3; }

private:
    std::unique_ptr<CVideoTriggerSettings> m_trigger;
};
