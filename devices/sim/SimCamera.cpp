#include "devices/sim/SimCamera.h"

#include <algorithm>
#include <cstring>

namespace {

const std::vector<std::pair<int, int>> kResolutions = {{1280, 1024}, {1024, 1024}, {1024, 768},
                                                       {800, 600},   {640, 480},   {320, 240}};

const std::vector<double> kRates = {25, 30, 50, 60, 100, 125, 250, 500, 1000, 2000};

}  // namespace

CSimCamera::CSimCamera(const DriverHostServices* host, int subtype, int index, bool colour,
                       int64_t memoryBytes)
    : CSimDeviceBase(host),
      m_subtype(subtype),
      m_index(index),
      m_colour(colour),
      m_memoryBytes(memoryBytes) {
    m_startNs = m_clock.NowNs();
}

void CSimCamera::SquareAt(int64_t frame, int width, int height, int* x, int* y) {
    // Across and down at different speeds, so that every frame has its own place.
    const int64_t spanX = std::max(1, width - kSquareSize);
    const int64_t spanY = std::max(1, height - kSquareSize);
    *x = static_cast<int>((frame * 7) % spanX);
    *y = static_cast<int>((frame * 3) % spanY);
}

void CSimCamera::RenderFrame(int64_t frame, int width, int height, int rowBytes, bool colour,
                             unsigned char* buffer) {
    const int channels = colour ? 3 : 1;
    // Row y is a window on one ramp: value (x + y + frame) mod 256 in every channel.
    std::vector<unsigned char> ramp(static_cast<size_t>(width + 256) * channels);
    for (int i = 0; i < width + 256; ++i)
        std::memset(&ramp[static_cast<size_t>(i) * channels], i & 0xFF, channels);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = buffer + static_cast<int64_t>(y) * rowBytes;
        const int shift = static_cast<int>((y + frame) & 0xFF);
        std::memcpy(row, &ramp[static_cast<size_t>(shift) * channels],
                    static_cast<size_t>(width) * channels);
        std::memset(row + width * channels, 0, rowBytes - width * channels);
    }
    int squareX = 0;
    int squareY = 0;
    SquareAt(frame, width, height, &squareX, &squareY);
    const int squareW = std::min(kSquareSize, width - squareX);
    for (int y = squareY; y < std::min(height, squareY + kSquareSize); ++y)
        std::memset(buffer + static_cast<int64_t>(y) * rowBytes + squareX * channels, 255,
                    static_cast<size_t>(squareW) * channels);
    const uint32_t number = static_cast<uint32_t>(frame);
    for (int i = 0; i < 4 && i < rowBytes; ++i)
        buffer[i] = static_cast<unsigned char>(number >> (8 * i));
}

int64_t CSimCamera::CurrentFrame() const {
    return m_clock.TicksSince(m_startNs, m_rate);
}

int64_t CSimCamera::FrameBytes() const {
    return static_cast<int64_t>(DriverRowBytes(m_width, m_colour ? 24 : 8)) * m_height;
}

int CSimCamera::MaxFrames() const {
    return static_cast<int>(std::min<int64_t>(m_memoryBytes / FrameBytes(), 1 << 30));
}

std::string CSimCamera::GetInfoText() {
    return "Simulated camera " + std::to_string(m_index + 1) + " (" +
           (m_colour ? "24-bit colour" : "8-bit mono") + "), " + std::to_string(m_width) + " x " +
           std::to_string(m_height) + " at " + std::to_string(static_cast<int>(m_rate)) + " fps";
}

std::string CSimCamera::GetModel() {
    return m_colour ? "SIM-C" + std::to_string(m_subtype) : "SIM-M" + std::to_string(m_subtype);
}

void CSimCamera::Poll() {
    Advance();
    if (m_mode == kModeArmed)
        m_clock.RequestPoll(static_cast<int64_t>(1e9 / m_rate) + 1);
}

int CSimCamera::SetMode(int mode) {
    if (int refused = m_script.Enter("SetMode"))
        return refused;
    Advance();
    switch (mode) {
        case kModeLive:
        case kModeIdle:
            m_mode = mode;
            return 0;
        case kModeArmed:
            if (m_trigger.postTriggerFrames < 1 || m_trigger.postTriggerFrames > MaxFrames())
                return 1;
            m_mode = kModeArmed;
            m_armedFrom = CurrentFrame();
            m_checkedUpTo = m_armedFrom;
            m_triggerFrame = -1;
            m_held.clear();
            m_preTrigger = 0;
            m_clock.RequestPoll(0);
            return 0;
        default:
            return 1;
    }
}

int CSimCamera::GetMode() {
    Advance();
    return m_mode;
}

void CSimCamera::TriggerAt(int64_t frame) {
    m_triggerFrame = frame;
    const int ring = MaxFrames() - m_trigger.postTriggerFrames;
    m_preTrigger = static_cast<int>(std::min<int64_t>(ring, frame - m_armedFrom));
}

