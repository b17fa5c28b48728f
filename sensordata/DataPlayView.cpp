#include "sensordata/DataPlayView.h"

#include "frames/ChangedFrameDataView.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/DataPlayDoc.h"
#include "sensordata/DataQNPlayFrameVCF.h"
#include "sensordata/SensorPanel.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "views/VidFrame.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CDataPlayView, CPlaybackView)

BEGIN_MESSAGE_MAP(CDataPlayView, CPlaybackView)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(kMsgDataFrameChanged, OnDataFrameChanged)
END_MESSAGE_MAP()

class CDataPlayView::DataSource : public ISensorDataSource {
public:
    explicit DataSource(CDataPlayView& view) : m_view(view) {}
    CFormatSettingsDlg* GetFormatSettings() override { return &m_view.m_format; }
    CVidraData* GetData() override {
        const CSharedRef<CSensorDataSet> data = m_view.GetDataSet();
        return data.IsEmpty() ? nullptr : data->GetData();
    }
    void SetDataDisplay(CDataDisplayDlg*) override {}

private:
    CDataPlayView& m_view;
};

CDataPlayView::CDataPlayView() : m_frameAdapter(std::make_unique<CChangedFrameDataView>(this)) {
    m_panelHost.SetDataSource(std::make_unique<DataSource>(*this));
}

CDataPlayView::~CDataPlayView() {
    m_frameAdapter.reset();
}

CView* CDataPlayView::GetDisplayPartner() const {
    return m_displayPartner ? dynamic_cast<CView*>(CWnd::FromWidgetPermanent(m_displayPartner))
                            : nullptr;
}

void CDataPlayView::SetDisplayPartner(CView* view) {
    m_displayPartner = view ? view->GetQWidget() : nullptr;
}

CDataPlayDoc* CDataPlayView::GetDataDocument() const {
    return dynamic_cast<CDataPlayDoc*>(GetDocument());
}

CSharedRef<CSensorDataSet> CDataPlayView::GetDataSet() const {
    const CDataPlayDoc* doc = GetDataDocument();
    return doc ? doc->GetDataSet() : CSharedRef<CSensorDataSet>();
}

int CDataPlayView::HidePanelControls() {
    if (CDataDisplayDlg* display = m_panelHost.GetDataDisplay())
        display->ShowControls(false);
    return 0;
}

HRESULT CDataPlayView::GetChangedFrameView(IIdUnknown** out) {
    if (!out || !m_frameAdapter)
        return E_POINTER;
    *out = m_frameAdapter.get();
    return S_OK;
}

IIdUnknown* CDataPlayView::DataGetFrameChangeAdapter() {
    return m_frameAdapter.get();
}

void CDataPlayView::DataSetDataSet(const CSharedRef<CSensorDataSet>& data) {
    if (CDataPlayDoc* doc = GetDataDocument())
        doc->SetDataSet(data, 1);
}

void CDataPlayView::SetTimeRange(DataTimeCallback fn, void* context) {
    m_timeCallback = fn;
    m_timeContext = context;
}

void CDataPlayView::SetCurrentFrame(int frame, int force) {
    frame = std::max(frame, 0);
    if (frame != GetCurrentFrame() || force)
        m_panelHost.SetPosition(frame);
    CPlaybackView::SetCurrentFrame(frame, force);
}

int CDataPlayView::GetFirstFrameNumber(int* first) const {
    const CSharedRef<CSensorDataSet> data = GetDataSet();
    if (data.IsEmpty())
        return FALSE;
    if (first)
        *first = IsTimeFromSecondOrigin() ? data->GetSecondOrigin() : data->GetZeroPoint();
    return TRUE;
}

double CDataPlayView::GetFrameRate() const {
    const CSharedRef<CSensorDataSet> data = GetDataSet();
    const double rate = data.IsEmpty() ? 0.0 : data->GetScanRate();
    return rate > 0.0 ? rate : 1.0;
}

int CDataPlayView::GetFrameCount() const {
    const CSharedRef<CSensorDataSet> data = GetDataSet();
    return data.IsEmpty() ? 0 : std::max(data->GetData()->m_nTotalScans, 0);
}

BOOL CDataPlayView::IsTimeFromSecondOrigin() const {
    const CDataDisplayDlg* display = m_panelHost.GetDataDisplay();
    return display && display->IsDataCentric() ? TRUE : FALSE;
}

