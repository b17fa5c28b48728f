#include "devices/sim/SimCamera.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

const std::vector<std::pair<int, int>> kResolutions = {{1280, 1024}, {1024, 1024}, {1024, 768},
                                                       {800, 600},   {640, 480},   {320, 240}};

const std::vector<double> kRates = {25, 30, 50, 60, 100, 125, 250, 500, 1000, 2000};
// The record clock's sources (internal, external) and the counters' range.
constexpr double kClockHz[] = {1e6, 2e6};
constexpr int kCounterMin = 2;
constexpr int kCounterMax = 65535;
constexpr int kAdvancedMode = 1;

// Areas go from 320 x 240 in steps of 16 x 2, on even origins.
constexpr DriverActiveAreaLimits kLimits{
    CSimCamera::kSensorWidth, CSimCamera::kSensorHeight, 320, 240, 16, 2, 2, 1};
// Bytes a second the sensor reads out: the whole sensor in colour at the highest listed rate.
constexpr double kReadoutBytesPerSecond = 1280.0 * 1024 * 3 * 2000;

struct Preset {
    const char* name;
    DriverColourCoefficients coefficients;
};

// Each preset greys the scene under its light; daylight, the factory setting, the sensor's own
// response.
const Preset kPresets[] = {
    {"Daylight (5600 K)", {{{1 / 0.70f, 0, 0}, {0, 1, 0}, {0, 0, 1 / 0.55f}}}},
    {"Tungsten (3200 K)", {{{1.15f, 0, 0}, {0, 1, 0}, {0, 0, 2.40f}}}},
    {"Fluorescent (4000 K)", {{{1.30f, 0, 0}, {0, 1.05f, 0}, {0, 0, 2.00f}}}},
};

}  // namespace

CSimCamera::CSimCamera(const DriverHostServices* host, int subtype, int index, bool colour,
                       int64_t memoryBytes)
    : CSimRecorder(host),
      m_subtype(subtype),
      m_index(index),
      m_colour(colour),
      m_memoryBytes(memoryBytes) {
    UseCoefficients(kPresets[0].coefficients, true);
}

void CSimCamera::SquareAt(int64_t frame, int width, int height, int* x, int* y) {
    // Across and down at different speeds, so that every frame has its own place.
    const int64_t spanX = std::max(1, width - kSquareSize);
    const int64_t spanY = std::max(1, height - kSquareSize);
    *x = static_cast<int>((frame * 7) % spanX);
    *y = static_cast<int>((frame * 3) % spanY);
}

void CSimCamera::RenderFrame(int64_t frame, int width, int height, int rowBytes, bool colour,
                             unsigned char* buffer, const Look& look) {
    const int pixels = width * (colour ? 3 : 1);
    for (int y = 0; y < height; ++y)
        std::memset(buffer + static_cast<int64_t>(y) * rowBytes + pixels, 0, rowBytes - pixels);
    RenderRows(frame, width, height, rowBytes, colour, buffer, look);
    const uint32_t number = static_cast<uint32_t>(frame);
    for (int i = 0; i < 4 && i < rowBytes; ++i)
        buffer[i] = static_cast<unsigned char>(number >> (8 * i));
}

