#pragma once

// CPropsDialogHandler: the properties handler that runs one properties dialog class modally
// for the object and applies it on OK.

#include "views/DrawPropertiesHandler.h"

template <class Dialog>
class CPropsDialogHandler : public CDrawPropertiesHandler {
public:
    void ShowProperties(CDrawObject* object) override {
        Dialog dialog;
        dialog.DoModalForObject(object, nullptr);
    }
};
