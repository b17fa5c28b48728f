#pragma once

// CDataQNSensorFrameVCF: the hosted frame of a live sensor window. A project that activates one
// shows its record side.

#include "sensordata/DataFrameVCF.h"

class CDataQNSensorFrameVCF : public CDataFrameVCF {
    DECLARE_DYNCREATE(CDataQNSensorFrameVCF)
};
