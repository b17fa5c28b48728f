#pragma once

// The settings that project and play-group windows read from the main window's settings store.

#include <QString>

// The setting as an integer; fallback when the store does not answer it.
int GroupIntegerSetting(const QString& key, int fallback);
// Whether the setting is on; off when the store does not answer it.
bool GroupFlagSetting(const QString& key);
// The setting as text at index of a listed setting; empty when the store does not answer it.
QString GroupTextSetting(const QString& key, int index);
