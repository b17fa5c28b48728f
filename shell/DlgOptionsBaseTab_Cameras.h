#pragma once

#include "shell/OptionFieldsPage.h"

// Camera families the device search includes ("Cameras:" keys).
class CDlgOptionsBaseTab_Cameras : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Cameras)
public:
    explicit CDlgOptionsBaseTab_Cameras(CWnd* pParentWnd = nullptr);

    // The keys the device search reads: one switch per camera family, and whether a camera's
    // playback opens with it.
    static constexpr const char* kFamilyCheckKeys[] = {"Cameras:CheckKRM", "Cameras:CheckFASTEC",
                                                       "Cameras:CheckFC",  "Cameras:CheckHG",
                                                       "Cameras:CheckIDT", "Cameras:CheckORVEX"};
    static constexpr const char* kOpenPlaybackKey = "Cameras:OpenPlaybackFASTEC";
};
