#include "platform/framework/Static.h"

#include "platform/framework/ControlWidgets.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(const QString& text, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CreateControlWindow(*this, DlgControl::Static, text, dwStyle, rect, pParentWnd, nID);
}
