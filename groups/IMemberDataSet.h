#pragma once

// IMemberDataSet: a sensor-data recording as a play group holds it. The sensor-data layer sits
// above the groups and provides the implementation through CMeasurementFormDoc's data-set
// factory.

#include <QString>

class IMemberDataSet {
public:
    virtual ~IMemberDataSet() = default;

    // Program-wide id of the data set; members and their playbacks are named by it.
    virtual int GetDataId() const = 0;
    // Reads the recording ("au2" as text, any other extension as the binary format): TRUE
    // when it could be read. A set that could not be read stays empty and usable.
    virtual int Open(const QString& path) = 0;
};
