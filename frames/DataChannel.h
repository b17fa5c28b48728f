#pragma once

// CDataChannel: the data channel (id 8) of a processed frame source: the history of the value
// measured per frame, one channel of a sensor data set, and the H marker that the view shows
// while the source measures. The frame source that makes it owns it; the view adapter that had
// the source made is its owner for requests (not owned).

#include "frames/IDataChannel.h"
#include "frames/IDerivedSourceOwner.h"
#include "frames/IOverlayDraw.h"
#include "frames/IdObjectBase.h"

class CDataChannel : public CIdObjectBase,
                     public IDataChannel,
                     public IOverlayDraw,
                     public IDerivedSourceLink {
public:
    // owner: not owned, null for none.
    explicit CDataChannel(IDerivedSourceOwner* owner);
    ~CDataChannel() override;
    CDataChannel(const CDataChannel&) = delete;
    CDataChannel& operator=(const CDataChannel&) = delete;

    HRESULT QueryInterfaceById(int id, void** out) override;

    HRESULT GetSource(CFrameSourcePtr* out) override;
    HRESULT GetData(CSensorDataRef* out) override;
    HRESULT SetHistoryLength(int scans) override;
    HRESULT ClearHistory() override;
    HRESULT AddValue(double value) override;
    HRESULT Open(const QString& title) override;

    // The H marker in the lower left of area; E_FAIL for a null device context.
    HRESULT Draw(CDC* dc, const CRect& area) override;

    void SetSource(const CFrameSourcePtr& source) override { m_source = source; }
    void SetOwner(IDerivedSourceOwner* owner) override { m_owner = owner; }

protected:
    // Values stored per scan: 1 here.
    virtual int ChannelCount() const { return 1; }
    void InitHistory(int scans);
    CSensorDataRef m_data;

private:
    IDerivedSourceOwner* m_owner;
    CFrameSourcePtr m_source;
};
