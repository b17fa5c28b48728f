#pragma once

// Copying a display parameter set to and from a parameter object of the look-up-table editor
// ("Levora.QnCBasicLutParams"), value by value through its dispatch methods.

#include "frames/lutparams/LutParamSet.h"
#include "platform/com/IDispatch.h"

// E_FAIL for a null object; a failed call gives its HRESULT (values read so far are kept).
HRESULT CopyLutParamsToDispatch(const CLutParamSet& set, IDispatch* object);
HRESULT CopyLutParamsFromDispatch(IDispatch* object, CLutParamSet* set);
