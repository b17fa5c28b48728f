#include "devices/core/Device.h"

#include "devices/core/DeviceVideoStream.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/WinError.h"

#include <atomic>
#include <cstdint>

namespace {

std::atomic<int> s_nextHandle{1};

bool ValidFeature(int index) {
    return index >= 0 && index < CDevice::kFeatureCount;
}

int64_t ImageBytes(const DriverImageFormat& format) {
    return static_cast<int64_t>(format.rowBytes) * format.height;
}

}  // namespace

CDevice::CDevice(const CDeviceDescriptor& descriptor, std::unique_ptr<IDriverDevice> driver)
    : m_descriptor(descriptor),
      m_driver(std::move(driver)),
      m_recordingNumber(std::make_shared<std::atomic<int>>(0)),
      m_handle(s_nextHandle++) {
    int secondId = 0;
    if (m_driver && m_driver->GetSecondId(&secondId) == 0)
        m_secondId = secondId;
}

CDevice::~CDevice() = default;

void CDevice::Destroy(int deleteFlag) {
    m_driver.reset();
    if (deleteFlag)
        delete this;
}

int CDevice::GetHandle(int* handle) const {
    if (!handle)
        return 1;
    *handle = m_handle;
    return 0;
}

int CDevice::GetDescriptor(CDeviceDescriptor* descriptor) const {
    if (!descriptor)
        return 1;
    *descriptor = m_descriptor;
    return 0;
}

int CDevice::GetType(int* type) const {
    if (!type)
        return 1;
    *type = m_descriptor.m_type;
    return 0;
}

int CDevice::GetSubtype(int* subtype) const {
    if (subtype)
        *subtype = m_descriptor.m_subtype;
    return 0;
}

int CDevice::GetSecondDeviceId(int* id) const {
    if (id)
        *id = m_secondId;
    return 0;
}

int CDevice::GetDeviceIdHr(CDeviceId* id) const {
    if (id)
        *id = CDeviceId(m_descriptor.m_type, m_descriptor.m_subtype, m_descriptor.m_index);
    return 0;
}

int CDevice::SetName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return 2;
    static const QString kForbidden = QStringLiteral("/\\*?:\"<>|");
    for (QChar c : trimmed) {
        if (kForbidden.contains(c)) {
            AfxMessageBox(
                QStringLiteral("Unable to set camera name.\nA camera name cannot contain "
                               "any of the following characters: /\\*?:\"<>|"));
            return 2;
        }
    }
    m_descriptor.m_name = trimmed;
    return 0;
}

int CDevice::SetFeatureOn(int index, int on) {
    if (!ValidFeature(index))
        return 2;
    m_features[2][index] = on;
    return 0;
}

int CDevice::GetFeatureOn(int index, int* on) const {
    if (!ValidFeature(index))
        return 2;
    if (on)
        *on = m_features[2][index];
    return 0;
}

int CDevice::SetFeatureAvailable(int index, int available) {
    if (!ValidFeature(index))
        return 2;
    m_features[1][index] = available;
    return 0;
}

int CDevice::SetFeatureSupported(int index, int supported) {
    if (!ValidFeature(index))
        return 2;
    m_features[0][index] = supported;
    return 0;
}

int CDevice::GetFeatureSupported(int index, int* supported) const {
    if (!ValidFeature(index))
        return 2;
    if (supported)
        *supported = m_features[0][index];
    return 0;
}

int CDevice::IsFeatureActive(int index, int* active) const {
    if (!ValidFeature(index))
        return 2;
    if (active)
        *active = m_features[0][index] && m_features[1][index] && m_features[2][index] ? 1 : 0;
    return 0;
}

int CDevice::IsFeatureUsable(int index, int* usable) const {
    if (!ValidFeature(index))
        return 2;
    if (usable)
        *usable = m_features[0][index] && m_features[1][index] ? 1 : 0;
    return 0;
}

void CDevice::SetRecordingSourceRef(std::shared_ptr<CObject> recording) {
    m_recordingSource = std::move(recording);
}

int CDevice::MayOverwriteMemory() const {
    const auto* held = dynamic_cast<const CHeldRecordingRef*>(m_recordingSource.get());
    return held && held->IsShared() ? 0 : 1;
}

int CDevice::HoldsUnsavedRecording() const {
    int frames = 0;
    return !m_recordingKept && m_driver && m_driver->GetMode() == kModeStopped &&
                   m_driver->GetRecordedFrames(&frames) == 0 && frames > 0
               ? 1
               : 0;
}

void CDevice::SetLiveSourceRef(std::shared_ptr<CObject> live) {
    m_liveSource = std::move(live);
}

int CDevice::GetLinkedDataHandle(int* handle) const {
    if (!handle)
        return 1;
    if (!m_linkedData)
        return E_FAIL;
    return m_linkedData->GetHandle(handle);
}

int CDevice::LinkDataObject(std::shared_ptr<CObject> object) {
    if (!object)
        return 1;
    m_dataObjects.push_back(std::move(object));
    return 0;
}

void CDevice::SetDataOwner(int value, void* pointer) {
    m_ownerValue = value;
    m_ownerPointer = pointer;
}

