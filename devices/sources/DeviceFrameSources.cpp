#include "devices/sources/DeviceFrameSources.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceVideoStream.h"
#include "frames/CfgFileInfo.h"
#include "platform/framework/Object.h"

#include <memory>

namespace {

// The device keeps its frame sources as plain objects; this is what they are.
class CFrameSourceHolder : public CHeldRecordingRef {
public:
    explicit CFrameSourceHolder(CFrameSourcePtr source) : m_source(std::move(source)) {}
    const CFrameSourcePtr& Source() const { return m_source; }
    bool IsShared() const override { return !m_source.IsUnique(); }

private:
    CFrameSourcePtr m_source;
};

CFrameSourcePtr HeldSource(const std::shared_ptr<CObject>& held) {
    const auto* holder = dynamic_cast<const CFrameSourceHolder*>(held.get());
    return holder ? holder->Source() : CFrameSourcePtr();
}

}  // namespace

namespace DeviceFrameSources {

CFrameSourcePtr GetLatestRecording(CDevice* device) {
    if (!device)
        return CFrameSourcePtr();
    CFrameSourcePtr held = HeldSource(device->GetRecordingSourceRef());
    if (!held.IsEmpty())
        return held;
    IDriverDevice* driver = device->Driver();
    if (!driver || device->GetMode() != kModeStopped)
        return CFrameSourcePtr();
    CDeviceVideoStream* stream = device->CreateRecordingStream();
    if (!stream)
        return CFrameSourcePtr();
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    CFrameSourcePtr source(new CFrameSource);
    const int opened = source->OpenStream(stream, descriptor.m_name);
    stream->Release();
    if (!opened || source->GetFrameCount() <= 0)
        return CFrameSourcePtr();
    // Frame numbers count from the trigger frame, as in the files the recorder writes.
    CCfgFileInfo info;
    source->GetCfgFileInfo(&info);
    int triggerIndex = -1;
    if (driver->GetTriggerIndex(&triggerIndex) == 0 && triggerIndex >= 0)
        info.m_firstFrame = -triggerIndex;
    double exposure = 0;
    if (driver->GetExposure(&exposure) == 0 && exposure > 0)
        info.m_exposureNs = static_cast<int>(exposure * 1e9);
    double rate = 0;
    if (driver->GetRecordRate(&rate) == 0 && rate > 0)
        info.m_rateHz = rate;
    source->SetCfgFileInfo(info);
    source->SetFromDevice(1);
    device->SetRecordingSourceRef(std::make_shared<CFrameSourceHolder>(source));
    return source;
}

CFrameSourcePtr OpenLiveVideo(CDevice* device) {
    CDeviceVideoStream* stream = device ? device->CreateLiveStream() : nullptr;
    if (!stream)
        return CFrameSourcePtr();
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    CFrameSourcePtr source(new CFrameSource);
    const int opened = source->OpenStream(stream, descriptor.m_name);
    stream->Release();
    return opened ? source : CFrameSourcePtr();
}

}  // namespace DeviceFrameSources