void CSimCamera::RenderRows(int64_t frame, int width, int height, ptrdiff_t step, bool colour,
                            unsigned char* first, const Look& look) {
    const int channels = colour ? 3 : 1;
    const ColourTables* tables = colour ? look.colour : nullptr;
    // Row y is a window on one ramp: scene value (x + y + shift + frame) mod 256, in every
    // channel through its table.
    std::vector<unsigned char> ramp(static_cast<size_t>(width + 256) * channels);
    for (int i = 0; i < width + 256; ++i) {
        for (int c = 0; c < channels; ++c)
            ramp[static_cast<size_t>(i) * channels + c] =
                tables ? (*tables)[c][i & 0xFF] : static_cast<unsigned char>(i & 0xFF);
    }
    unsigned char bright[3] = {255, 255, 255};
    if (tables) {
        for (int c = 0; c < 3; ++c)
            bright[c] = (*tables)[c][255];
    }
    for (int y = 0; y < height; ++y) {
        unsigned char* row = first + y * step;
        const int shift = static_cast<int>((y + look.gradientShift + frame) & 0xFF);
        std::memcpy(row, &ramp[static_cast<size_t>(shift) * channels],
                    static_cast<size_t>(width) * channels);
    }
    int squareX = 0;
    int squareY = 0;
    SquareAt(frame, width, height, &squareX, &squareY);
    const int squareW = std::min(kSquareSize, width - squareX);
    for (int y = squareY; y < std::min(height, squareY + kSquareSize); ++y) {
        unsigned char* square = first + y * step + squareX * channels;
        for (int x = 0; x < squareW; ++x)
            std::memcpy(square + x * channels, bright, channels);
    }
    const uint32_t number = static_cast<uint32_t>(frame);
    for (int i = 0; i < 4 && i < width * channels; ++i)
        first[i] = static_cast<unsigned char>(number >> (8 * i));
}

CSimCamera::ColourTables CSimCamera::TablesFor(const DriverColourCoefficients& coefficients) {
    ColourTables tables{};
    for (int c = 0; c < 3; ++c) {
        // Frame byte c is blue, green, red: coefficient rows 2, 1, 0.
        const float* row = coefficients.rows[2 - c];
        const double gain = row[0] * kResponse[0] + row[1] * kResponse[1] + row[2] * kResponse[2];
        for (int level = 0; level < 256; ++level)
            tables[c][level] =
                static_cast<unsigned char>(std::clamp<long>(std::lround(level * gain), 0, 255));
    }
    return tables;
}

void CSimCamera::Render(int64_t frame, unsigned char* buffer) {
    Render(frame, buffer, FrameBytes() / m_height, false);
}

void CSimCamera::Render(int64_t frame, unsigned char* first, ptrdiff_t step, bool rowsOnly) {
    Look look;
    look.gradientShift = m_originX + m_originY;
    ColourTables tables;
    if (m_colour) {
        std::lock_guard lock(m_colourMutex);
        tables = m_tables;
        look.colour = &tables;
    }
    if (rowsOnly)
        RenderRows(frame, m_width, m_height, step, m_colour, first, look);
    else
        RenderFrame(frame, m_width, m_height, static_cast<int>(step), m_colour, first, look);
}

int64_t CSimCamera::FrameBytes() const {
    return static_cast<int64_t>(DriverRowBytes(m_width, m_colour ? 24 : 8)) * m_height;
}

int CSimCamera::RingCapacity() const {
    const int64_t fit = std::min<int64_t>(m_memoryBytes / FrameBytes(), 1 << 30);
    return static_cast<int>(m_frameLimit > 0 ? std::min<int64_t>(fit, m_frameLimit) : fit);
}

std::string CSimCamera::GetInfoText() {
    return "Simulated camera " + std::to_string(m_index + 1) + " (" +
           (m_colour ? "24-bit colour" : "8-bit mono") + "), " + std::to_string(m_width) + " x " +
           std::to_string(m_height) + " at " + std::to_string(static_cast<int>(m_rate)) + " fps";
}

std::string CSimCamera::GetModel() {
    return m_colour ? "SIM-C" + std::to_string(m_subtype) : "SIM-M" + std::to_string(m_subtype);
}

void CSimCamera::OnArmed() {
    m_checkedUpTo = m_armedFrom;
    if (m_trainOnRecord)
        TrainVideoTrigger();
}

void CSimCamera::WatchForTrigger(int64_t now) {
    if (!m_watching)
        return;
    // The video trigger looks at every frame since the last look (a bounded number of them).
    const int64_t from = std::max(m_checkedUpTo, now - 10000);
    for (int64_t frame = from; frame <= now; ++frame) {
        if (VideoTriggers(frame)) {
            TriggerAt(frame);
            break;
        }
    }
    m_checkedUpTo = now + 1;
}

