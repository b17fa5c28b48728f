#include "devices/AutoRecordHost.h"

#include "devices/AutoRecordDlg.h"
#include "devices/RecordControllerDoc.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/OpenDeviceList.h"
#include "platform/com/Variant.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/View.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CAutoRecordHost, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

CAutoRecordHost::CAutoRecordHost() {
    m_recordOptions.LoadAllFromRegistry();
    // The run borrows the devices of the windows that own them.
    m_group.SetOwnsDevices(false);
    m_group.SetRecordOptions(&m_recordOptions);
    m_download = std::make_unique<CAutoDownloadWnd>(&m_group);
    // The download reads the devices of the windows that show them.
    m_download->SetDocumentsInUse([this] {
        std::vector<CDocument*> documents;
        for (CDocument* document : CRunningOperation::AllDocuments()) {
            for (POSITION pos = document->GetFirstViewPosition(); pos;) {
                CDevice* device = CRecordControllerDoc::DeviceOfView(document->GetNextView(pos));
                bool member = false;
                for (int i = 0; device && !member && i < m_group.GetDeviceCount(); ++i)
                    member = m_group.GetDeviceAt(i) == device;
                if (member) {
                    documents.push_back(document);
                    break;
                }
            }
        }
        return documents;
    });
    m_download->LoadOptionFile();
    m_download->LoadSettings();
    m_busy.Create(kBusyTemplate, nullptr);
    m_busy.SetRecordGroup(&m_group);
    Create(nullptr, QStringLiteral("Auto-Record"), 0, CRect(0, 0, 0, 0), nullptr, 0);
}

CAutoRecordHost::~CAutoRecordHost() {
    if (GetSafeHwnd())
        DestroyWindow();
    ReleaseDevices();
    m_busy.SetRecordGroup(nullptr);
    if (m_busy.GetSafeHwnd())
        m_busy.DestroyWindow();
    m_download.reset();
    m_group.SetRecordOptions(nullptr);
}

namespace {

std::vector<CDeviceLink*> AllLinks() {
    const CDeviceLinkList list;
    std::vector<CDeviceLink*> links(static_cast<size_t>(list.GetCount()));
    links.resize(static_cast<size_t>(list.GetLinks(links.data(), static_cast<int>(links.size()))));
    return links;
}

}  // namespace

int CAutoRecordHost::GatherOpenDevices() {
    for (CDeviceLink* link : AllLinks())
        m_savedTargets.emplace_back(link, link->GetCommandTarget());
    for (int i = 0; i < OpenDevices::GetCount(); ++i) {
        CDevice* device = OpenDevices::GetAt(i);
        int type = 0;
        int handle = -1;
        if (!device || device->GetType(&type) != 0 ||
            (type != kDeviceTypeCamera && type != kDeviceTypeDataCard))
            continue;
        device->GetHandle(&handle);
        m_group.AddDevice(handle);
    }
    return m_group.GetDeviceCount();
}

void CAutoRecordHost::ReleaseDevices() {
    while (m_group.GetDeviceCount() > 0)
        m_group.RemoveDevice(m_group.GetDeviceHandle(0));
    const std::vector<CDeviceLink*> links = AllLinks();
    for (const auto& [link, target] : m_savedTargets) {
        if (std::find(links.begin(), links.end(), link) != links.end() && !link->GetCommandTarget())
            link->SetCommandTarget(target);
    }
    m_savedTargets.clear();
}

INT_PTR CAutoRecordHost::Run(CWnd* pParentWnd) {
    if (GatherOpenDevices() == 0) {
        AfxMessageBox(QStringLiteral("No devices are currently open to record.  Please open a "
                                     "camera or a data card first."),
                      MB_OK | MB_ICONINFORMATION);
        return -1;
    }
    SetTimer(kPollTimer, kPollMs);
    CAutoRecordDlg dialog(pParentWnd);
    dialog.SetController(m_download.get());
    const INT_PTR answer = dialog.DoModal();
    KillTimer(kPollTimer);
    Poll();
    return answer;
}

void CAutoRecordHost::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kPollTimer)
        Poll();
    else
        Default();
}

bool CAutoRecordHost::BusyBoxWanted() {
    VARIANT value;
    if (FAILED(m_recordOptions.GetSetting(QStringLiteral("Record:RecordBusyDlg"), &value, -1)) ||
        value.vt == VT_EMPTY)
        return true;
    VARIANT number;
    const bool read = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4));
    VariantClear(&value);
    return !read || number.lVal != 0;
}

void CAutoRecordHost::Poll() {
    m_group.GetMasterRecordState();
    if (!m_busy.GetSafeHwnd())
        return;
    const bool recording =
        m_group.GetState() == CRecordGroup::kRecord && OpenDevices::GetCount() > 0;
    if (!recording || !BusyBoxWanted()) {
        m_busy.ShowWindow(SW_HIDE);
        return;
    }
    m_busy.ShowText(m_group.GetStateText(), TRUE);
    if (!m_busy.IsWindowVisible())
        m_busy.ShowWindow(SW_SHOWNOACTIVATE);
}
