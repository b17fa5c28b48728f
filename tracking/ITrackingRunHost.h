#pragma once

// ITrackingRunHost: the owner of a tracking run (the feature set), told of every tracked point,
// of every finished frame and of the run's end.

class ITrackingRunHost {
public:
    virtual ~ITrackingRunHost() = default;

    // Tracker index, frame index and the feature's centre in tenths of a pixel, each a whole
    // integer: frames beyond 65535 stay exact.
    virtual void TrackedPoint(int tracker, int frame, int x10, int y10) = 0;
    virtual void FrameDone(int frame, int reserved) = 0;
    // The run ended without being stopped.
    virtual void RunComplete(int reserved1, int reserved2) = 0;
};
