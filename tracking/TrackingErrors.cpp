#include "tracking/TrackingErrors.h"

#include "platform/framework/IPrompter.h"

#include <opencv2/core.hpp>

#include <atomic>

namespace {

std::atomic<bool> s_stopRequested{false};

int OnImagingError(int status, const char*, const char*, const char*, int, void*) {
    ReportTrackingError(status);
    return 0;
}

}  // namespace

int TrackingMessageBox(const QString& text, const QString& caption, UINT type) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = caption;
    prompt.type = type;
    return AfxPrompter().MessageBox(prompt);
}

void InstallTrackingErrorHook() {
    cv::redirectError(OnImagingError);
}

int ReportTrackingError(int status) {
    const QString text = QString::asprintf(
        "\nTracking error %d has occurred.\nPlease contact technical support."
        "\n\nAttempt to continue?",
        status);
    if (TrackingMessageBox(text, "Error", MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        return 0;
    s_stopRequested = true;
    return 1;
}

bool TakeTrackingStopRequest() {
    return s_stopRequested.exchange(false);
}
