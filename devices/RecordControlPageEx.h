#pragma once

// CRecordControlPageEx: the record control page with the device's own page (the data
// device's record page) embedded in its item 2107, shown while the setting
// "ReccCP:SingleRecordTab" is on (the default) and hidden while it is 0.

#include "devices/RecordControlPage.h"
#include "devices/SensorPage.h"

#include <memory>

class CRecordControlPageEx : public CRecordControlPage {
    DECLARE_DYNAMIC(CRecordControlPageEx)

public:
    static constexpr int kSubPageHost = 2107;
    static constexpr const char* kSingleRecordTabKey = "ReccCP:SingleRecordTab";

    explicit CRecordControlPageEx(UINT nIDTemplate = kRecordControlPageTemplate,
                                  CWnd* pParentWnd = nullptr);
    ~CRecordControlPageEx() override;

    BOOL OnInitDialog() override;
    void OnDeviceUpdate() override;
    void SetViewFinder(IDeviceViewFinder* finder) override;

    // The embedded page; null before the page is made or without item 2107.
    CSensorPage* GetSubPage() const { return m_subPage.get(); }
    // "ReccCP:SingleRecordTab" of the settings store: true when absent.
    bool SingleRecordTabOn() const;

protected:
    // Makes the embedded page for mode (see CSensorPage::SetMode) inside item 2107 in place of
    // the one before; null without the item.
    CSensorPage* MakeSubPage(int mode);

private:
    std::unique_ptr<CSensorPage> m_subPage;
};
