#pragma once

// The simulated camera: 8-bit mono (or 24-bit colour) frames at the set rate by the host clock,
// each a pure function of its frame number: a gradient, a bright square on a known path and
// the frame number (32 bits, low byte first) at the start of the first row.
//
// A recording holds as many frames as fit the memory, or the frame limit when that is lower; the
// video trigger is the camera's own watch.
//
// The video trigger watches its region once one is set (until it is cleared): the first frame
// whose region mean reaches the rising level, or falls to the falling level, is the trigger
// frame (a level of 0 is off). A training sets both levels 16 either side of the region's mean
// over the training frames; with train-on-record set, arming trains first. The memory keeps frame
// numbers only and renders frames when they are read, as fast as a copy.
//
// The frames are timed by a record clock of 1 or 2 MHz (the internal or the external source): one
// frame period is the sum of the two record counters in clock ticks, and the exposure a number
// of ticks. The rate list's rates, or any rate in its range, set the counters; counters set by
// hand give the rate they make. Only the advanced record mode (1, the mode it starts in) takes
// another clock source or counters set by hand.
//
// The frame is the active area of a 1280 x 1024 sensor: moving the area shifts the gradient by
// the origin. A colour camera's sensor answers red, green and blue unequally; its colour
// processor's coefficients turn that response into the channels of the frame.

#include "devices/sim/SimRecorder.h"

#include <array>
#include <cstdint>
#include <mutex>

class CSimCamera : public CSimRecorder, public IDriverColourProcessor {
public:
    static constexpr int kSquareSize = 32;
    static constexpr int kSensorWidth = 1280;
    static constexpr int kSensorHeight = 1024;
    // The sensor's red, green and blue response to the grey scene.
    static constexpr float kResponse[3] = {0.70f, 1.00f, 0.55f};
    // Per channel of a 24-bit frame, in its byte order (blue, green, red): output of each level.
    using ColourTables = std::array<std::array<unsigned char, 256>, 3>;

    struct Look {
        int gradientShift = 0;                 // the active area's origin, x + y
        const ColourTables* colour = nullptr;  // null: every channel shows the scene's grey
    };

    CSimCamera(const DriverHostServices* host, int subtype, int index, bool colour,
               int64_t memoryBytes);

    // Renders frame into buffer (rowBytes per row, height rows).
    static void RenderFrame(int64_t frame, int width, int height, int rowBytes, bool colour,
                            unsigned char* buffer, const Look& look);
    static void RenderFrame(int64_t frame, int width, int height, int rowBytes, bool colour,
                            unsigned char* buffer) {
        RenderFrame(frame, width, height, rowBytes, colour, buffer, Look());
    }
    // The pixels of the same frame alone, row y at first + y * step.
    static void RenderRows(int64_t frame, int width, int height, ptrdiff_t step, bool colour,
                           unsigned char* first, const Look& look);
    // The tables that coefficients make of the sensor's response.
    static ColourTables TablesFor(const DriverColourCoefficients& coefficients);
    // Where the bright square's top-left corner is in frame.
    static void SquareAt(int64_t frame, int width, int height, int* x, int* y);
    void SetMemoryBytes(int64_t bytes) { m_memoryBytes = bytes; }

