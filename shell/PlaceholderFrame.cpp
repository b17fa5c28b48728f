#include "shell/PlaceholderFrame.h"

IMPLEMENT_DYNCREATE(CPlaceholderFrame, CMDIChildWnd)
