#pragma once

// CDataSetLink: a device's share of a sensor data set (CDevice::LinkDataObject): the data that a
// camera recorded together with its video. A data playback of that set finds its camera by it.

#include "frames/SharedRef.h"
#include "platform/framework/Object.h"
#include "sensordata/model/SensorDataSet.h"

class CDataSetLink : public CObject {
public:
    explicit CDataSetLink(CSharedRef<CSensorDataSet> dataSet) : m_dataSet(std::move(dataSet)) {}

    const CSharedRef<CSensorDataSet>& GetDataSet() const { return m_dataSet; }

private:
    CSharedRef<CSensorDataSet> m_dataSet;
};
