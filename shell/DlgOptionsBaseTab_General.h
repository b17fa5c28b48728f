#pragma once

#include "shell/OptionFieldsPage.h"

// Opening and window behaviour ("AppBehave:" keys of the General Settings tab).
class CDlgOptionsBaseTab_General : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_General)
    DECLARE_MESSAGE_MAP()
public:
    explicit CDlgOptionsBaseTab_General(CWnd* pParentWnd = nullptr);
    // Loads the persisted values, then applies the basic-interface rule.
    void LoadFromRegistry() override;
    void UpdateControls() override;
    // Single play-group window: forces the values that go with it.
    void ApplyBasicInterface();
    void RestoreDefaults() override;

protected:
    // "Remove Widow Max, Min, and Close Controls" clicked: the rule applies to what the
    // controls show.
    void OnRemoveMaxMinClose();
};
