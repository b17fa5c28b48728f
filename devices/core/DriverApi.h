#pragma once

// The interface between the program and a camera or data-card driver. A driver is a shared
// module that exports one C entry, kDriverEntryName, of type DriverEntry; the host calls it
// with its services table and gets the driver's families back. The classes below are the
// whole contract: a module built against another kDriverApiVersion is not loaded.
//
// Every call comes on the user-interface thread, except ReadMemoryFrame, which the save thread
// makes under the recording frame source's lock. Drivers never sleep: they read the host's
// clock and ask for a poll when they have timed work to do.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

inline constexpr int kDriverApiVersion = 5;
inline constexpr const char* kDriverEntryName = "ReelmarkDriverEntry";

// Device types as ids and files number them: 2 data cards, 3 cameras (1 is kept for timing
// units).
inline constexpr int kDeviceTypeDataCard = 2;
inline constexpr int kDeviceTypeCamera = 3;

// Device modes as SetMode takes them.
inline constexpr int kModeLive = 1;
inline constexpr int kModeStopped = 2;  // a recording is held
inline constexpr int kModeArmed = 3;
inline constexpr int kModeIdle = 5;

// What an optional operation answers when the driver does not offer it.
inline constexpr int kDriverUnsupported = -2;

inline constexpr int kRoleMaster = 0;
inline constexpr int kRoleSlave = 1;
inline constexpr int kNoSoftwareStop = 4;

// What the host offers every driver.
struct DriverHostServices {
    int apiVersion = kDriverApiVersion;
    // Monotonic time in nanoseconds.
    int64_t (*now)(void* context) = nullptr;
    // Asks the host to call IDriverDevice::Poll after delayNs.
    void (*requestPoll)(void* context, int64_t delayNs) = nullptr;
    void* context = nullptr;
};

// The live image format: bits per pixel (8 or 24), width, height, row bytes.
struct DriverImageFormat {
    int bitsPerPixel = 8;
    int width = 0;
    int height = 0;
    int rowBytes = 0;
};

// Bytes of one image row: 24-bit rows of (width + 1) x 3 and 8-bit rows of width + 3, each
// rounded down to a multiple of 4.
inline int DriverRowBytes(int width, int bitsPerPixel) {
    const int bytes = bitsPerPixel == 24 ? (width + 1) * 3 : width + 3;
    return bytes / 4 * 4;
}

// Record parameters, compared across devices. The record pages read and write the clock that
// times the frames: words 0 and 1 hold its frequency in hertz (a double, low word first), word 2
// the index of its source, words 3 and 4 the two record counters, whose sum of clock ticks is one
// frame period. The other words are the driver's.
struct DriverRecordParams {
    int32_t words[10] = {};

    double ClockFrequency() const {
        double frequency = 0;
        std::memcpy(&frequency, words, sizeof frequency);
        return frequency;
    }
    void SetClockFrequency(double frequency) { std::memcpy(words, &frequency, sizeof frequency); }
    int ClockSource() const { return words[2]; }
    void SetClockSource(int index) { words[2] = index; }
    // counter 1 or 2.
    int Counter(int counter) const { return words[2 + counter]; }
    void SetCounter(int counter, int value) { words[2 + counter] = value; }
};

// Trigger types of the trigger input, as DriverTriggerSetting::type and the record pages number
// them; 0 is the software trigger alone. A camera's video trigger is a source of its own (see the
// video-trigger operations).
inline constexpr int kTriggerRisingEdge = 1;
inline constexpr int kTriggerFallingEdge = 2;
inline constexpr int kTriggerEitherEdge = 3;
inline constexpr int kTriggerRecordOnHigh = 4;
inline constexpr int kTriggerRecordOnLow = 5;

// The video trigger's settings as numbered items (GetVideoTriggerItem): the level the region's
// mean rises to, the level it falls to, the frames a training averages, and whether the camera
// trains when it is armed.
inline constexpr int kVideoTriggerRising = 0;
inline constexpr int kVideoTriggerFalling = 1;
inline constexpr int kVideoTriggerTraining = 2;
inline constexpr int kVideoTriggerTrainOnRecord = 3;

struct DriverTriggerSetting {
    int type = 0;  // a trigger type above
    int postTriggerFrames = 0;
    int third = 0;
};

struct DriverRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The active area: the part of the sensor a camera reads out. Its size is the resolution; sizes
// go in steps of widthStep x heightStep from minWidth x minHeight, origins in steps of originStep.
struct DriverActiveAreaLimits {
    int sensorWidth = 0;
    int sensorHeight = 0;
    int minWidth = 0;
    int minHeight = 0;
    int widthStep = 1;
    int heightStep = 1;
    int originStep = 1;
    int movable = 0;  // 1 when the area can sit anywhere on the sensor, 0 when it stays centred
};