double CSimCamera::RegionMean(int64_t frame) const {
    const int left = std::clamp(m_region.left, 0, m_width);
    const int right = std::clamp(m_region.right, left, m_width);
    const int top = std::clamp(m_region.top, 0, m_height);
    const int bottom = std::clamp(m_region.bottom, top, m_height);
    if (right == left || bottom == top)
        return 0;
    int squareX = 0;
    int squareY = 0;
    SquareAt(frame, m_width, m_height, &squareX, &squareY);
    double sum = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const bool inSquare = x >= squareX && x < squareX + kSquareSize && y >= squareY &&
                                  y < squareY + kSquareSize;
            sum += inSquare ? 255
                            : static_cast<double>((x + y + m_originX + m_originY + frame) & 0xFF);
        }
    }
    return sum / (static_cast<double>(right - left) * (bottom - top));
}

bool CSimCamera::VideoTriggers(int64_t frame) const {
    const double mean = RegionMean(frame);
    return (m_high > 0 && mean >= m_high) || (m_low > 0 && mean <= m_low);
}

int CSimCamera::SetRecordRate(double rate) {
    if (int refused = m_script.Enter("SetRecordRate"))
        return refused;
    // The rate it runs at already, whatever the counters that make it.
    if (rate == m_rate)
        return 0;
    if (!(rate >= kRates.front() && rate <= kRates.back()))
        return 1;
    UseRate(rate);
    CountersFromRate();
    return 0;
}

void CSimCamera::UseRate(double rate) {
    const int64_t now = CurrentFrame();
    m_rate = rate;
    m_startNs = m_clock.NowNs() - static_cast<int64_t>(static_cast<double>(now) * 1e9 / rate);
    m_exposure = std::min(m_exposure, 1.0 / rate);
}

double CSimCamera::ClockHz() const {
    return kClockHz[m_clockSource];
}

void CSimCamera::CountersFromRate() {
    const int ticks = static_cast<int>(std::lround(ClockHz() / m_rate));
    m_counters[0] = ticks / 2;
    m_counters[1] = ticks - ticks / 2;
}

int CSimCamera::GetRecordParams(DriverRecordParams* params) {
    if (!params)
        return 1;
    CSimDeviceBase::GetRecordParams(params);
    params->SetClockFrequency(ClockHz());
    params->SetClockSource(m_clockSource);
    params->SetCounter(1, m_counters[0]);
    params->SetCounter(2, m_counters[1]);
    return 0;
}

int CSimCamera::SetRecordParams(const DriverRecordParams& params, int fromClock, int recordMode) {
    if (int refused = m_script.Enter("SetRecordParams"))
        return refused;
    const int source = params.ClockSource();
    if (m_mode == kModeArmed || source < 0 || source >= static_cast<int>(std::size(kClockHz)))
        return 1;
    if (recordMode != kAdvancedMode && (source != m_clockSource || !fromClock))
        return 1;
    const int first = params.Counter(1);
    const int second = params.Counter(2);
    if (!fromClock && (first < kCounterMin || second < kCounterMin || first > kCounterMax ||
                       second > kCounterMax))
        return 1;
    m_params = params;
    m_clockSource = source;
    m_recordMode = recordMode;
    if (fromClock) {
        CountersFromRate();
    } else {
        m_counters[0] = first;
        m_counters[1] = second;
        UseRate(ClockHz() / (first + second));
    }
    return 0;
}

int CSimCamera::GetClockFrequencies(std::vector<double>* frequencies) {
    if (!frequencies)
        return 1;
    frequencies->assign(std::begin(kClockHz), std::end(kClockHz));
    return 0;
}

int CSimCamera::GetRecordModes(std::vector<std::string>* modes) {
    if (!modes)
        return 1;
    *modes = {"Standard", "Advanced"};
    return 0;
}

int CSimCamera::GetCounterRange(int counter, int* minimum, int* maximum) {
    if (!minimum || !maximum || (counter != 1 && counter != 2))
        return 1;
    *minimum = kCounterMin;
    *maximum = kCounterMax;
    return 0;
}