void CDevice::GetDataOwner(int* value, void** pointer) const {
    if (value)
        *value = m_ownerValue;
    if (pointer)
        *pointer = m_ownerPointer;
}

int CDevice::GetSensorControlValue(int* value) const {
    if (!value)
        return 1;
    *value = -1;
    return 1;
}

QString CDevice::GetInfoText() const {
    return m_driver ? QString::fromStdString(m_driver->GetInfoText()) : QString();
}

int CDevice::AttachWindow(QWidget* window) {
    m_window = window;
    return 0;
}

int CDevice::SetMode(int mode, int, int, int) {
    if (!m_driver)
        return 1;
    const int result = m_driver->SetMode(mode);
    if (result == 0 && mode == kModeArmed) {
        m_recordingNumber->fetch_add(1);
        m_recordingSource.reset();
        m_recordingKept = false;
    }
    return result;
}

int CDevice::GetMode() const {
    return m_driver ? m_driver->GetMode() : 0;
}

QString CDevice::GetModeText() const {
    switch (GetMode()) {
        case kModeLive:
            return QStringLiteral("Live");
        case kModeStopped:
            return QStringLiteral("Stopped");
        case kModeArmed:
            return QStringLiteral("Armed");
        case kModeIdle:
            return QStringLiteral("Idle");
        default:
            return QStringLiteral("Unknown");
    }
}

int CDevice::SetRole(int role) {
    return m_driver ? m_driver->SetRole(role) : 1;
}

int CDevice::Trigger() {
    return m_driver ? m_driver->Trigger() : 1;
}

int CDevice::IsTriggered() const {
    return m_driver ? m_driver->IsTriggered() : 0;
}

int CDevice::GetStopSupport() const {
    return m_driver ? m_driver->GetStopSupport() : kNoSoftwareStop;
}

int CDevice::Stop() {
    return m_driver ? m_driver->Stop() : 1;
}

int CDevice::Reset() {
    return m_driver ? m_driver->Reset() : 1;
}

int CDevice::SelfTest() {
    return m_driver ? m_driver->SelfTest() : 1;
}

int CDevice::GetResolution(int* width, int* height) const {
    return m_driver ? m_driver->GetResolution(width, height) : 1;
}

int CDevice::SetResolution(int width, int height) {
    return m_driver ? m_driver->SetResolution(width, height) : 1;
}

int CDevice::GetImageFormat(DriverImageFormat* format) const {
    if (!format || !m_driver)
        return 1;
    return m_driver->GetImageFormat(format);
}

int CDevice::GetActiveAreaLimits(int* sensorWidth, int* sensorHeight, int* minWidth, int* minHeight,
                                 int* widthStep, int* heightStep, int* originStep) const {
    if (!m_driver || !sensorWidth || !sensorHeight || !minWidth || !minHeight || !widthStep ||
        !heightStep || !originStep)
        return 1;
    DriverActiveAreaLimits limits;
    if (const int result = m_driver->GetActiveAreaLimits(&limits))
        return result;
    *sensorWidth = limits.sensorWidth;
    *sensorHeight = limits.sensorHeight;
    *minWidth = limits.minWidth;
    *minHeight = limits.minHeight;
    *widthStep = limits.widthStep;
    *heightStep = limits.heightStep;
    *originStep = limits.originStep;
    return 0;
}

int CDevice::GetActiveAreaMode(int* movable, int* centred, int* bitsPerPixel) const {
    if (!m_driver || !movable || !centred || !bitsPerPixel)
        return 1;
    DriverActiveAreaLimits limits;
    DriverRect area;
    DriverImageFormat format;
    if (const int result = m_driver->GetActiveAreaLimits(&limits))
        return result;
    if (const int result = m_driver->GetActiveArea(&area))
        return result;
    if (const int result = m_driver->GetImageFormat(&format))
        return result;
    *movable = limits.movable ? 1 : 0;
    // Centred to the pixel: an odd margin cannot be split evenly.
    const int marginX = limits.sensorWidth - (area.right - area.left);
    const int marginY = limits.sensorHeight - (area.bottom - area.top);
    *centred = area.left == marginX / 2 && area.top == marginY / 2 ? 1 : 0;
    *bitsPerPixel = format.bitsPerPixel;
    return 0;
}

int CDevice::GetRecordRate(double* rate) const {
    if (!m_driver || !rate)
        return 1;
    return m_driver->GetRecordRate(rate);
}

int CDevice::GetMaxActiveArea(double rate, int bitsPerPixel, int* width, int* height) const {
    if (!m_driver || !width || !height)
        return 1;
    return m_driver->GetMaxActiveArea(rate, bitsPerPixel, width, height);
}

int CDevice::GetActiveAreaOrigin(int* left, int* top) const {
    if (!m_driver || !left || !top)
        return 1;
    DriverRect area;
    if (const int result = m_driver->GetActiveArea(&area))
        return result;
    *left = area.left;
    *top = area.top;
    return 0;
}

