#pragma once

// CDlgOptionsBase: a store of option pages and the tabbed dialog that edits them. Each entry holds
// a value page (the live values) and an edit page of the same class (the tab's child dialog);
// reads and writes go to the value pages in entry order.

#include "platform/com/ISettingsStore.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/TabCtrl.h"

#include <QString>

#include <vector>

class CArchive;
class CDlgOptionsBaseTab;
struct NMHDR;

inline constexpr UINT kOptionsTabCtrlId = 1661;

class CDlgOptionsBase : public CDialog, public ISettingsStore {
    DECLARE_DYNAMIC(CDlgOptionsBase)

public:
    explicit CDlgOptionsBase(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDlgOptionsBase() override;

    // E_FAIL for a null out; otherwise *out = GetValue and S_OK, VT_EMPTY included.
    HRESULT GetSetting(const QString& key, VARIANT* out, int index = -1) override;
    // S_OK when a page took the value, else E_FAIL.
    HRESULT SetSetting(const QString& key, VARIANT value, int index) override;

    // The first answer of the value pages that is not VT_EMPTY, else VT_EMPTY.
    VARIANT GetValue(const QString& key, int index);
    // Offers the value to the value pages in order; the first that knows key takes it.
    int SetValue(const QString& key, const VARIANT& value, int index);

    // Appends an entry; owned pages are deleted with the store.
    void AddPage(CDlgOptionsBaseTab* valuePage, CDlgOptionsBaseTab* editPage, UINT nIDTemplate,
                 const QString& name, BOOL owned, BOOL hasTab);
    void SetTitle(const QString& title) { m_title = title; }
    QString GetTitle() const { return m_title; }
    int GetPageCount() const { return static_cast<int>(m_valuePages.size()); }
    CDlgOptionsBaseTab* GetValuePage(int entry) const { return m_valuePages.at(entry); }
    CDlgOptionsBaseTab* GetEditPage(int entry) const { return m_editPages.at(entry); }

    void LoadAllFromRegistry();
    void SaveAllToRegistry();

    // The store's schema only.
    void Serialize(CArchive& ar) override;
    // The schema, then every value page in entry order. Loading guards each page on its own: a
    // page that fails keeps what it had read so far and the next page is read.
    void SerializeAll(CArchive& ar);

    // E_FAIL, silently, when the file cannot be opened. `other`, when given, is serialised
    // instead of this store.
    HRESULT LoadFromFile(const QString& path, CDlgOptionsBase* other = nullptr);
    // Writes a temporary file beside path and renames it over path, so a failed save leaves the
    // old file whole; a failure says "Could not save file." and gives E_FAIL.
    HRESULT SaveToFile(const QString& path, CDlgOptionsBase* other = nullptr);
    // The option file in the application folder; E_FAIL when its name or extension is empty.
    HRESULT LoadOptionFile();
    HRESULT SaveOptionFile();
    QString OptionFilePath() const;
    // The tab control (1661) while the dialog is open.
    CTabCtrl& GetTabCtrl() { return m_tabCtrl; }

    // The folder that was current at start-up, where option files live. The application sets it
    // when it starts; until then it is the current folder.
    static void SetApplicationFolder(const QString& folder);
    static QString ApplicationFolder();

protected:
    BOOL OnInitDialog() override;
    // Commits the edit pages to the value pages; a page that fails validation is shown and
    // nothing is committed.
    void OnOK() override;
    void OnTabSelChanging(NMHDR* pNotifyStruct, LRESULT* pResult);
    void OnTabSelChange(NMHDR* pNotifyStruct, LRESULT* pResult);
    // Shows the entry of a tab index (tab indices count only entries with a tab).
    void ShowTab(int tabIndex);
    // Runs validation on every edit page; the first that fails is shown. FALSE then.
    BOOL ValidateEditPages();

    UINT m_nIDTemplate;
    CTabCtrl m_tabCtrl;
    bool m_hasTabCtrl = false;
    std::vector<CDlgOptionsBaseTab*> m_valuePages;
    std::vector<CDlgOptionsBaseTab*> m_editPages;
    std::vector<UINT> m_pageTemplates;
    std::vector<QString> m_pageNames;
    std::vector<BOOL> m_pageOwned;
    std::vector<BOOL> m_pageHasTab;
    QString m_title;
    int m_schema = 1;
    QString m_optionFileName;
    QString m_optionFileExt;

    DECLARE_MESSAGE_MAP()
};
