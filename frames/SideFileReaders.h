#pragma once

// Readers of the side files that other programs leave beside a recording. Each fills what it
// finds into the record and never fails the opening of the recording itself.

#include <QString>

class CCfgFileInfo;

// The acquisition settings file ("_config.xsv", an INI file, section "Acquisition"): 1 when it
// opens and none of "Rate", "ExposureNs" and "StartIdx" is present with an empty value. A
// missing key counts as "1"; values read before an empty one stay in the record.
int ReadAcquisitionIniFile(const QString& path, CCfgFileInfo* record);

// The event file (".evt", a CEvtInfo archive): 1 when it gave a rate.
int ReadEventFile(const QString& path, CCfgFileInfo* record);

// The camera header (".cih", lines "Key : value"): 1 when it gave a rate. Unless quiet, a file
// that does not open or holds nothing usable is reported in a message box.
int ReadCameraHeaderFile(const QString& path, CCfgFileInfo* record, bool quiet);
