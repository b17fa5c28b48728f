#pragma once

// CSampleRecording: the small recording shipped beside the program so that it has something to
// show on its first start: an 8-bit RAW file of a bright disc moving over a textured background,
// with its configuration side file.

#include <QString>

class CSampleRecording {
public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 192;
    static constexpr int kFrames = 200;
    static constexpr int kRate = 100;
    static constexpr int kFirstFrame = -20;  // the trigger falls on frame 20
    static constexpr int kDiscRadius = 14;

    // Writes rawPath and the ".cfg" file beside it: true when both were written whole.
    static bool Write(const QString& rawPath);
    // Centre of the disc in frame n.
    static void DiscCentre(int n, double* x, double* y);
    // The grey level of pixel (x, y) of frame n (n = -1: the background without the disc).
    static int Level(int n, int x, int y);
};
