#pragma once

// The question every document save asks before it writes a file the user named: whether that
// file may be written at all (it is not held open as a recording here). The program installs
// the answer from the layer that knows the held files; with none installed every file passes.
// User-interface thread only.

#include <QString>

#include <functional>

// True when destination may be written; otherwise it has told the user why and returns false.
using WriteDestinationCheck = std::function<bool(const QString& destination)>;

// Installs the check (an empty function removes it).
void SetWriteDestinationCheck(WriteDestinationCheck check);
// Asks the installed check; true without one.
bool AskWriteDestination(const QString& destination);
