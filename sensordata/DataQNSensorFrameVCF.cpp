#include "sensordata/DataQNSensorFrameVCF.h"

IMPLEMENT_DYNCREATE(CDataQNSensorFrameVCF, CDataFrameVCF)
