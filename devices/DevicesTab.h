#pragma once

// CDevicesTab: the "Devices" page of a record group: its devices as a tree with their main
// recording parameters, and "Add Camera" and "Add Data Card", which ask the group's owner for
// one more device. The page follows its group as a listener and also watches its own events:
// once the group has another number of devices, the next event rebuilds the tree.

#include "devices/PageEventCounter.h"
#include "devices/core/RecordGroupListener.h"
#include "platform/framework/ImageList.h"
#include "platform/framework/TreeCtrl.h"
#include "views/panels/OwnerDrawButton.h"
#include "views/panels/TabDlg.h"

#include <QString>

#include <vector>

class CRecordGroup;

inline constexpr UINT kDevicesTabTemplate = 173;

class CDevicesTab : public CTabDlg, public CRecordGroupListener {
    DECLARE_DYNAMIC(CDevicesTab)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kTree = 2015;
    static constexpr int kAddCamera = 2017;
    static constexpr int kAddDataCard = 2016;
    static constexpr UINT kAddCameraIcon = 187;
    static constexpr UINT kAddDataCardIcon = 188;
    static constexpr UINT kTreeImages = 185;
    // Images of the tree's bitmap.
    static constexpr int kDetailImage = 0;
    static constexpr int kDataCardImage = 1;
    static constexpr int kDevicesImage = 2;
    static constexpr int kCameraImage = 3;

    explicit CDevicesTab(CWnd* pParentWnd = nullptr);

    // The tree's labels ("level:text") and their images for the devices of group, in group
    // order; devices the group cannot hand out are left out.
    static void BuildLabels(CRecordGroup& group, std::vector<QString>* labels,
                            std::vector<DWORD>* images);
    // Empties the tree; with a group, shows its devices under the root ("No Devices" while
    // it has none).
    void RebuildTree();

    void OnGroupChanged() override;
    BOOL OnInitDialog() override;

    CTreeCtrl& GetTree() { return m_tree; }
    COwnerDrawButton& GetAddCameraButton() { return m_addCamera; }
    COwnerDrawButton& GetAddDataCardButton() { return m_addDataCard; }
    int GetLastDeviceCount() const { return m_lastDeviceCount; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAddCamera();
    void OnAddDataCard();
    void OnTreeRightClick(NMHDR* pNMHDR, LRESULT* pResult);

private:
    void AskOwnerForDevice(int kind);
    // Rebuilds when the group's device count is not the one last seen.
    void CheckDeviceCount();

    int m_lastDeviceCount = 0;
    CTreeCtrl m_tree;
    COwnerDrawButton m_addCamera;
    COwnerDrawButton m_addDataCard;
    CImageList m_images;
    CPageEventCounter m_events;
};