int CSimCamera::GetExposureRange(double* minimumSeconds, double* maximumSeconds) {
    if (!minimumSeconds || !maximumSeconds)
        return 1;
    *minimumSeconds = 1.0 / ClockHz();
    *maximumSeconds = 1.0 / m_rate;
    return 0;
}

int CSimCamera::GetExposureTicks(int64_t* ticks) {
    if (!ticks)
        return 1;
    *ticks = std::llround(m_exposure * ClockHz());
    return 0;
}

int CSimCamera::SetExposureTicks(int64_t ticks) {
    if (int refused = m_script.Enter("SetExposureTicks"))
        return refused;
    int64_t minimum = 0;
    int64_t maximum = 0;
    GetExposureTickRange(&minimum, &maximum);
    if (ticks < minimum || ticks > maximum)
        return 1;
    m_exposure = static_cast<double>(ticks) / ClockHz();
    return 0;
}

int CSimCamera::GetExposureTickRange(int64_t* minimum, int64_t* maximum) {
    if (!minimum || !maximum)
        return 1;
    *minimum = 1;
    *maximum = static_cast<int64_t>(m_counters[0]) + m_counters[1];
    return 0;
}

int CSimCamera::GetRateList(std::vector<double>* rates) {
    if (!rates)
        return 1;
    *rates = kRates;
    return 0;
}

int CSimCamera::GetRateRange(double* minimum, double* maximum) {
    if (!minimum || !maximum)
        return 1;
    *minimum = kRates.front();
    *maximum = kRates.back();
    return 0;
}

int CSimCamera::GetExposure(double* seconds) {
    if (!seconds)
        return 1;
    *seconds = m_exposure;
    return 0;
}

int CSimCamera::SetExposure(double seconds) {
    if (int refused = m_script.Enter("SetExposure"))
        return refused;
    if (!(seconds > 0) || seconds > 1.0 / m_rate)
        return 1;
    m_exposure = seconds;
    return 0;
}

int CSimCamera::GetResolution(int* width, int* height) {
    if (!width || !height)
        return 1;
    *width = m_width;
    *height = m_height;
    return 0;
}

int CSimCamera::SetResolution(int width, int height) {
    if (int refused = m_script.Enter("SetResolution"))
        return refused;
    if (!CanChangeArea() || std::find(kResolutions.begin(), kResolutions.end(),
                                      std::make_pair(width, height)) == kResolutions.end())
        return 1;
    std::lock_guard lock(m_memoryMutex);
    ForgetRecordingOfOtherSize(width, height);
    m_width = width;
    m_height = height;
    // The area keeps its origin as far as the sensor allows.
    m_originX = std::min(m_originX, kSensorWidth - width) / kLimits.originStep * kLimits.originStep;
    m_originY =
        std::min(m_originY, kSensorHeight - height) / kLimits.originStep * kLimits.originStep;
    return 0;
}

int CSimCamera::GetResolutionList(std::vector<std::pair<int, int>>* sizes) {
    if (!sizes)
        return 1;
    *sizes = kResolutions;
    return 0;
}

int CSimCamera::GetImageFormat(DriverImageFormat* format) {
    if (!format)
        return 1;
    format->bitsPerPixel = m_colour ? 24 : 8;
    format->width = m_width;
    format->height = m_height;
    format->rowBytes = DriverRowBytes(m_width, format->bitsPerPixel);
    return 0;
}

bool CSimCamera::CanChangeArea() {
    // The memory holds frames of one size: not while they are being recorded or held.
    Advance();
    return m_mode != kModeArmed && m_mode != kModeStopped;
}

void CSimCamera::ForgetRecordingOfOtherSize(int width, int height) {
    if (width != m_width || height != m_height)
        m_held.clear();
}

int CSimCamera::GetActiveAreaLimits(DriverActiveAreaLimits* limits) {
    if (!limits)
        return 1;
    *limits = kLimits;
    return 0;
}

