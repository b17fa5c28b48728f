#include "sensordata/DataQNSensorFrame.h"

IMPLEMENT_DYNCREATE(CDataQNSensorFrame, CMDIChildWnd)
