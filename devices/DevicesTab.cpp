#include "devices/DevicesTab.h"

#include "devices/core/Device.h"
#include "devices/core/IRecordGroupOwner.h"
#include "devices/core/RecordGroup.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/wintypes/CLocale.h"
#include "views/panels/TreeLabels.h"

#include <tuple>

IMPLEMENT_DYNAMIC(CDevicesTab, CTabDlg)

BEGIN_MESSAGE_MAP(CDevicesTab, CTabDlg)
ON_BN_CLICKED(CDevicesTab::kAddCamera, OnAddCamera)
ON_BN_CLICKED(CDevicesTab::kAddDataCard, OnAddDataCard)
ON_NOTIFY(NM_RCLICK, CDevicesTab::kTree, OnTreeRightClick)
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

}  // namespace

CDevicesTab::CDevicesTab(CWnd* pParentWnd)
    : CTabDlg(kDevicesTabTemplate, pParentWnd), m_events(1, [this] { CheckDeviceCount(); }) {}

void CDevicesTab::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kTree, m_tree);
}

BOOL CDevicesTab::OnInitDialog() {
    CTabDlg::OnInitDialog();
    m_lastDeviceCount = 0;
    for (auto [button, id, icon] : {std::tuple(&m_addCamera, kAddCamera, kAddCameraIcon),
                                    std::tuple(&m_addDataCard, kAddDataCard, kAddDataCardIcon)}) {
        if (button->CreateInPlaceOf(this, id)) {
            button->SetIconFromResource(icon, 0);
            button->SetFlat(FALSE);
        }
    }
    m_images.Create(kTreeImages, 16, 1, kTransparent);
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    m_events.Watch(GetQWidget());
    RebuildTree();
    return TRUE;
}

void CDevicesTab::CheckDeviceCount() {
    CRecordGroup* group = GetGroup();
    if (!group || group->GetDeviceCount() == m_lastDeviceCount)
        return;
    m_lastDeviceCount = group->GetDeviceCount();
    OnGroupChanged();
}

void CDevicesTab::OnGroupChanged() {
    RebuildTree();
}

void CDevicesTab::BuildLabels(CRecordGroup& group, std::vector<QString>* labels,
                              std::vector<DWORD>* images) {
    const auto add = [&](const QString& label, int image) {
        labels->push_back(label);
        images->push_back(static_cast<DWORD>(image));
    };
    add(QStringLiteral("0:Devices"), kDevicesImage);
    for (int i = 0; i < group.GetDeviceCount(); ++i) {
        CDevice* device = group.GetDeviceAt(i);
        if (!device)
            continue;
        CDeviceDescriptor descriptor;
        device->GetDescriptor(&descriptor);
        double rate = 0.0;
        device->GetRecordRate(&rate);
        IDriverDevice* driver = device->Driver();
        switch (descriptor.m_type) {
            case kDeviceTypeDataCard: {
                int points = 0;
                if (driver)
                    driver->GetPointsPerFrame(&points);
                add(QStringLiteral("1:") + descriptor.m_name, kDataCardImage);
                add(QStringLiteral("2:") + QFormatC("Rate %4.2f Hz", rate), kDetailImage);
                add(QStringLiteral("2:") + QFormatC("Points/Frame %d", points), kDetailImage);
                break;
            }
            case kDeviceTypeCamera: {
                int width = 0;
                int height = 0;
                device->GetResolution(&width, &height);
                double seconds = 0.0;
                if (driver)
                    driver->GetExposure(&seconds);
                const double exposureNs = seconds * 1e9;
                add(QStringLiteral("1:") + descriptor.m_name, kCameraImage);
                add(QStringLiteral("2:") + QFormatC("Rate %4.2f Hz", rate), kDetailImage);
                add(QStringLiteral("2:") + QFormatC("Resolution %d x%d", width, height),
                    kDetailImage);
                add(QStringLiteral("2:") + QFormatC("Exposure %6.2f usec", exposureNs * 0.001),
                    kDetailImage);
                break;
            }
            default:
                break;
        }
    }
}

void CDevicesTab::RebuildTree() {
    if (!m_tree.GetSafeHwnd())
        return;
    m_tree.DeleteAllItems();
    CRecordGroup* group = GetGroup();
    if (!group)
        return;
    std::vector<QString> labels;
    std::vector<DWORD> images;
    BuildLabels(*group, &labels, &images);
    HTREEITEM root = m_tree.InsertItem(QStringLiteral("No Devices"));
    m_tree.SetItemImage(root, kDevicesImage, kDevicesImage);
    if (group->GetDeviceCount() > 0)
        SyncTreeLabels(&m_tree, labels, root, nullptr, &images);
    m_tree.Expand(root, TVE_EXPAND);
}

void CDevicesTab::AskOwnerForDevice(int kind) {
    CRecordGroup* group = GetGroup();
    if (IRecordGroupOwner* owner = group ? group->GetOwner() : nullptr)
        owner->AddDeviceOfKind(kind);
}

void CDevicesTab::OnAddCamera() {
    AskOwnerForDevice(kDeviceTypeCamera);
}

void CDevicesTab::OnAddDataCard() {
    AskOwnerForDevice(kDeviceTypeDataCard);
}

void CDevicesTab::OnTreeRightClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
}
