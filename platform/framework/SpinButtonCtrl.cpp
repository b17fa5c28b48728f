#include "platform/framework/SpinButtonCtrl.h"

#include "platform/framework/ControlWidgets.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

namespace {

RmSpin* Spin(const CWnd* wnd) {
    return dynamic_cast<RmSpin*>(wnd->GetQWidget());
}

}  // namespace

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::Spin, QString(), dwStyle, rect, pParentWnd, nID);
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
    if (RmSpin* spin = Spin(this)) {
        spin->m_lower = nLower;
        spin->m_upper = nUpper;
        spin->m_pos = std::clamp(spin->m_pos, std::min(nLower, nUpper), std::max(nLower, nUpper));
    }
}

void CSpinButtonCtrl::GetRange32(int& nLower, int& nUpper) const {
    RmSpin* spin = Spin(this);
    nLower = spin ? spin->m_lower : 0;
    nUpper = spin ? spin->m_upper : 0;
}

int CSpinButtonCtrl::SetPos(int nPos) {
    RmSpin* spin = Spin(this);
    if (!spin)
        return 0;
    const int previous = spin->Position();
    spin->SetPosition(nPos);
    return previous;
}

int CSpinButtonCtrl::GetPos() const {
    RmSpin* spin = Spin(this);
    return spin ? spin->Position() : 0;
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
    RmSpin* spin = Spin(this);
    if (!spin)
        return nullptr;
    CWnd* previous = CWnd::FromWidget(spin->m_buddy);
    spin->m_buddy = pWndBuddy ? pWndBuddy->GetQWidget() : nullptr;
    return previous;
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
    RmSpin* spin = Spin(this);
    return spin ? CWnd::FromWidget(spin->m_buddy) : nullptr;
}
