#pragma once

// IPlayBar: the play-bar panel as the play control drives it: the frame slider with its play
// position and in and out markers, the frame and time readout, the achieved rate, the mode check
// boxes, the skip spin, the rate slider and the jump field. The panel reports the user's slider
// moves to the play control window with the messages below (wParam the kind, lParam the value).

#include "platform/wintypes/WinTypes.h"

// Sent while the user drags a slider pointer, and when the user releases it.
inline constexpr UINT kPlayBarTracking = 1224;
inline constexpr UINT kPlayBarReleased = 1225;
// Sent when the user asks the slider to forget its in and out markers (wParam, lParam 0).
inline constexpr UINT kPlayBarResetLimits = 1226;

// Slider pointers named by the wParam of kPlayBarTracking and kPlayBarReleased.
inline constexpr int kPlayBarPosition = 1;
inline constexpr int kPlayBarInMarker = 2;
inline constexpr int kPlayBarOutMarker = 3;

class IPlayBar {
public:
    virtual ~IPlayBar() = default;

    // Slider. A getter leaves its out-values untouched while the slider has no window, and a
    // setter then does nothing.
    virtual void GetPosition(int* position) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void GetRange(int* minimum, int* maximum) = 0;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void GetInOutPoints(int* in, int* out) = 0;
    virtual void SetInPoint(int in) = 0;
    virtual void SetOutPoint(int out) = 0;
    // Both markers at once, written only when either differs.
    virtual void SetInOutPoints(int in, int out) = 0;

    // The scale under the slider: frame numbers and times at its ends and thirds, for the
    // recorded rate (frames per second, 0 when unknown) and the offset of the slider's first
    // frame from the frame numbered 0.
    virtual void UpdateScaleLabels(int rate, int offset) = 0;

    // Readout: the frame number as the user counts it, its time in seconds and the achieved
    // rate in frames per second.
    virtual void SetFrameField(int frameNumber) = 0;
    virtual void SetTimeField(double seconds) = 0;
    virtual void SetSpeedText(double framesPerSecond) = 0;

    // Check boxes: Synchronize, Base Sync and Continuous.
    virtual void SetCheck2007(int checked) = 0;
    virtual void SetCheck2011(int checked) = 0;
    virtual void SetCheck2006(int checked) = 0;

    // The skip spin shows one more than the frames skipped per step (1 plays every frame).
    virtual int GetSpeedField() = 0;
    virtual void SetSpeedField(int value) = 0;
    // The rate the user chose on the rate slider, frames per second.
    virtual double GetSpeed() = 0;
    // The frame number typed into the jump field.
    virtual int GetJumpFrame() = 0;
};
