#pragma once

// CVideoTriggerAdvTab: the advanced video-trigger page: the video-trigger page's controls on a
// dialog of their own, without the page's behaviour.

#include "platform/framework/Dialog.h"

inline constexpr UINT kVideoTriggerAdvTemplate = 30111;

class CVideoTriggerAdvTab : public CDialog {
    DECLARE_DYNAMIC(CVideoTriggerAdvTab)

public:
    explicit CVideoTriggerAdvTab(CWnd* pParentWnd = nullptr);
    ~CVideoTriggerAdvTab() override;
};
