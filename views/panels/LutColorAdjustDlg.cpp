#include "views/panels/LutColorAdjustDlg.h"

#include "platform/com/ComCreate.h"
#include "platform/com/ComObject.h"
#include "views/LutParamsDispatch.h"
#include "views/QnCBasicLutModifyStateDriver.h"
#include "views/VidView.h"

#include <QEvent>
#include <QWidget>

IMPLEMENT_DYNAMIC(CLutColorAdjustDlg, CTabDlg)

BEGIN_MESSAGE_MAP(CLutColorAdjustDlg, CTabDlg)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

constexpr const char* kParamsProgId = "Levora.QnCBasicLutParams";
constexpr const char* kModifyStateProgId = "Levora.QnCBasicLutModifyState";

// A new object of the ProgID (the caller's reference), nullptr when it cannot be made.
IDispatch* CreateByProgId(const char* progId) {
    CLSID clsid;
    if (CLSIDFromProgID(QString::fromLatin1(progId), &clsid) != S_OK)
        return nullptr;
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

}  // namespace

// Hears the control's events for the page; the page cuts it off before it goes.
class CLutColorAdjustDlg::EventSink : public CComObject<IDispatch> {
public:
    explicit EventSink(CLutColorAdjustDlg* page) : m_page(page) {}
    void Disconnect() { m_page = nullptr; }

    HRESULT Invoke(DISPID member, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (m_page && member == CLevoraModify::kEventParamsChanged)
            m_page->OnParamsChanged();
        return S_OK;
    }

private:
    CLutColorAdjustDlg* m_page;
};

CLutColorAdjustDlg::CLutColorAdjustDlg() : CLutColorAdjustDlg(kTemplateId) {}

CLutColorAdjustDlg::CLutColorAdjustDlg(UINT templateId) : CTabDlg(templateId) {}

CLutColorAdjustDlg::~CLutColorAdjustDlg() {
    ReleaseLutControl();
}

// Reloads the page whenever it is shown: the active view may have changed meanwhile.
class CLutColorAdjustDlg::ShowWatcher : public QObject {
public:
    explicit ShowWatcher(CLutColorAdjustDlg* page) : m_page(page) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            m_page->LoadFromView();
        return false;
    }

private:
    CLutColorAdjustDlg* m_page;
};

BOOL CLutColorAdjustDlg::OnInitDialog() {
    CTabDlg::OnInitDialog();
    CreateLutControl();
    LoadFromView();
    if (QWidget* widget = GetQWidget()) {
        auto* watcher = new ShowWatcher(this);
        watcher->setParent(widget);
        widget->installEventFilter(watcher);
    }
    return TRUE;
}

void CLutColorAdjustDlg::CreateLutControl() {
    // The template holds the control's place; the control takes it over.
    CWnd* place = GetDlgItem(kControlId);
    if (!place || m_lutControl.GetSafeHwnd())
        return;
    CRect rect;
    place->GetWindowRect(&rect);
    ScreenToClient(&rect);
    place->ShowWindow(SW_HIDE);
    place->SetDlgCtrlID(0);
    CWnd* notice = GetDlgItem(kMissingNoticeId);
    if (!m_lutControl.CreateControl(rect, this, kControlId)) {
        if (notice)
            notice->ShowWindow(SW_SHOW);
        return;
    }
    if (notice)
        notice->ShowWindow(SW_HIDE);
    m_sink = new EventSink(this);
    m_sink->AddRef();
    m_lutControl.AdviseEvents(m_sink);
}

void CLutColorAdjustDlg::ReleaseLutControl() {
    if (m_sink) {
        m_sink->Disconnect();
        m_sink->Release();
        m_sink = nullptr;
    }
    m_lutControl.ReleaseControl();
}

void CLutColorAdjustDlg::OnDestroy() {
    ReleaseLutControl();
    CTabDlg::OnDestroy();
}

CVidView* CLutColorAdjustDlg::AsVideoView(CPlaybackView* view) {
    if (!view || view->GetSourceType() != CPlaybackView::kVideoMember)
        return nullptr;
    return dynamic_cast<CVidView*>(view);
}

CVidView* CLutColorAdjustDlg::FindVideoView() {
    return m_findView ? AsVideoView(m_findView()) : nullptr;
}

int CLutColorAdjustDlg::LoadFromView() {
    CComPtr<IDispatch> colourObject;
    CComPtr<IDispatch> bwObject;
    CComPtr<IDispatch> stateObject;
    colourObject.Attach(CreateByProgId(kParamsProgId));
    bwObject.Attach(CreateByProgId(kParamsProgId));
    stateObject.Attach(CreateByProgId(kModifyStateProgId));
    CLutParamSet colour;
    CLutParamSet bw;
    LONG enabled = 0;
    CVidView* view = FindVideoView();
    m_loadedView = view;
    try {
        if (view) {
            enabled = 1;
            view->GetDisplayLuts(&colour, &bw);
            if (stateObject && view->GetModifyState())
                IQnCBasicLutModifyStateDriver(stateObject.Get(), false)
                    .BLMSSet(view->GetModifyState());
        }
        CopyLutParamsToDispatch(colour, colourObject.Get());
        CopyLutParamsToDispatch(bw, bwObject.Get());
        if (!m_lutControl.GetSafeHwnd())
            return 0;
        m_lutControl.BLMCSetParamsLutsAndState(colourObject.Get(), bwObject.Get(),
                                               stateObject.Get());
        m_lutControl.BLMCSetEnabled(enabled);
    } catch (const COleDispatchException&) {
        return 0;
    }
    return 1;
}

void CLutColorAdjustDlg::OnParamsChanged() {
    // The editor still shows another view's tables: it takes the active view's instead of
    // putting those on it.
    if (FindVideoView() != m_loadedView) {
        LoadFromView();
        return;
    }
    IDispatch* objects[3] = {};
    try {
        m_lutControl.BLMCGetParamsLutsAndState(&objects[0], &objects[1], &objects[2]);
    } catch (const COleDispatchException&) {
        return;
    }
    CComPtr<IDispatch> colourObject;
    CComPtr<IDispatch> bwObject;
    CComPtr<IDispatch> stateObject;
    colourObject.Attach(objects[0]);
    bwObject.Attach(objects[1]);
    stateObject.Attach(objects[2]);
    CLutParamSet colour;
    CLutParamSet bw;
    CopyLutParamsFromDispatch(colourObject.Get(), &colour);
    CopyLutParamsFromDispatch(bwObject.Get(), &bw);
    if (CVidView* view = FindVideoView()) {
        view->SetDisplayLuts(colour, bw);
        IDispatch* state = stateObject.Get();
        view->SetModifyState(&state);
    }
}