void CDataPlayView::SetGraphNumberingMode(int mode) {
    CPlaybackView::SetGraphNumberingMode(mode);
    if (CDataDisplayDlg* display = m_panelHost.GetDataDisplay())
        display->SetDataCentric(mode == 1);
}

int CDataPlayView::GetGraphNumberingMode() const {
    const CDataDisplayDlg* display = m_panelHost.GetDataDisplay();
    return display ? (display->IsDataCentric() ? 1 : 0) : CPlaybackView::GetGraphNumberingMode();
}

BOOL CDataPlayView::SetZeroFrame(int frame) {
    const CSharedRef<CSensorDataSet> data = GetDataSet();
    if (data.IsEmpty())
        return FALSE;
    data->SetZeroPoint(frame);
    DataSetDataSet(data);
    return TRUE;
}

void CDataPlayView::OnInitialUpdate() {
    if (!m_panelAttached && SUCCEEDED(m_panelHost.Attach(this))) {
        m_panelHost.SetCursorCallback(CursorHandler, this);
        // The window opens at the size of the data display.
        const CRect panel = m_panelHost.GetWindowRect();
        if (CFrameWnd* frame = GetParentFrame(); frame && !panel.IsRectEmpty())
            frame->SetWindowPos(nullptr, 0, 0, panel.Width(), panel.Height(),
                                SWP_NOMOVE | SWP_NOZORDER);
        m_panelAttached = TRUE;
    }
    CPlaybackView::OnInitialUpdate();
}

void CDataPlayView::OnUpdate(CView*, LPARAM lHint, CObject*) {
    ShowData(lHint != CDataPlayDoc::kHintDataChanged);
    if (auto* frame = dynamic_cast<CDataQNPlayFrameVCF*>(GetParentFrame()))
        frame->RefreshPlayBar();
}

void CDataPlayView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CPlaybackView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (auto* frame = dynamic_cast<CDataQNPlayFrameVCF*>(GetParentFrame()); frame && bActivate)
        frame->RefreshPlayBar();
}

void CDataPlayView::ShowData(bool newData) {
    const CSharedRef<CSensorDataSet> data = GetDataSet();
    CVidraData* model = data.IsEmpty() ? nullptr : data->GetData();
    if (newData) {
        m_format.SetData(model);
        for (int c = 0; c < CVidraData::kChannelSlots; ++c)
            m_format.m_displayed[c] = model && model->m_onFlags[c] != 0;
    }
    SetChannelCount(model ? model->GetActiveChannelCount() : 0);
    CDataDisplayDlg* display = m_panelHost.GetDataDisplay();
    if (!display)
        return;
    display->SetData(m_panelHost.GetPanel()->GetShownData());
    const int last = std::max(GetFrameCount() - 1, 0);
    if (newData) {
        display->BuildPlot();
        CPlaybackView::SetCurrentFrame(std::min(GetCurrentFrame(), last), 0);
        m_panelHost.SetPosition(GetCurrentFrame());
    } else {
        display->UpdatePlot();
    }
    display->UpdateReadout();
}

void CDataPlayView::CursorHandler(void* context, int scan) {
    static_cast<CDataPlayView*>(context)->OnCursorMoved(scan);
}

void CDataPlayView::GoToScan(int scan) {
    SetCurrentFrame(scan, 0);
    OnCursorMoved(GetCurrentFrame());
}

void CDataPlayView::OnCursorMoved(int scan) {
    CPlaybackView::SetCurrentFrame(scan, 0);
    if (m_timeCallback)
        m_timeCallback(m_timeContext, scan, 1, GetFrameRate(), GetSourceName());
    // The frame's play bar follows the cursor.
    if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(kMemberFrameMovedMessage, reinterpret_cast<WPARAM>(this), scan);
}

LRESULT CDataPlayView::OnDataFrameChanged(WPARAM, LPARAM) {
    ShowData(false);
    CPlaybackView::SetCurrentFrame(m_panelHost.GetPosition(), 0);
    return 0;
}

void CDataPlayView::OnDraw(CDC*) {}

void CDataPlayView::OnSize(UINT, int cx, int cy) {
    Default();
    m_panelHost.Resize(cx, cy);
}

BOOL CDataPlayView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CDataDisplayDlg* display = m_panelHost.GetDataDisplay();
        display && display->CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CPlaybackView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDataPlayView::OnDestroy() {
    // The display calls back into this view: it goes with the view's window.
    m_panelHost.SetCursorCallback(nullptr, nullptr);
    CPlaybackView::OnDestroy();
}
