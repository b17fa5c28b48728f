#include "frames/FramesPrompt.h"

#include <QtGlobal>

// Until the framework's prompter is linked in, the text goes to the log only.
void ShowFramesMessage(const QString& text, MessageIcon icon, const QString& caption) {
    qWarning("%s: %s (%s)",
             icon == MessageIcon::Stop          ? "stop"
             : icon == MessageIcon::Exclamation ? "exclamation"
                                                : "message",
             qUtf8Printable(text), qUtf8Printable(caption));
}
