#pragma once

// CLutHolderWnd: a plain window kept beside the look-up-table editor control by the
// colour-adjustment dialogs; it carries one value of its own and handles no message.

#include "platform/framework/Wnd.h"

#include <cstdint>

class CLutHolderWnd : public CWnd {
public:
    int32_t m_value = 0;
};