int CDevice::GetActiveAreaSize(int* width, int* height) const {
    if (!m_driver || !width || !height)
        return 1;
    DriverRect area;
    if (const int result = m_driver->GetActiveArea(&area))
        return result;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return 0;
}

int CDevice::SetActiveArea(int left, int top, int right, int bottom) {
    if (!m_driver)
        return 1;
    return m_driver->SetActiveArea(DriverRect{left, top, right, bottom});
}

int CDevice::SetActiveAreaOrigin(int left, int top) {
    if (!m_driver)
        return 1;
    DriverRect area;
    if (const int result = m_driver->GetActiveArea(&area))
        return result;
    const int64_t right = int64_t{left} + (area.right - area.left);
    const int64_t bottom = int64_t{top} + (area.bottom - area.top);
    if (right > INT32_MAX || bottom > INT32_MAX)
        return 1;
    return m_driver->SetActiveArea(
        DriverRect{left, top, static_cast<int>(right), static_cast<int>(bottom)});
}

IDriverColourProcessor* CDevice::ColourProcessor() const {
    return m_driver ? m_driver->GetColourProcessor() : nullptr;
}

int CDevice::GetColourPresets(QStringList* names) const {
    IDriverColourProcessor* processor = ColourProcessor();
    if (!processor || !names)
        return 1;
    names->clear();
    for (const std::string& name : processor->GetPresetNames())
        names->append(QString::fromStdString(name));
    return 0;
}

int CDevice::GetColourPreset(int index, DriverColourCoefficients* coefficients) const {
    IDriverColourProcessor* processor = ColourProcessor();
    return processor && coefficients ? processor->GetPresetCoefficients(index, coefficients) : 1;
}

int CDevice::ApplyColourPreset(int index, DriverColourCoefficients* coefficients) {
    IDriverColourProcessor* processor = ColourProcessor();
    return processor && coefficients ? processor->ApplyPreset(index, coefficients) : 1;
}

int CDevice::GetFactoryColourCoefficients(DriverColourCoefficients* coefficients) const {
    IDriverColourProcessor* processor = ColourProcessor();
    return processor && coefficients ? processor->GetFactoryCoefficients(coefficients) : 1;
}

int CDevice::GetColourCoefficients(DriverColourCoefficients* coefficients) const {
    IDriverColourProcessor* processor = ColourProcessor();
    return processor && coefficients ? processor->GetCoefficients(coefficients) : 1;
}

int CDevice::SetColourCoefficients(const DriverColourCoefficients& coefficients) {
    IDriverColourProcessor* processor = ColourProcessor();
    return processor ? processor->SetCoefficients(coefficients) : 1;
}

int CDevice::ApplyColourGains(int red, int green, int blue,
                              DriverColourCoefficients* coefficients) {
    IDriverColourProcessor* processor = ColourProcessor();
    return processor && coefficients ? processor->ApplyGains(red, green, blue, coefficients) : 1;
}

int CDevice::BalanceColourRegion(int left, int top, int right, int bottom, int* red, int* green,
                                 int* blue) {
    IDriverColourProcessor* processor = ColourProcessor();
    if (!processor || !red || !green || !blue)
        return 1;
    return processor->BalanceRegion(DriverRect{left, top, right, bottom}, red, green, blue);
}

CDeviceVideoStream* CDevice::CreateLiveStream() {
    DriverImageFormat format;
    if (GetImageFormat(&format) != 0)
        return nullptr;
    double rate = 0;
    m_driver->GetRecordRate(&rate);
    std::weak_ptr<IDriverDevice> weak = m_driver;
    auto read = [weak, bytes = ImageBytes(format)](int, void* buffer, int64_t size) {
        const std::shared_ptr<IDriverDevice> driver = weak.lock();
        int64_t number = 0;
        return !driver || size < bytes ? -1 : driver->ReadLiveFrame(buffer, size, &number);
    };
    // Shown frames go straight into the picture; the driver checks that it still has the
    // stream's format.
    auto rows = [weak, format](int, BYTE* first, ptrdiff_t step) {
        const std::shared_ptr<IDriverDevice> driver = weak.lock();
        int64_t number = 0;
        return driver ? driver->ReadLiveRows(format, first, step, &number) : -1;
    };
    return new CDeviceVideoStream(format, rate, 1, read, rows);
}

CDeviceVideoStream* CDevice::CreateRecordingStream() {
    DriverImageFormat format;
    if (GetImageFormat(&format) != 0)
        return nullptr;
    double rate = 0;
    int frames = 0;
    m_driver->GetRecordRate(&rate);
    m_driver->GetRecordedFrames(&frames);
    std::weak_ptr<IDriverDevice> weak = m_driver;
    // The recording this stream shows; once the device is armed again its memory holds another.
    auto read = [weak, counter = m_recordingNumber, number = m_recordingNumber->load()](
                    int frame, void* buffer, int64_t size) {
        const std::shared_ptr<IDriverDevice> driver = weak.lock();
        if (!driver || counter->load() != number)
            return -1;
        return driver->ReadMemoryFrame(frame, buffer, size);
    };
    return new CDeviceVideoStream(format, rate, frames, read);
}
