#include "sensordata/DataQNPlayFrame.h"

IMPLEMENT_DYNCREATE(CDataQNPlayFrame, CMDIChildWnd)
