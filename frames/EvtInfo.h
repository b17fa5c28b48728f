#pragma once

// CEvtInfo: the event record of a recording's ".evt" side file: rate, exposure and first frame
// number, stored as three 32-bit words through an archive.

#include "platform/framework/Object.h"

class CEvtInfo : public CObject {
    DECLARE_SERIAL(CEvtInfo)

public:
    void Serialize(CArchive& ar) override;

    int m_rate = -1;  // frames per second
    int m_exposureNs = -1;
    int m_firstFrame = 0;
};
