// The files of a recording's tracking: the input is loaded as a calibration file, as the
// tracking data of a feature set and as the tracking overlay's line lists, and what was loaded is
// drawn over a frame with every display switch on, as a video window shows it.

#include "fuzz/FuzzSupport.h"
#include "platform/framework/DC.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/CoordAxesOverlay.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/TrackOverlay.h"
#include "tracking/tests/FakeRecording.h"

#include <QImage>

namespace {

constexpr int kSize = 64;
constexpr int kFrames = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInit();
    const QString path = FuzzFile(data, size, QStringLiteral("input.trk"));
    CFakeStreamView view(kSize, kSize, kFrames);
    view.current = kFrames / 2;
    CAnalysisSettings settings;
    settings.LoadFromFile(path);
    CTrackFeatureSet set;
    set.SetFrameSource(&view);
    set.SetFeatureLimits(16, 1);
    set.SetFeatureCountForRecording(1);
    set.Load(path, true);
    CTrackOverlay overlay;
    overlay.Load(path);
    overlay.SetFeatureSet(&set);
    overlay.SetDisplayHost(&view);
    overlay.SetCalibration(&settings);
    overlay.SetShowCurrentMarkers(1);
    overlay.SetShowWholeTrail(1);
    overlay.SetShowRegions(1);
    overlay.SetShowSearchWindows(1);
    overlay.SetShowLegend(1);
    CCoordAxesOverlay axes;
    axes.SetCalibration(&settings);
    axes.SetSizeSource(&view);
    axes.SetDisplayHost(&view);
    axes.SetVisible(1);
    QImage image(kSize, kSize, QImage::Format_RGB32);
    CDC dc(&image);
    overlay.Draw(&dc, CRect(0, 0, kSize, kSize));
    axes.Draw(&dc, CRect(0, 0, kSize, kSize));
    return 0;
}
