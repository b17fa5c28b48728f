#pragma once

// What every fuzz target shares: a Qt application on the offscreen platform, a prompter that
// answers as the default button would without showing anything, and a scratch folder in which
// the input becomes the file the reader opens.

#include <QString>

#include <cstddef>
#include <cstdint>

// Sets up the application and the prompter once per process.
void FuzzInit();
// Writes the input to name inside the process's scratch folder, replacing what was there, and
// returns its path.
QString FuzzFile(const uint8_t* data, size_t size, const QString& name);
