#include "platform/framework/ColorDialog.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/Wnd.h"

CColorDialog::CColorDialog(COLORREF initial, DWORD, CWnd* pParentWnd)
    : m_color(initial), m_parent(pParentWnd) {}

int CColorDialog::DoModal() {
    const std::optional<COLORREF> chosen = AfxPrompter().ChooseColor(
        ColorPrompt{m_color, m_parent ? m_parent->GetQWidget() : nullptr});
    if (!chosen)
        return IDCANCEL;
    m_color = *chosen;
    return IDOK;
}
