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

constexpr OptionControl kApplicationControls[] = {
    {0, 2069, OptionControl::kCheck},
    {1, 2070, OptionControl::kCheck},
    {2, 2071, OptionControl::kNumber, 0, 1000000000},
    {3, 2072, OptionControl::kCheck},
    {4, 2073, OptionControl::kText},
    {5, 2075, OptionControl::kNumber, 1, 100},
    {6, 2076, OptionControl::kCheck},
    {7, 2086, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Application, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Application::CDlgOptionsBaseTab_Application(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30061, kApplicationFields, nullptr, pParentWnd) {
    SetControls(kApplicationControls);
}

void CDlgOptionsBaseTab_Application::RestoreDefaults() {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        m_ints[i] = m_fields[i].defaultValue;
        m_texts[i].clear();
    }
}
