#include "devices/CamFrm.h"

IMPLEMENT_DYNCREATE(CCamFrm, CMDIChildWnd)
