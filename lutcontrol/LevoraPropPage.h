#pragma once

// CLevoraPropPage: the module's property pages. They hold nothing and change nothing; they
// exist so that the controls' pages are registered and can be created.

#include "platform/com/ComObject.h"
#include "platform/com/IUnknown.h"

class CLevoraPropPage : public CComObject<IUnknown> {};

HRESULT CreateLevoraPropPage(REFIID iid, void** object);
