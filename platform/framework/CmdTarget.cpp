#include "platform/framework/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const MessageMapEntry kNoEntries[] = {{0, 0, 0, 0, nullptr}};

}  // namespace

const CMessageMap* CCmdTarget::GetThisMessageMap() {
    static const CMessageMap map = {nullptr, kNoEntries};
    return &map;
}

const CMessageMap* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    for (const CMessageMap* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const MessageMapEntry* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != WM_COMMAND || e->nCode != nCode || nID < e->nID || nID > e->nLastID)
                continue;
            if (pHandlerInfo) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = e;
                return TRUE;
            }
            MessageMapCall call;
            call.message = WM_COMMAND;
            call.nID = nID;
            call.nCode = nCode;
            call.pExtra = pExtra;
            e->pfn(this, call);
            return TRUE;
        }
    }
    return FALSE;
}

const MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message) const {
    for (const CMessageMap* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const MessageMapEntry* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage == message && message != WM_COMMAND)
                return e;
        }
    }
    return nullptr;
}
