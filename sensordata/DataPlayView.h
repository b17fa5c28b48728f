#pragma once

// CDataPlayView: the view of a data playback window of the first family. It shows its
// document's data set in the data display of its sensor panel, drawn by format settings of
// its own that show every channel the data has on. Its frames are the data's scans: the
// current frame is the scan under the display's cursor, the rate the scan rate, the frame
// count the number of scans and the zero frame the data's zero point (or its second origin
// while the display counts from there).
//
// A play group reaches it as a playback view and through IDataPlayView and IDataMemberView:
// when the user moves the cursor the view calls the group's time callback with (scan, 1, scan
// rate, source name) and tells its frame (kMemberFrameMovedMessage) so that the play bar
// follows. Its frame-change listener adapter posts kMsgDataFrameChanged, on which the view
// draws its data again and reads the cursor's scan back.

#include "frames/IDataPlayView.h"
#include "groups/IDataMemberView.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/SensorPanelHost.h"
#include "sensordata/model/SensorDataSet.h"
#include "views/PlaybackView.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class CChangedFrameDataView;
class CDataPlayDoc;

class CDataPlayView : public CPlaybackView, public IDataPlayView, public IDataMemberView {
    DECLARE_DYNCREATE(CDataPlayView)
    DECLARE_MESSAGE_MAP()

public:
    CDataPlayView();
    ~CDataPlayView() override;

    CDataPlayDoc* GetDataDocument() const;
    // A copy of the document's data set holder (empty without a document).
    CSharedRef<CSensorDataSet> GetDataSet() const;

    // The record controller's page keeps a display mode here.
    void SetDisplayMode(int mode) { m_displayMode = mode; }
    int GetDisplayMode() const { return m_displayMode; }
    // The camera view the record pages matched with this playback; null before, or once that
    // window is gone.
    CView* GetDisplayPartner() const;
    void SetDisplayPartner(CView* view);
    // The data display without its buttons and read-out: the graph fills the view. 0.
    int HidePanelControls();
    // The frame-change listener adapter, which stays the view's: E_POINTER without it or out.
    HRESULT GetChangedFrameView(IIdUnknown** out);
    CSensorPanelHost& GetPanelHost() { return m_panelHost; }
    CFormatSettingsDlg& GetFormatSettings() { return m_format; }
    BOOL IsPanelAttached() const { return m_panelAttached; }

    // IDataMemberView: the group's time callback.
    void SetTimeRange(DataTimeCallback fn, void* context) override;
    // Moves to scan as a move of the cursor does: the group follows.
    void GoToScan(int scan);

    // IDataPlayView.
    void DataSetDataSet(const CSharedRef<CSensorDataSet>& data) override;
    CSharedRef<CSensorDataSet> DataGetDataSet() override { return GetDataSet(); }
    IIdUnknown* DataGetFrameChangeAdapter() override;

    // A negative frame counts as 0; the display's cursor goes to the scan unless it is the
    // current one already and force is 0.
    void SetCurrentFrame(int frame, int force) override;
    // The zero frame: FALSE without a data set; the zero point, or the second origin while
    // times count from it.
    int GetFirstFrameNumber(int* first) const override;
    double GetFrameRate() const override;
    int GetFrameCount() const override;
    // While the display counts from the data's second origin (its data-centric check).
    BOOL IsTimeFromSecondOrigin() const override;
    // The display's data-centric check (mode 1) or not (mode 0).
    void SetGraphNumberingMode(int mode) override;
    int GetGraphNumberingMode() const override;
    // The data set's zero point, told to the document that holds the set.
    BOOL SetZeroFrame(int frame) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // The frame's play bar shows the view's state as it becomes active.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnDraw(CDC* pDC) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    LRESULT OnDataFrameChanged(WPARAM wParam, LPARAM lParam);

private:
    // The display draws what the document holds, by the view's format settings.
    class DataSource;

    static void CursorHandler(void* context, int scan);
    // The user (or the play bar) moved to scan.
    void OnCursorMoved(int scan);
    // The display shows the data set held now: a new one from its start, a changed one
    // keeping the user's zoom, pan and cursor.
    void ShowData(bool newData);

    int m_displayMode = 0;
    QPointer<QWidget> m_displayPartner;
    CSensorPanelHost m_panelHost;
    BOOL m_panelAttached = FALSE;
    DataTimeCallback m_timeCallback = nullptr;
    void* m_timeContext = nullptr;
    std::unique_ptr<CChangedFrameDataView> m_frameAdapter;
    CFormatSettingsDlg m_format;
};
