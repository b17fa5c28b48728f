#pragma once

// CTstDocument: an empty document class registered beside the video window's document.

#include "platform/framework/Document.h"

class CTstDocument : public CDocument {
    DECLARE_DYNCREATE(CTstDocument)
};
