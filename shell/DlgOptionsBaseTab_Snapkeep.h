#pragma once

#include "platform/framework/ListBox.h"
#include "shell/DlgOptionsBaseTab.h"

#include <QStringList>

// The one-step save: folders, file name, format and frame range ("SK:" keys); kept in an option
// file.
class CDlgOptionsBaseTab_Snapkeep : public CDlgOptionsBaseTab {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Snapkeep)
    DECLARE_MESSAGE_MAP()
public:
    explicit CDlgOptionsBaseTab_Snapkeep(CWnd* pParentWnd = nullptr);
    void LoadFromRegistry() override {}
    void SaveToRegistry() override {}
    void CopyFrom(const CDlgOptionsBaseTab& page) override;
    VARIANT GetValue(const QString& key, int index) override;
    BOOL SetValue(const QString& key, const VARIANT& value, int index) override;
    void Serialize(CArchive& ar) override;
    // Base name "snapkeep", format "JPG", range -50 to 50; the folders stay.
    void RestoreDefaults();
    // Refills the folder list and enables the range edits when the range option is 1.
    void UpdateControls() override;

    QStringList m_dirs;
    QString m_baseName = "filename";
    QString m_format = "JPG";
    int m_rangeOption = 1;
    int m_rangeFrom = -50;
    int m_rangeTo = 50;

    void OnAdd();
    void OnRemove();
    void OnEditFormat();
    void OnRangeOption();
    void OnRestoreDefaults();

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CListBox m_list;
};
