#include "views/panels/OwnerLink.h"

#include "views/panels/IPlaybackSourceList.h"

IPlaybackSourceList* COwnerLink::AskOwner() const {
    return m_owner ? m_owner->GetPlaybackSourceList() : nullptr;
}