    std::string GetInfoText() override;
    std::string GetModel() override;
    int SetRecordRate(double rate) override;
    int GetRateList(std::vector<double>* rates) override;
    int GetRateRange(double* minimum, double* maximum) override;
    int GetExposure(double* seconds) override;
    int SetExposure(double seconds) override;
    int GetExposureRange(double* minimumSeconds, double* maximumSeconds) override;
    int GetExposureTicks(int64_t* ticks) override;
    int SetExposureTicks(int64_t ticks) override;
    int GetExposureTickRange(int64_t* minimum, int64_t* maximum) override;
    int GetRecordParams(DriverRecordParams* params) override;
    int SetRecordParams(const DriverRecordParams& params, int fromClock, int recordMode) override;
    int GetClockFrequencies(std::vector<double>* frequencies) override;
    int GetRecordModes(std::vector<std::string>* modes) override;
    int GetCounterRange(int counter, int* minimum, int* maximum) override;
    int GetResolution(int* width, int* height) override;
    int SetResolution(int width, int height) override;
    int GetResolutionList(std::vector<std::pair<int, int>>* sizes) override;
    int GetImageFormat(DriverImageFormat* format) override;
    int GetMaxFrames(int* count) override;
    int SetMaxFrames(int count) override;
    int GetTotalFrames(int* count) override;
    int GetMemoryBytes(int64_t* total, int64_t* used) override;
    int GetTriggerTypes(int* mask) override;
    int SetVideoTriggerRegion(const DriverRect& region) override;
    int SetVideoTriggerLevels(int low, int high) override;
    int TrainVideoTrigger() override;
    int ClearVideoTriggerRegion() override;
    int GetVideoTriggerLevel(double* level) override;
    int GetVideoTriggerItemCount(int* count) override;
    int GetVideoTriggerItem(int item, int* value) override;
    int SetVideoTriggerItem(int item, int value) override;
    int GetActiveAreaLimits(DriverActiveAreaLimits* limits) override;
    int GetMaxActiveArea(double rate, int bitsPerPixel, int* width, int* height) override;
    int GetActiveArea(DriverRect* area) override;
    int SetActiveArea(const DriverRect& area) override;
    IDriverColourProcessor* GetColourProcessor() override { return m_colour ? this : nullptr; }
    int ReadLiveFrame(void* buffer, int64_t size, int64_t* frameNumber) override;
    int ReadLiveRows(const DriverImageFormat& format, void* first, ptrdiff_t step,
                     int64_t* frameNumber) override;
    int ReadMemoryFrame(int index, void* buffer, int64_t size) override;

    std::vector<std::string> GetPresetNames() override;
    int GetPresetCoefficients(int index, DriverColourCoefficients* coefficients) override;
    int ApplyPreset(int index, DriverColourCoefficients* coefficients) override;
    int GetFactoryCoefficients(DriverColourCoefficients* coefficients) override;
    int GetCoefficients(DriverColourCoefficients* coefficients) override;
    int SetCoefficients(const DriverColourCoefficients& coefficients) override;
    int ApplyGains(int red, int green, int blue, DriverColourCoefficients* coefficients) override;
    int BalanceRegion(const DriverRect& region, int* red, int* green, int* blue) override;

private:
    // Renders with the present area and colour tables (the tables copied under their lock: the
    // save thread renders recordings while the user changes the colours).
    void Render(int64_t frame, unsigned char* buffer);
    // The same as rows at step, their padding untouched with rowsOnly.
    void Render(int64_t frame, unsigned char* first, ptrdiff_t step, bool rowsOnly);
    void UseCoefficients(const DriverColourCoefficients& coefficients, bool asBase);
    bool CanChangeArea();
    // Frame numbers go on from the frame due now at the new rate.
    void UseRate(double rate);
    double ClockHz() const;
    // The counters that make the present rate from the clock.
    void CountersFromRate();
    // A recording that was left in memory (live or idle since) goes when the frame size
    // changes: its frames cannot be read at the new size. Called under m_memoryMutex.
    void ForgetRecordingOfOtherSize(int width, int height);
    int64_t FrameBytes() const;
    int RingCapacity() const override;
    int LastTriggerType() const override { return kTriggerEitherEdge; }
    void OnArmed() override;
    void WatchForTrigger(int64_t now) override;
    double RegionMean(int64_t frame) const;
    bool VideoTriggers(int64_t frame) const;

    int m_subtype;
    int m_index;
    bool m_colour;
    int64_t m_memoryBytes;
    int m_frameLimit = 0;  // 0: as many frames as the memory holds
    int m_width = kSensorWidth;
    int m_height = kSensorHeight;
    int m_originX = 0;
    int m_originY = 0;
    double m_exposure = 0.0005;
    int m_clockSource = 0;
    int m_counters[2] = {500, 500};
    int m_recordMode = 1;
    DriverRect m_region{0, 0, 64, 64};
    bool m_watching = false;  // a region is set
    int m_low = 0;
    int m_high = 128;
    int m_trainingFrames = 1;
    int m_trainOnRecord = 0;
    int64_t m_checkedUpTo = 0;  // frames the video trigger has looked at
    std::mutex m_colourMutex;
    DriverColourCoefficients m_coefficients;
    DriverColourCoefficients m_baseCoefficients;  // what the gains scale
    ColourTables m_tables{};
};