// Colour coefficients: rows red, green and blue, each the weights of the sensor's red, green and
// blue response in that output channel.
struct DriverColourCoefficients {
    float rows[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

// The colour processor of a colour camera: the coefficients that make its colour image, the
// presets they can be taken from, channel gains and a grey balance on a region of the image.
class IDriverColourProcessor {
public:
    virtual ~IDriverColourProcessor() = default;
    virtual std::vector<std::string> GetPresetNames() = 0;
    // The coefficients of preset index, leaving the present ones in use.
    virtual int GetPresetCoefficients(int index, DriverColourCoefficients* coefficients) = 0;
    // Makes preset index the coefficients and gives them.
    virtual int ApplyPreset(int index, DriverColourCoefficients* coefficients) = 0;
    virtual int GetFactoryCoefficients(DriverColourCoefficients* coefficients) = 0;
    virtual int GetCoefficients(DriverColourCoefficients* coefficients) = 0;
    virtual int SetCoefficients(const DriverColourCoefficients& coefficients) = 0;
    // Scales the rows of the coefficients last set (by preset, by hand or by a balance) by the
    // gains in percent and gives the new rows.
    virtual int ApplyGains(int red, int green, int blue,
                           DriverColourCoefficients* coefficients) = 0;
    // Measures the mean red, green and blue of region in the image due now, then changes the
    // coefficients so that the region comes out grey.
    virtual int BalanceRegion(const DriverRect& region, int* red, int* green, int* blue) = 0;
};

class IDriverDevice {
public:
    virtual ~IDriverDevice() = default;

    virtual std::string GetInfoText() = 0;
    virtual std::string GetModel() = 0;
    // The device's second identifier, which commands name it by after its handle.
    virtual int GetSecondId(int* id) {
        (void)id;
        return kDriverUnsupported;
    }
    // Timed work the device asked for with requestPoll.
    virtual void Poll() = 0;

    virtual int SetMode(int mode) = 0;
    virtual int GetMode() = 0;
    virtual int SetRole(int role) = 0;
    virtual int GetRole() = 0;
    virtual int Trigger() = 0;
    virtual int IsTriggered() = 0;
    virtual int GetStopSupport() = 0;
    virtual int Stop() = 0;
    virtual int Reset() = 0;
    virtual int SelfTest() = 0;

    // Frames (scans for data cards) recorded, kept before the trigger, and the trigger index.
    virtual int GetRecordedFrames(int* count) = 0;
    virtual int GetPreTriggerFrames(int* count) = 0;
    virtual int GetTriggerIndex(int* index) = 0;

    virtual int GetRecordRate(double* rate) = 0;
    virtual int SetRecordRate(double rate) = 0;
    virtual int GetRateList(std::vector<double>* rates) = 0;
    virtual int GetRateRange(double* minimum, double* maximum) = 0;
    virtual int GetRecordParams(DriverRecordParams* params) = 0;
    // With fromClock the counters follow from the clock at the present record rate; without it
    // the counters set the rate. recordMode is the record-mode choice the page shows.
    virtual int SetRecordParams(const DriverRecordParams& params, int fromClock,
                                int recordMode) = 0;
    virtual int GetClockSources(std::vector<std::string>* sources) = 0;
    // The record modes a camera offers; SetRecordParams takes the index of one.
    virtual int GetRecordModes(std::vector<std::string>* modes) {
        (void)modes;
        return kDriverUnsupported;
    }
    // The frequency of each clock source, in the order of GetClockSources.
    virtual int GetClockFrequencies(std::vector<double>* frequencies) {
        (void)frequencies;
        return kDriverUnsupported;
    }
    virtual int SetClockSource(int index) = 0;
    virtual int GetCounterRange(int counter, int* minimum, int* maximum) = 0;
    virtual int GetExposure(double* seconds) = 0;
    virtual int SetExposure(double seconds) = 0;
    // The exposures the camera offers, in nanoseconds (fewer than two: it takes any in range).
    virtual int GetExposureList(std::vector<double>* nanoseconds) {
        (void)nanoseconds;
        return kDriverUnsupported;
    }
    virtual int GetExposureRange(double* minimumSeconds, double* maximumSeconds) {
        (void)minimumSeconds;
        (void)maximumSeconds;
        return kDriverUnsupported;
    }
    // The exposure in ticks of the record clock, and the ticks it may take.
    virtual int GetExposureTicks(int64_t* ticks) {
        (void)ticks;
        return kDriverUnsupported;
    }
    virtual int SetExposureTicks(int64_t ticks) {
        (void)ticks;
        return kDriverUnsupported;
    }
    virtual int GetExposureTickRange(int64_t* minimum, int64_t* maximum) {
        (void)minimum;
        (void)maximum;
        return kDriverUnsupported;
    }

    virtual int GetResolution(int* width, int* height) = 0;
    virtual int SetResolution(int width, int height) = 0;
    virtual int GetResolutionList(std::vector<std::pair<int, int>>* sizes) = 0;
    virtual int GetImageFormat(DriverImageFormat* format) = 0;
    virtual int GetActiveAreaLimits(DriverActiveAreaLimits* limits) = 0;
    // The largest area the camera reads at rate with that depth.
    virtual int GetMaxActiveArea(double rate, int bitsPerPixel, int* width, int* height) = 0;
    virtual int GetActiveArea(DriverRect* area) = 0;
    // Area in sensor pixels (right and bottom exclusive); its size becomes the resolution.
    virtual int SetActiveArea(const DriverRect& area) = 0;
    // Null for a mono camera and for devices without video.
    virtual IDriverColourProcessor* GetColourProcessor() = 0;

    virtual int GetTriggerSetting(DriverTriggerSetting* setting) = 0;
    virtual int SetTriggerSetting(const DriverTriggerSetting& setting) = 0;
    // The trigger types SetTriggerSetting takes: bit t set for type t.
    virtual int GetTriggerTypes(int* mask) {
        (void)mask;
        return kDriverUnsupported;
    }
    // The frames (scans) a recording keeps: the frame limit, never more than the memory holds.
    virtual int GetMaxFrames(int* count) = 0;
    // Sets the frame limit; a limit beyond the memory keeps what the memory holds. Refused
    // while armed.
    virtual int SetMaxFrames(int count) = 0;
    // The frames (scans) the memory has room for at the present frame size; 0 when it is full.
    virtual int GetTotalFrames(int* count) = 0;
    virtual int GetMemoryBytes(int64_t* total, int64_t* used) = 0;
    virtual int GetGauges(double* first, double* second) = 0;

    // The video trigger watches the mean level of a region of the image.
    virtual int SetVideoTriggerRegion(const DriverRect& region) = 0;
    virtual int SetVideoTriggerLevels(int low, int high) = 0;
    virtual int TrainVideoTrigger() = 0;
    // The camera no longer watches a region.
    virtual int ClearVideoTriggerRegion() { return kDriverUnsupported; }
    // The region's mean level in the frame due now.
    virtual int GetVideoTriggerLevel(double* level) {
        (void)level;
        return kDriverUnsupported;
    }
    // The settings items the camera has (the first count of kVideoTrigger...), and each one.
    virtual int GetVideoTriggerItemCount(int* count) {
        (void)count;
        return kDriverUnsupported;
    }
    virtual int GetVideoTriggerItem(int item, int* value) {
        (void)item;
        (void)value;
        return kDriverUnsupported;
    }
    virtual int SetVideoTriggerItem(int item, int value) {
        (void)item;
        (void)value;
        return kDriverUnsupported;
    }

    // The live frame due now into buffer (format of GetImageFormat): 0, or nonzero.
    virtual int ReadLiveFrame(void* buffer, int64_t size, int64_t* frameNumber) = 0;
    // The same frame row by row, straight where it is shown: row i of ReadLiveFrame's order at
    // first + i * step (step may be negative), its pixels only. Nonzero, writing nothing, when
    // the live image is no longer of format; kDriverUnsupported from a driver without it, which
    // is then read through ReadLiveFrame.
    virtual int ReadLiveRows(const DriverImageFormat& format, void* first, ptrdiff_t step,
                             int64_t* frameNumber) {
        (void)format;
        (void)first;
        (void)step;
        (void)frameNumber;
        return kDriverUnsupported;
    }
    // Frame index (0 = oldest) of the held recording.
    virtual int ReadMemoryFrame(int index, void* buffer, int64_t size) = 0;

    // Data cards: channels (two numbers each), acquisition and the two outputs.
    virtual int GetChannelCount(int* channels) = 0;
    // The scans a data card takes per frame of the cameras it records with.
    virtual int GetPointsPerFrame(int* points) {
        (void)points;
        return kDriverUnsupported;
    }
    virtual int StartAcquisition() = 0;
    virtual int StopAcquisition() = 0;
    virtual int SetAcquisitionParams(double scanRate, int scans) = 0;
    // Scans from first on, each 2 x channels doubles.
    virtual int ReadSamples(int64_t first, int scans, std::vector<double>* values) = 0;
    virtual int SetDio6(int level) = 0;
    virtual int SetDac0(double volts) = 0;
};

// A family of devices of one type and subtype that one driver drives.
class IDriverFamily {
public:
    virtual ~IDriverFamily() = default;
    virtual int GetType() = 0;
    virtual int GetSubtype() = 0;
    virtual std::string GetName() = 0;
    // The family's device indices in display order.
    virtual std::vector<int> GetDeviceIndices() = 0;
    // Opens the device of that index, null when there is none.
    virtual std::unique_ptr<IDriverDevice> Open(int index) = 0;
};

// What a module hands the host: its families.
struct DriverModule {
    std::vector<std::shared_ptr<IDriverFamily>> families;
};

// The entry returns the API version the module was built for; only when it equals hostVersion
// does it fill *module (with an object the host then owns).
extern "C" {
typedef int (*DriverEntry)(int hostVersion, const DriverHostServices* host, DriverModule** module);
}
