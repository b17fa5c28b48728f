#pragma once

// CVidDoc: the document of a video window. It holds nothing: the recording belongs to the
// frame source that the play group hands to the window's view.

#include "platform/framework/Document.h"

class CVidDoc : public CDocument {
    DECLARE_DYNCREATE(CVidDoc)
};
