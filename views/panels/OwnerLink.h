#pragma once

// COwnerLink: the link of a control-panel page to the play group whose playbacks it shows. The
// page does not own the group; the group's frame sets the owner after making the page and the
// page rebuilds its tree from the owner's list when that list changes.

#include "platform/wintypes/WinError.h"

class IPlaybackSourceList;
class IPlaybackSourceOwner;

class COwnerLink {
public:
    COwnerLink() = default;
    virtual ~COwnerLink() = default;
    COwnerLink(const COwnerLink&) = delete;
    COwnerLink& operator=(const COwnerLink&) = delete;

    // Rebuilds the page's tree from the owner's list. E_FAIL when a rebuild is already
    // running or the list gave no view; 0 otherwise.
    virtual HRESULT RebuildTree() = 0;

    // The owner may be null (no list).
    void SetOwnerLink(IPlaybackSourceOwner* owner) { m_owner = owner; }
    IPlaybackSourceOwner* GetOwnerLink() const { return m_owner; }
    // The owner's playback list, or null without an owner.
    IPlaybackSourceList* AskOwner() const;

private:
    IPlaybackSourceOwner* m_owner = nullptr;
};
