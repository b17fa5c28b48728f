#include "shell/DlgOptionsBaseTab_View.h"

namespace {

constexpr OptionField kViewFields[] = {
    {"View:MainTB", 1, nullptr, nullptr},
    {"View:PlayProjTB", 1, nullptr, nullptr},
    {"View:RecProjTB", 1, nullptr, nullptr},
    {"View:PlayProjTBinProj", 0, nullptr, nullptr},
    {"View:RecProjTBinProj", 0, nullptr, nullptr},
    {"View:UseLargeTB", 0, nullptr, nullptr},
    {"View:ViewDirAutoBrowser", 1, nullptr, nullptr},
    {"View:ProjLayoutTB", 1, nullptr, nullptr},
    {"View:VideoViewTB", 1, nullptr, nullptr},
    {"View:VideoViewTBinProj", 0, nullptr, nullptr},
    {"View:VideoToolsTB", 1, nullptr, nullptr},
    {"View:ViewFullPathPlayTitles", 0, nullptr, nullptr},
};

// Every field is a check box on the page, in the order of the fields.
constexpr OptionControl kViewControls[] = {
    {0, 2060, OptionControl::kCheck},  {1, 2061, OptionControl::kCheck},
    {2, 2062, OptionControl::kCheck},  {3, 2063, OptionControl::kCheck},
    {4, 2035, OptionControl::kCheck},  {5, 2065, OptionControl::kCheck},
    {6, 2078, OptionControl::kCheck},  {7, 2124, OptionControl::kCheck},
    {8, 2125, OptionControl::kCheck},  {9, 2126, OptionControl::kCheck},
    {10, 2127, OptionControl::kCheck}, {11, 2202, OptionControl::kCheck},
};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_View, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_View::CDlgOptionsBaseTab_View(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30056, kViewFields, nullptr, pParentWnd) {
    SetControls(kViewControls);
}
