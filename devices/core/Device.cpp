#include "devices/core/Device.h"

#include "devices/core/DeviceVideoStream.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/WinError.h"

#include <atomic>

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
    : m_descriptor(descriptor), m_driver(std::move(driver)), m_handle(s_nextHandle++) {}

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

void CDevice::SetFrameSourceRefs(std::shared_ptr<CObject> live,
                                 std::shared_ptr<CObject> recording) {
    m_liveSource = std::move(live);
    m_recordingSource = std::move(recording);
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
    return m_driver ? m_driver->SetMode(mode) : 1;
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

CDeviceVideoStream* CDevice::CreateLiveStream() {
    DriverImageFormat format;
    if (GetImageFormat(&format) != 0)
        return nullptr;
    IDriverDevice* driver = m_driver.get();
    double rate = 0;
    driver->GetRecordRate(&rate);
    auto read = [driver, bytes = ImageBytes(format)](int, void* buffer, int64_t size) {
        int64_t number = 0;
        return size < bytes ? -1 : driver->ReadLiveFrame(buffer, size, &number);
    };
    return new CDeviceVideoStream(format, rate, 1, read);
}

CDeviceVideoStream* CDevice::CreateRecordingStream() {
    DriverImageFormat format;
    if (GetImageFormat(&format) != 0)
        return nullptr;
    IDriverDevice* driver = m_driver.get();
    double rate = 0;
    int frames = 0;
    driver->GetRecordRate(&rate);
    driver->GetRecordedFrames(&frames);
    auto read = [driver](int frame, void* buffer, int64_t size) {
        return driver->ReadMemoryFrame(frame, buffer, size);
    };
    return new CDeviceVideoStream(format, rate, frames, read);
}
