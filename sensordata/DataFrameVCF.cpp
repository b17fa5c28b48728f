#include "sensordata/DataFrameVCF.h"

IMPLEMENT_DYNCREATE(CDataFrameVCF, CViewChildedFrameM)
