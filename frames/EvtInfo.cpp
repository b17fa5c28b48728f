#include "frames/EvtInfo.h"

#include "platform/framework/Archive.h"

IMPLEMENT_SERIAL(CEvtInfo, CObject, 1)

void CEvtInfo::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_rate << m_exposureNs << m_firstFrame;
    else
        ar >> m_rate >> m_exposureNs >> m_firstFrame;
}
