#pragma once

// CSingleRecordPage: the "Record" page of a record controller: the record control page with
// the group's device list (in 2108), the group's record buttons (a record tab in 1010) and the
// page of the device in front (in 2107), laid out for the kind of that device: the camera's
// setting controls show only for a camera. With "ReccCP:SingleRecordTab" at 0 the record
// buttons stand alone.

#include "devices/DevicesTab.h"
#include "devices/RecordControlPageEx.h"
#include "devices/RecordTab.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <vector>

inline constexpr UINT kSingleRecordPageTemplate = 30087;
inline constexpr UINT kSingleRecordButtonsTemplate = 30089;

class CSingleRecordPage : public CRecordControlPageEx {
    DECLARE_DYNAMIC(CSingleRecordPage)

public:
    static constexpr int kReference = 2110;
    static constexpr int kDeviceListHost = 2108;
    static constexpr int kButtonsPlace = 2109;
    static constexpr int kRecordTabHost = 1010;

    // Where the parts of the page stood when it was made (page client coordinates).
    struct Places {
        CRect reference;
        CRect subPage;
        CRect deviceList;
        std::array<CRect, 2> buttons;
    };
    // Where the parts go: with the setting on all three share the page at their places; off,
    // the record buttons stand alone at the top.
    struct Layout {
        CRect subPage;
        CRect deviceList;
        CRect recordTab;
        bool showSubPage = false;
        bool showDeviceList = false;
        bool operator==(const Layout&) const = default;
    };
    static Layout LayoutFor(const Places& places, bool singleRecordTab);

    // The camera's setting controls, shown or hidden together.
    static constexpr int kCameraControls[] = {1544, 1547, 1564, 1075, 1550, 1269, 1271,
                                              1551, 1021, 1552, 1532, 1562, 1554, 1047,
                                              1561, 1555, 1032, 1309, 1556, 1383, 1384};

    explicit CSingleRecordPage(CWnd* pParentWnd = nullptr);
    ~CSingleRecordPage() override;

    // Both links; the target provider also reaches the device list and the record buttons,
    // the view finder the record buttons' link.
    void SetDeviceProvider(CDeviceManager* provider) override;
    void SetTargetProvider(IDeviceCommandTargetProvider* provider) override;
    void SetViewFinder(IDeviceViewFinder* finder) override;

    void ShowCameraControls(bool show);
    BOOL OnInitDialog() override;
    void OnDeviceUpdate() override;

    CDeviceLink& GetDataLink() { return m_dataLink; }
    CRecordTab& GetRecordTab() { return m_recordTab; }
    CDevicesTab& GetDevicesTab() { return m_devicesTab; }
    const Places& GetPlaces() const { return m_places; }
    bool IsLayoutCaptured() const { return m_layoutCaptured != 0; }

private:
    CRect ItemRect(int id) const;
    void MoveItem(int id, const CRect& rect);

    // The data-card side.
    CDeviceLink m_dataLink;
    CDevicesTab m_devicesTab;
    CRecordTab m_recordTab{kSingleRecordButtonsTemplate};
    int m_layoutCaptured = 0;
    Places m_places;
    // The kind whose page stands in 2107 (0: none yet).
    int m_subPageKind = 0;
    // The controls hidden while the record buttons stand alone.
    std::vector<QPointer<QWidget>> m_hiddenAlone;
};
