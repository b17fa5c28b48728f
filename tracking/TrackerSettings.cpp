#include "tracking/TrackerSettings.h"

#include "tracking/records/TrackSample.h"

TrackerSettings TrackerSettings::FromSample(const CTrackSample& sample) {
    TrackerSettings s;
    BYTE flag = 0;
    BOOL word = 0;
    LONG count = 0;
    sample.GetEnabled(&flag);
    s.InUse = flag;
    sample.GetValue1(&s.MaxJumpSquared);
    sample.GetValue2(&s.RecentreScale);
    sample.GetValue3(&s.SearchScale);
    sample.GetValue4(&s.ThresholdFraction);
    sample.GetCount(&count);
    s.TemplateMask = count;
    sample.GetFlag1(&flag);
    s.RotationSearch = flag;
    sample.GetValue5(&s.RotationRange);
    sample.GetValue6(&s.RotationStep);
    sample.GetFlag2(&flag);
    s.FilterAngle = flag;
    sample.GetFlag3(&flag);
    s.FilterX = flag;
    sample.GetFlag4(&flag);
    s.FilterY = flag;
    sample.GetValue7(&s.ProcessNoise);
    sample.GetFlag5(&word);
    s.RefinePeak = word != 0;
    sample.GetFlag6(&word);
    s.Reserved = word != 0;
    return s;
}