int CSimCamera::GetMaxActiveArea(double rate, int bitsPerPixel, int* width, int* height) {
    if (!width || !height || !(rate > 0) || (bitsPerPixel != 8 && bitsPerPixel != 24))
        return 1;
    // Full rows, as many as the readout carries at that rate.
    const double rowBytes = double{kSensorWidth} * (bitsPerPixel / 8);
    const double rows = std::floor(kReadoutBytesPerSecond / (rate * rowBytes));
    const int fit = static_cast<int>(std::min<double>(kSensorHeight, rows));
    if (fit < kLimits.minHeight)
        return 1;
    *width = kSensorWidth;
    *height =
        kLimits.minHeight + (fit - kLimits.minHeight) / kLimits.heightStep * kLimits.heightStep;
    return 0;
}

int CSimCamera::GetActiveArea(DriverRect* area) {
    if (!area)
        return 1;
    *area = DriverRect{m_originX, m_originY, m_originX + m_width, m_originY + m_height};
    return 0;
}

int CSimCamera::SetActiveArea(const DriverRect& area) {
    if (int refused = m_script.Enter("SetActiveArea"))
        return refused;
    const int64_t width = int64_t{area.right} - area.left;
    const int64_t height = int64_t{area.bottom} - area.top;
    const bool fits = area.left >= 0 && area.top >= 0 && area.right <= kSensorWidth &&
                      area.bottom <= kSensorHeight && width >= kLimits.minWidth &&
                      height >= kLimits.minHeight;
    if (!CanChangeArea() || !fits || (width - kLimits.minWidth) % kLimits.widthStep != 0 ||
        (height - kLimits.minHeight) % kLimits.heightStep != 0 ||
        area.left % kLimits.originStep != 0 || area.top % kLimits.originStep != 0)
        return 1;
    std::lock_guard lock(m_memoryMutex);
    ForgetRecordingOfOtherSize(static_cast<int>(width), static_cast<int>(height));
    m_originX = area.left;
    m_originY = area.top;
    m_width = static_cast<int>(width);
    m_height = static_cast<int>(height);
    return 0;
}

std::vector<std::string> CSimCamera::GetPresetNames() {
    std::vector<std::string> names;
    for (const Preset& preset : kPresets)
        names.emplace_back(preset.name);
    return names;
}

void CSimCamera::UseCoefficients(const DriverColourCoefficients& coefficients, bool asBase) {
    std::lock_guard lock(m_colourMutex);
    m_coefficients = coefficients;
    if (asBase)
        m_baseCoefficients = coefficients;
    m_tables = TablesFor(coefficients);
}

int CSimCamera::GetPresetCoefficients(int index, DriverColourCoefficients* coefficients) {
    if (index < 0 || index >= static_cast<int>(std::size(kPresets)) || !coefficients)
        return 1;
    *coefficients = kPresets[index].coefficients;
    return 0;
}

int CSimCamera::ApplyPreset(int index, DriverColourCoefficients* coefficients) {
    if (int refused = m_script.Enter("ApplyPreset"))
        return refused;
    if (index < 0 || index >= static_cast<int>(std::size(kPresets)))
        return 1;
    UseCoefficients(kPresets[index].coefficients, true);
    if (coefficients)
        *coefficients = kPresets[index].coefficients;
    return 0;
}

int CSimCamera::GetFactoryCoefficients(DriverColourCoefficients* coefficients) {
    if (!coefficients)
        return 1;
    *coefficients = kPresets[0].coefficients;
    return 0;
}

int CSimCamera::GetCoefficients(DriverColourCoefficients* coefficients) {
    if (!coefficients)
        return 1;
    std::lock_guard lock(m_colourMutex);
    *coefficients = m_coefficients;
    return 0;
}

int CSimCamera::SetCoefficients(const DriverColourCoefficients& coefficients) {
    if (int refused = m_script.Enter("SetCoefficients"))
        return refused;
    for (const auto& row : coefficients.rows) {
        for (float value : row) {
            if (!std::isfinite(value))
                return 1;
        }
    }
    UseCoefficients(coefficients, true);
    return 0;
}

