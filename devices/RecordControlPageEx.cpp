#include "devices/RecordControlPageEx.h"

#include "platform/com/ISettingsStore.h"

IMPLEMENT_DYNAMIC(CRecordControlPageEx, CRecordControlPage)

CRecordControlPageEx::CRecordControlPageEx(UINT nIDTemplate, CWnd* pParentWnd)
    : CRecordControlPage(nIDTemplate, pParentWnd) {}

CRecordControlPageEx::~CRecordControlPageEx() = default;

CSensorPage* CRecordControlPageEx::MakeSubPage(int mode) {
    CWnd* host = GetDlgItem(kSubPageHost);
    if (!host)
        return nullptr;
    if (m_subPage && m_subPage->GetSafeHwnd())
        m_subPage->DestroyWindow();
    m_subPage = std::make_unique<CSensorPage>();
    m_subPage->SetMode(mode);
    m_subPage->SetViewFinder(GetViewFinder());
    m_subPage->GetLink().SetProvider(m_link.GetProvider());
    m_subPage->GetLink().SetCommandTargetProvider(m_link.GetCommandTargetProvider());
    if (!m_subPage->Create(host)) {
        m_subPage.reset();
        return nullptr;
    }
    m_subPage->CenterInHost(0, 0, 0, 0);
    m_subPage->ShowWindow(SW_SHOW);
    return m_subPage.get();
}

BOOL CRecordControlPageEx::OnInitDialog() {
    CRecordControlPage::OnInitDialog();
    MakeSubPage(1);
    return TRUE;
}

void CRecordControlPageEx::SetViewFinder(IDeviceViewFinder* finder) {
    CRecordControlPage::SetViewFinder(finder);
    if (m_subPage)
        m_subPage->SetViewFinder(finder);
}

bool CRecordControlPageEx::SingleRecordTabOn() const {
    ISettingsStore* store = SettingsStore();
    if (!store)
        return true;
    VARIANT value{};
    if (FAILED(store->GetSetting(QString::fromLatin1(kSingleRecordTabKey), &value)) ||
        value.vt == VT_EMPTY)
        return true;
    VARIANT number{};
    const bool on = FAILED(VariantChangeType(&number, &value, 0, VT_I4)) || number.lVal != 0;
    VariantClear(&value);
    return on;
}

void CRecordControlPageEx::OnDeviceUpdate() {
    CRecordControlPage::OnDeviceUpdate();
    const int show = SingleRecordTabOn() ? SW_SHOW : SW_HIDE;
    ShowItem(this, kSubPageHost, show);
    if (m_subPage && m_subPage->GetSafeHwnd())
        m_subPage->ShowWindow(show);
}
