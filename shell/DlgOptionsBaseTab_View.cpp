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

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_View, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_View::CDlgOptionsBaseTab_View(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30056, kViewFields, nullptr, pParentWnd) {}