int CSimCamera::ApplyGains(int red, int green, int blue, DriverColourCoefficients* coefficients) {
    if (int refused = m_script.Enter("ApplyGains"))
        return refused;
    if (red < 0 || green < 0 || blue < 0)
        return 1;
    DriverColourCoefficients scaled;
    {
        std::lock_guard lock(m_colourMutex);
        scaled = m_baseCoefficients;
    }
    const int gains[3] = {red, green, blue};
    for (int c = 0; c < 3; ++c) {
        for (float& value : scaled.rows[c])
            value = value * static_cast<float>(gains[c]) / 100.0f;
    }
    UseCoefficients(scaled, false);
    if (coefficients)
        *coefficients = scaled;
    return 0;
}

int CSimCamera::BalanceRegion(const DriverRect& region, int* red, int* green, int* blue) {
    if (int refused = m_script.Enter("BalanceRegion"))
        return refused;
    const int left = std::max(region.left, 0);
    const int top = std::max(region.top, 0);
    const int right = std::min(region.right, m_width);
    const int bottom = std::min(region.bottom, m_height);
    if (!red || !green || !blue || right <= left || bottom <= top)
        return 1;
    const int rowBytes = static_cast<int>(FrameBytes() / m_height);
    std::vector<unsigned char> frame(static_cast<size_t>(FrameBytes()));
    Render(CurrentFrame(), frame.data());
    double sums[3] = {};  // blue, green, red
    for (int y = top; y < bottom; ++y) {
        const unsigned char* pixel = frame.data() + static_cast<int64_t>(y) * rowBytes + left * 3;
        for (int x = left; x < right; ++x, pixel += 3) {
            for (int c = 0; c < 3; ++c)
                sums[c] += pixel[c];
        }
    }
    const double count = static_cast<double>(right - left) * (bottom - top);
    const double means[3] = {sums[2] / count, sums[1] / count, sums[0] / count};  // r, g, b
    *red = static_cast<int>(std::lround(means[0]));
    *green = static_cast<int>(std::lround(means[1]));
    *blue = static_cast<int>(std::lround(means[2]));
    if (*red == *green && *green == *blue)
        return 0;
    // Red and blue are brought to green; a channel that shows nothing keeps its row.
    DriverColourCoefficients balanced;
    GetCoefficients(&balanced);
    for (int c : {0, 2}) {
        if (means[c] > 0 && means[1] > 0) {
            for (float& value : balanced.rows[c])
                value = static_cast<float>(value * means[1] / means[c]);
        }
    }
    UseCoefficients(balanced, true);
    return 0;
}

int CSimCamera::GetMaxFrames(int* count) {
    if (!count)
        return 1;
    *count = RingCapacity();
    return 0;
}

int CSimCamera::SetMaxFrames(int count) {
    if (int refused = m_script.Enter("SetMaxFrames"))
        return refused;
    Advance();
    if (count < 1 || m_mode == kModeArmed)
        return 1;
    m_frameLimit = count;
    return 0;
}

int CSimCamera::GetTotalFrames(int* count) {
    if (!count)
        return 1;
    // A held recording is overwritten by the next one: the whole memory is free for it.
    *count = static_cast<int>(std::min<int64_t>(m_memoryBytes / FrameBytes(), 1 << 30));
    return 0;
}

int CSimCamera::GetMemoryBytes(int64_t* total, int64_t* used) {
    if (!total || !used)
        return 1;
    Advance();
    *total = m_memoryBytes;
    *used = static_cast<int64_t>(m_held.size()) * FrameBytes();
    return 0;
}

int CSimCamera::GetTriggerTypes(int* mask) {
    if (!mask)
        return 1;
    *mask = 1 << kTriggerRisingEdge | 1 << kTriggerFallingEdge | 1 << kTriggerEitherEdge;
    return 0;
}

int CSimCamera::SetVideoTriggerRegion(const DriverRect& region) {
    if (region.right <= region.left || region.bottom <= region.top)
        return 1;
    Advance();
    m_region = region;
    m_watching = true;
    // Frames before the region was set are not looked at again.
    m_checkedUpTo = std::max(m_checkedUpTo, CurrentFrame());
    return 0;
}

