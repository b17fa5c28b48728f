#pragma once

// CPlayGroupPlaybackList: a play group's members as the control-panel pages list them, with
// the change flag the pages poll; the group's view sets it when a member comes or goes.

#include "views/panels/IPlaybackSourceList.h"

class IPlayGroupMembers;

class CPlayGroupPlaybackList : public IPlaybackSourceList {
public:
    // members: not owned, outlives the list.
    explicit CPlayGroupPlaybackList(IPlayGroupMembers* members) : m_members(members) {}

    int GetCount() override;
    CPlaybackView* GetView(int index) override;
    void AddSource(int kind) override;
    void SetChanged(int flag) override { m_changed = flag; }
    int IsChanged() override { return m_changed; }

private:
    IPlayGroupMembers* m_members;
    int m_changed = 0;
};
