#include "devices/DeviceScan.h"

#include "devices/DlgDeviceOptions.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "platform/framework/WinApp.h"
#include "shell/ProgressDlg.h"

namespace DeviceScan {

std::vector<ScannedDevice> ScanFamily(const CDeviceId& family, const Observer& observer) {
    CProgressDlg progress;
    progress.m_strTitle = QStringLiteral("Scanning in Progress");
    progress.m_strText = QStringLiteral("Please wait...");
    progress.Create(AfxGetMainWnd());
    progress.ShowWindow(SW_SHOW);
    std::vector<ScannedDevice> found;
    CDeviceId working = family;
    const std::vector<int> indices =
        DriverLoader::GetDeviceIndices(working.m_type, working.m_subtype);
    const int n = static_cast<int>(indices.size());
    for (int i = 0; i < n; ++i) {
        working.m_index = indices[static_cast<size_t>(i)];
        QString defaultName;
        CDlgDeviceOptions defaults;
        if (defaults.LoadDefaultsFile(working) == S_OK)
            defaultName = defaults.GetDeviceSettings().m_name;
        CDeviceDescriptor descriptor;
        if (DriverLoader::Probe(working, &descriptor, false) == 0) {
            const bool attached = OpenDevices::GetOwnerFlagById(working) > 0;
            QString text = descriptor.m_name;
            if (!defaultName.isNull() && !attached)
                text = defaultName;
            if (text.trimmed().isEmpty())
                text = QString::fromLatin1(kNoName);
            if (attached)
                text += QString::fromLatin1(kAttachedSuffix);
            found.push_back({CDeviceId(descriptor), text});
        }
        if (observer)
            observer(progress, i);
        const int position = static_cast<int>(static_cast<double>(i + 1) * 100.0 / n);
        if (!progress.SetPos(position))
            break;
    }
    progress.DestroyWindow();
    return found;
}

}  // namespace DeviceScan
