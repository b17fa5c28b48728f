#pragma once

// The workbook of a sensor-data set: per sheet its name, properties, the scale factor, offset,
// label and units of every channel that is on, and the scans (index, time and the scaled
// samples), at most kScansPerSheet scans a sheet on sheets "Data 1", "Data 2", ...

#include <QString>

class CExcelWorkbook;
class CVidraData;

inline constexpr int kScansPerSheet = 65000;

// Fills book (which should be new); unitsFlag 0 heads the channel columns "(Volts)", any other
// value "(units)". False when a sheet could not be written.
bool BuildSensorDataWorkbook(CExcelWorkbook& book, const CVidraData& data, const QString& name,
                             int unitsFlag);

// Builds the workbook, tells the user when it is split over several sheets, and hands it over
// (saved where the user says, then opened).
void ExportSensorDataToExcel(const CVidraData& data, const QString& name, int unitsFlag);