int CSimCamera::ClearVideoTriggerRegion() {
    Advance();
    m_watching = false;
    return 0;
}

int CSimCamera::GetVideoTriggerLevel(double* level) {
    if (!level)
        return 1;
    *level = RegionMean(CurrentFrame());
    return 0;
}

int CSimCamera::GetVideoTriggerItemCount(int* count) {
    if (!count)
        return 1;
    *count = kVideoTriggerTrainOnRecord + 1;
    return 0;
}

int CSimCamera::GetVideoTriggerItem(int item, int* value) {
    if (!value)
        return 1;
    switch (item) {
        case kVideoTriggerRising:
            *value = m_high;
            return 0;
        case kVideoTriggerFalling:
            *value = m_low;
            return 0;
        case kVideoTriggerTraining:
            *value = m_trainingFrames;
            return 0;
        case kVideoTriggerTrainOnRecord:
            *value = m_trainOnRecord;
            return 0;
        default:
            return 1;
    }
}

int CSimCamera::SetVideoTriggerItem(int item, int value) {
    if (int refused = m_script.Enter("SetVideoTriggerItem"))
        return refused;
    Advance();
    switch (item) {
        case kVideoTriggerRising:
        case kVideoTriggerFalling:
            if (value < 0 || value > 255)
                return 1;
            (item == kVideoTriggerRising ? m_high : m_low) = value;
            return 0;
        case kVideoTriggerTraining:
            if (value < 1 || value > 1000)
                return 1;
            m_trainingFrames = value;
            return 0;
        case kVideoTriggerTrainOnRecord:
            m_trainOnRecord = value ? 1 : 0;
            return 0;
        default:
            return 1;
    }
}

int CSimCamera::SetVideoTriggerLevels(int low, int high) {
    if (low < 0 || high > 255 || low > high)
        return 1;
    m_low = low;
    m_high = high;
    return 0;
}

int CSimCamera::TrainVideoTrigger() {
    if (int refused = m_script.Enter("TrainVideoTrigger"))
        return refused;
    // The levels bracket the region's mean over the training frames up to now.
    const int64_t now = CurrentFrame();
    double sum = 0;
    for (int64_t frame = now - m_trainingFrames + 1; frame <= now; ++frame)
        sum += RegionMean(frame);
    const double mean = sum / m_trainingFrames;
    m_low = std::clamp(static_cast<int>(mean) - 16, 0, 255);
    m_high = std::clamp(static_cast<int>(mean) + 16, 0, 255);
    return 0;
}

int CSimCamera::ReadLiveFrame(void* buffer, int64_t size, int64_t* frameNumber) {
    if (int refused = m_script.Enter("ReadLiveFrame"))
        return refused;
    if (!buffer || size < FrameBytes())
        return 1;
    const int64_t frame = CurrentFrame();
    Render(frame, static_cast<unsigned char*>(buffer));
    if (frameNumber)
        *frameNumber = frame;
    return 0;
}

int CSimCamera::ReadLiveRows(const DriverImageFormat& format, void* first, ptrdiff_t step,
                             int64_t* frameNumber) {
    if (int refused = m_script.Enter("ReadLiveFrame"))
        return refused;
    DriverImageFormat now;
    GetImageFormat(&now);
    if (!first || format.width != now.width || format.height != now.height ||
        format.bitsPerPixel != now.bitsPerPixel)
        return 1;
    const int64_t frame = CurrentFrame();
    Render(frame, static_cast<unsigned char*>(first), step, true);
    if (frameNumber)
        *frameNumber = frame;
    return 0;
}

int CSimCamera::ReadMemoryFrame(int index, void* buffer, int64_t size) {
    // Called on the save thread: no script, no clock, only the held frames.
    std::lock_guard lock(m_memoryMutex);
    if (index < 0 || index >= static_cast<int>(m_held.size()) || !buffer || size < FrameBytes())
        return 1;
    Render(m_held[index], static_cast<unsigned char*>(buffer));
    return 0;
}