void CSimCamera::Advance() {
    if (m_mode != kModeArmed)
        return;
    const int64_t now = CurrentFrame();
    if (m_triggerFrame < 0 && m_trigger.type == 2) {
        // The video trigger looks at every frame since the last look (a bounded number of them).
        const int64_t from = std::max(m_checkedUpTo, now - 10000);
        for (int64_t frame = from; frame <= now; ++frame) {
            if (RegionMean(frame) >= m_high) {
                TriggerAt(frame);
                break;
            }
        }
        m_checkedUpTo = now + 1;
    }
    if (m_triggerFrame < 0)
        return;
    const int64_t last = m_triggerFrame + m_trigger.postTriggerFrames - 1;
    if (now < last)
        return;
    m_held.clear();
    for (int64_t frame = m_triggerFrame - m_preTrigger; frame <= last; ++frame)
        m_held.push_back(frame);
    m_mode = kModeStopped;
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
            sum += inSquare ? 255 : static_cast<double>((x + y + frame) & 0xFF);
        }
    }
    return sum / (static_cast<double>(right - left) * (bottom - top));
}

int CSimCamera::Trigger() {
    if (int refused = m_script.Enter("Trigger"))
        return refused;
    Advance();
    if (m_mode != kModeArmed || m_triggerFrame >= 0)
        return 1;
    TriggerAt(CurrentFrame());
    Advance();
    return 0;
}

int CSimCamera::SetDio6(int level) {
    if (int refused = m_script.Enter("SetDio6"))
        return refused;
    const bool rising = level && !m_dio;
    m_dio = level ? 1 : 0;
    Advance();
    if (rising && m_trigger.type == 1 && m_mode == kModeArmed && m_triggerFrame < 0) {
        TriggerAt(CurrentFrame());
        Advance();
    }
    return 0;
}

int CSimCamera::IsTriggered() {
    Advance();
    return m_triggerFrame >= 0 ? 1 : 0;
}

int CSimCamera::Stop() {
    if (int refused = m_script.Enter("Stop"))
        return refused;
    Advance();
    if (m_mode == kModeArmed) {
        // Stopping before the trigger keeps what the ring holds.
        if (m_triggerFrame < 0) {
            const int64_t now = CurrentFrame();
            const int64_t ring = MaxFrames() - m_trigger.postTriggerFrames;
            m_held.clear();
            for (int64_t frame = std::max(m_armedFrom, now - ring + 1); frame <= now; ++frame)
                m_held.push_back(frame);
            m_preTrigger = static_cast<int>(m_held.size());
        }
        m_mode = kModeStopped;
    }
    return 0;
}

int CSimCamera::GetRecordedFrames(int* count) {
    if (!count)
        return 1;
    Advance();
    *count = static_cast<int>(m_held.size());
    return 0;
}

int CSimCamera::GetPreTriggerFrames(int* count) {
    if (!count)
        return 1;
    Advance();
    *count = m_preTrigger;
    return 0;
}

int CSimCamera::GetTriggerIndex(int* index) {
    if (!index)
        return 1;
    Advance();
    *index = m_triggerFrame >= 0 ? m_preTrigger : -1;
    return 0;
}

int CSimCamera::GetRecordRate(double* rate) {
    if (!rate)
        return 1;
    *rate = m_rate;
    return 0;
}

int CSimCamera::SetRecordRate(double rate) {
    if (int refused = m_script.Enter("SetRecordRate"))
        return refused;
    if (std::find(kRates.begin(), kRates.end(), rate) == kRates.end())
        return 1;
    // Frame numbers go on from the frame due now at the new rate.
    const int64_t now = CurrentFrame();
    m_rate = rate;
    m_startNs = m_clock.NowNs() - static_cast<int64_t>(static_cast<double>(now) * 1e9 / rate);
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
    if (m_mode == kModeArmed || std::find(kResolutions.begin(), kResolutions.end(),
                                          std::make_pair(width, height)) == kResolutions.end())
        return 1;
    m_width = width;
    m_height = height;
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

int CSimCamera::GetTriggerSetting(DriverTriggerSetting* setting) {
    if (!setting)
        return 1;
    *setting = m_trigger;
    return 0;
}

int CSimCamera::SetTriggerSetting(const DriverTriggerSetting& setting) {
    if (int refused = m_script.Enter("SetTriggerSetting"))
        return refused;
    if (setting.type < 0 || setting.type > 2 || setting.postTriggerFrames < 0 ||
        m_mode == kModeArmed)
        return 1;
    m_trigger = setting;
    return 0;
}

int CSimCamera::GetMaxFrames(int* count) {
    if (!count)
        return 1;
    *count = MaxFrames();
    return 0;
}

int CSimCamera::GetTotalFrames(int* count) {
    return GetRecordedFrames(count);
}

int CSimCamera::GetMemoryBytes(int64_t* total, int64_t* used) {
    if (!total || !used)
        return 1;
    Advance();
    *total = m_memoryBytes;
    *used = static_cast<int64_t>(m_held.size()) * FrameBytes();
    return 0;
}

int CSimCamera::SetVideoTriggerRegion(const DriverRect& region) {
    if (region.right <= region.left || region.bottom <= region.top)
        return 1;
    m_region = region;
    return 0;
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
    // The levels bracket the region's mean now.
    const double mean = RegionMean(CurrentFrame());
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
    RenderFrame(frame, m_width, m_height, static_cast<int>(FrameBytes() / m_height), m_colour,
                static_cast<unsigned char*>(buffer));
    if (frameNumber)
        *frameNumber = frame;
    return 0;
}

int CSimCamera::ReadMemoryFrame(int index, void* buffer, int64_t size) {
    // Called on the save thread: no script, no clock, only the held frames.
    if (index < 0 || index >= static_cast<int>(m_held.size()) || !buffer || size < FrameBytes())
        return 1;
    RenderFrame(m_held[index], m_width, m_height, static_cast<int>(FrameBytes() / m_height),
                m_colour, static_cast<unsigned char*>(buffer));
    return 0;
}
