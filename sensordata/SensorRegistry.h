#pragma once

// The registry values of the sensor windows: under HKEY_LOCAL_MACHINE kSensorBaseKey, one value
// per channel named "Channel %d" counted from 1.

#include "platform/registry/Registry.h"

#include <QString>

#include <functional>

inline const QString kSensorBaseKey = QStringLiteral("Software\\Tolvar\\Vidra");

// "Channel %d" of a channel counted from 0.
QString ChannelValueName(int channel);

// atof in the C locale, as the stored numbers and the number fields are read: text that is no
// number reads as 0.
double AtofC(const QString& text);

// Runs body on the HKEY_LOCAL_MACHINE key at path, made when create is set and it is missing;
// false when the key cannot be opened or body fails.
bool WithMachineKey(const QString& path, bool create, const std::function<bool(HKEY)>& body);
