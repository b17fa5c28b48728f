#pragma once

// The fonts every test runs with: DejaVu Sans from the font package the setup installs
// (fonts-dejavu-core), as the application font and in place of the families the program asks
// for by name, so that text metrics are the same on every machine that has the package.

// Loads the font files and installs the font; false when the package's files are missing.
bool UseHarnessFont();
