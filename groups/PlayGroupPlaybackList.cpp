#include "groups/PlayGroupPlaybackList.h"

#include "groups/IPlayGroupMembers.h"

#include <algorithm>

int CPlayGroupPlaybackList::GetCount() {
    return std::max(m_members->GetMemberCount(), 0);
}

CPlaybackView* CPlayGroupPlaybackList::GetView(int index) {
    return m_members->GetMemberPlayback(index);
}

void CPlayGroupPlaybackList::AddSource(int kind) {
    m_members->AddMember(kind);
}
