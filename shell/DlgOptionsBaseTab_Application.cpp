#include "shell/DlgOptionsBaseTab_Application.h"

namespace {

constexpr OptionField kApplicationFields[] = {
    {"AppBehave:bCloseOthersFirst", 0, nullptr, nullptr},
    {"AppBehave:bAutoBracket", 0, nullptr, nullptr},
    {"AppBehave:lAutoBrackHalfWidth", 15, nullptr, nullptr},
    {"AppBehave:bSaveAfterZero", 0, nullptr, nullptr},
    {"AppBehave:szSaveFilePrefix", 0, nullptr, nullptr, ""},
    {"AppBehave:lJPEGLossyQuality", 75, nullptr, nullptr},
    {"AppBehave:bRecordAfterSave", 0, nullptr, nullptr},
    {"AppBehave:bSaveWithUserQuery", 1, nullptr, nullptr},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Application, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Application::CDlgOptionsBaseTab_Application(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30061, kApplicationFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_Application::RestoreDefaults() {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        m_ints[i] = m_fields[i].defaultValue;
        m_texts[i].clear();
    }
}
