#pragma once

// CCmdTarget: the base of every object that handles commands through a message map. Routing
// from one target to the next (view, document, template, frames, application) is done by
// overriding OnCmdMsg: an override offers the command to the targets before it, calls the
// base class for its own map, then offers it to the targets after it.

#include "platform/framework/MessageMap.h"
#include "platform/framework/Object.h"

// Filled instead of calling the handler when OnCmdMsg is asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
    const MessageMapEntry* pEntry = nullptr;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;

    // Looks for a handler of the command id with that code in this object's message map
    // and its base classes' maps. With pHandlerInfo the handler is only found, not called.
    // pExtra is the CCmdUI for CN_UPDATE_COMMAND_UI. Returns TRUE when a handler was found.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry for a window message (not a command) in the class chain, or nullptr.
    const MessageMapEntry* FindMessageEntry(UINT message) const;

protected:
    static const CMessageMap* GetThisMessageMap();
    virtual const CMessageMap* GetMessageMap() const;
};
