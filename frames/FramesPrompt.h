#pragma once

// The one door through which this layer shows message boxes, so every text and caption of
// the frame sources passes one place on its way to the framework's prompter.

#include <QString>

enum class MessageIcon { None, Stop, Exclamation };

// Shows an OK message box; an empty caption means the program's name.
void ShowFramesMessage(const QString& text, MessageIcon icon, const QString& caption = {});
