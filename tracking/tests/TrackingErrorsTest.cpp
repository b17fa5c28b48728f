#include "tracking/TrackingErrors.h"

#include "testsupport/IsolatedTest.h"

#include <opencv2/core.hpp>

namespace {

class TrackingErrorsTest : public IsolatedTest {};

const char kQuestion[] =
    "\nTracking error -4 has occurred.\nPlease contact technical support.\n\nAttempt to "
    "continue?";

TEST_F(TrackingErrorsTest, YesGoesOnAndNoEndsTheTrackingRunOnly) {
    TakeTrackingStopRequest();
    Prompter().ExpectMessageBox(kQuestion, IDYES);
    EXPECT_EQ(ReportTrackingError(-4), 0);
    EXPECT_FALSE(TakeTrackingStopRequest());
    EXPECT_EQ(Prompter().Prompts().back().caption, "Error");
    EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_YESNO | MB_ICONEXCLAMATION));

    Prompter().ExpectMessageBox(kQuestion, IDNO);
    EXPECT_EQ(ReportTrackingError(-4), 1);
    EXPECT_TRUE(TakeTrackingStopRequest());
    EXPECT_FALSE(TakeTrackingStopRequest());  // Taken once.
}

TEST_F(TrackingErrorsTest, TheHookAsksAboutImagingErrors) {
    InstallTrackingErrorHook();
    Prompter().ExpectMessageBox(kQuestion, IDYES);
    EXPECT_THROW(cv::error(cv::Error::StsNoMem, "out of memory", "test", __FILE__, __LINE__),
                 cv::Exception);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
    cv::redirectError(nullptr);
}

}  // namespace
