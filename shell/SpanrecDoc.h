#pragma once

// CSpanrecDoc: the program's first document kind ("DT:Orig"). Elsewhere it is a compound
// document that embeds and serves objects of other programs; this platform has no object
// container or server, so it is an empty document whose view shows its placeholder text.

#include "platform/framework/Document.h"

class CSpanrecDoc : public CDocument {
    DECLARE_DYNCREATE(CSpanrecDoc)
};
