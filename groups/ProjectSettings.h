#pragma once

// The flag settings that project windows read once from the main window's settings store.

#include <QString>

// Whether the setting is on; off when the store does not answer it.
bool ProjectFlagSetting(const QString& key);
