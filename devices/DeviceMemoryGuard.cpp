#include "devices/DeviceMemoryGuard.h"

#include "devices/core/Device.h"
#include "devices/sources/DeviceDataSets.h"
#include "devices/sources/DeviceFrameSources.h"
#include "frames/DataFileSaveTarget.h"
#include "frames/FrameSource.h"
#include "frames/SaveVideoParams.h"
#include "platform/framework/IPrompter.h"

namespace {

// Saves the held recording through the dialog the user names its file in: true once saved.
bool SaveRecording(CDevice* device) {
    int type = 0;
    device->GetType(&type);
    if (type == kDeviceTypeDataCard) {
        CSharedRef<CSensorDataSet> data = DeviceDataSets::CopyMemory(device);
        if (data.IsEmpty())
            return false;
        CDeviceDescriptor descriptor;
        device->GetDescriptor(&descriptor);
        CDataFileSaveTarget target(std::move(data));
        CSaveVideoParams params;
        target.InitParams(&params);
        params.m_outputPath = descriptor.m_name + QStringLiteral(".mdat");
        return target.Prompt(&params) == S_OK && target.Save(&params) == S_OK;
    }
    CFrameSourcePtr source = DeviceFrameSources::GetLatestRecording(device);
    return !source.IsEmpty() && source->SaveAs(0) == 1;
}

}  // namespace

namespace DeviceMemoryGuard {

bool MayDropRecordings(const std::vector<CDevice*>& devices) {
    for (CDevice* device : devices) {
        if (!device || !device->HoldsUnsavedRecording())
            continue;
        CDeviceDescriptor descriptor;
        device->GetDescriptor(&descriptor);
        const int answer = AfxMessageBox(
            QStringLiteral("The memory of %1 holds a recording that has not been saved.\n"
                           "Save it before it is lost?")
                .arg(descriptor.m_name),
            MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return false;
        if (answer == IDYES && !SaveRecording(device))
            return false;
        device->SetRecordingKept();
    }
    return true;
}

}  // namespace DeviceMemoryGuard
