#pragma once

// The ".au2" text form of the sensor data: a header of eleven lines, then one tab-separated row
// per scan with the index and time from the zero point and every on channel's sample, scaled by
// its factor and offset unless the data is scaled already.

class CFile;
class CVidraData;

// Writes data to an open file, numbers in the C locale; a failed write throws the CFile's
// CFileException.
void WriteSensorDataText(CFile& file, const CVidraData& data);
