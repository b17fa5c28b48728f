#pragma once

// CDataQNSensorView: the view of a live sensor window of the second family: the sensor control
// ("QNSensA", the device's name and state) above the graph control ("QNGraph"), which shows
// the card's live data, redrawn on the view's timer while the card acquires.

#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "platform/controls/QnGraphDlg.h"
#include "sensordata/SensorStateCtrl.h"
#include "views/MView.h"

class CDataAcqWnd;
class CDataQNSensorDoc;

class CDataQNSensorView : public CMView {
    DECLARE_DYNCREATE(CDataQNSensorView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR kRedrawTimer = 1157;
    static constexpr UINT kRedrawMs = 100;
    static constexpr int kStateHeight = 22;
    static constexpr int kSensorControlId = 1001;
    static constexpr int kGraphControlId = 1002;

    CDataQNSensorView();
    ~CDataQNSensorView() override;

    CDataQNSensorDoc* GetSensorDocument() const;
    CDataAcqWnd* GetCard() const;
    CSensorStateCtrl& GetSensorControl() { return m_sensor; }
    CQnGraphDlg& GetGraph() { return m_graph; }
    // The state line and the card's live data as they are now.
    void Redraw();

    // Opens the document's device, makes both controls, starts the card's acquisition and the
    // redraw timer.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();

private:
    void LayOut(int cx, int cy);

    CDeviceManager m_manager;
    CDeviceLink m_link;
    CSensorStateCtrl m_sensor;
    CQnGraphDlg m_graph;
};
