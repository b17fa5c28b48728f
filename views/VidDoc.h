#pragma once

// CVidDoc: the document of a video window. It holds nothing: the recording belongs to the
// frame source that the play group hands to the window's view. What the user made on the
// video, its annotations, belongs to the view's picture window; closing asks about it.

#include "platform/framework/Document.h"

class CVidDoc : public CDocument {
    DECLARE_DYNCREATE(CVidDoc)

public:
    // Asks about the modified annotations of each view's video (the question of the annotation
    // document): FALSE, keeping the window, on Cancel or a save that failed.
    BOOL SaveModified() override;
};
