#include "shell/DlgOptionsBase.h"

#include "platform/com/Variant.h"
#include "platform/framework/Archive.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/TabCtrl.h"
#include "platform/wintypes/WinMessages.h"
#include "shell/DlgOptionsBaseTab.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString& ApplicationFolderSetting() {
    static QString folder;
    return folder;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBase, CDialog)

BEGIN_MESSAGE_MAP(CDlgOptionsBase, CDialog)
ON_NOTIFY(TCN_SELCHANGING, kOptionsTabCtrlId, OnTabSelChanging)
ON_NOTIFY(TCN_SELCHANGE, kOptionsTabCtrlId, OnTabSelChange)
END_MESSAGE_MAP()

CDlgOptionsBase::CDlgOptionsBase(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_nIDTemplate(nIDTemplate) {}

CDlgOptionsBase::~CDlgOptionsBase() {
    for (size_t i = 0; i < m_valuePages.size(); ++i) {
        if (!m_pageOwned[i])
            continue;
        delete m_valuePages[i];
        delete m_editPages[i];
    }
}

HRESULT CDlgOptionsBase::GetSetting(const QString& key, VARIANT* out, int index) {
    if (!out)
        return E_FAIL;
    *out = GetValue(key, index);
    return S_OK;
}

HRESULT CDlgOptionsBase::SetSetting(const QString& key, VARIANT value, int index) {
    return SetValue(key, value, index) ? S_OK : E_FAIL;
}

VARIANT CDlgOptionsBase::GetValue(const QString& key, int index) {
    for (CDlgOptionsBaseTab* page : m_valuePages) {
        VARIANT value = page->GetValue(key, index);
        if (value.vt != VT_EMPTY)
            return value;
    }
    return VARIANT();
}

int CDlgOptionsBase::SetValue(const QString& key, const VARIANT& value, int index) {
    for (CDlgOptionsBaseTab* page : m_valuePages) {
        if (const BOOL taken = page->SetValue(key, value, index))
            return taken;
    }
    return 0;
}

void CDlgOptionsBase::AddPage(CDlgOptionsBaseTab* valuePage, CDlgOptionsBaseTab* editPage,
                              UINT nIDTemplate, const QString& name, BOOL owned, BOOL hasTab) {
    m_valuePages.push_back(valuePage);
    m_editPages.push_back(editPage);
    m_pageTemplates.push_back(nIDTemplate);
    m_pageNames.push_back(name);
    m_pageOwned.push_back(owned);
    m_pageHasTab.push_back(hasTab);
}

void CDlgOptionsBase::LoadAllFromRegistry() {
    for (CDlgOptionsBaseTab* page : m_valuePages)
        page->LoadFromRegistry();
}

void CDlgOptionsBase::SaveAllToRegistry() {
    for (CDlgOptionsBaseTab* page : m_valuePages)
        page->SaveToRegistry();
}

void CDlgOptionsBase::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_schema;
    else
        ar >> m_schema;
}

void CDlgOptionsBase::SerializeAll(CArchive& ar) {
    Serialize(ar);
    for (CDlgOptionsBaseTab* page : m_valuePages) {
        if (ar.IsStoring()) {
            page->Serialize(ar);
            continue;
        }
        // A page cut short keeps what it had; the pages after it still get their turn.
        try {
            page->Serialize(ar);
        } catch (const CException&) {
        }
    }
}

HRESULT CDlgOptionsBase::LoadFromFile(const QString& path, CDlgOptionsBase* other) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return E_FAIL;
    CDlgOptionsBase* store = other ? other : this;
    try {
        CArchive ar(&file, CArchive::load, 4096);
        ar.m_strFileName = path;
        store->SerializeAll(ar);
        ar.Close();
        file.Close();
    } catch (const CException&) {
        // Only the store's schema is read outside the page guards.
        file.Abort();
    }
    return S_OK;
}

HRESULT CDlgOptionsBase::SaveToFile(const QString& path, CDlgOptionsBase* other) {
    CDlgOptionsBase* store = other ? other : this;
    const QString temporary = path + ".tmp";
    bool saved = false;
    CFile file;
    if (file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
        try {
            CArchive ar(&file, CArchive::store, 4096);
            ar.m_strFileName = path;
            store->SerializeAll(ar);
            ar.Close();
            file.Close();
            // Replace the old file only now that the new one is whole.
            QFile::remove(path + ".old");
            const bool hadOld = QFile::exists(path);
            if (hadOld && !QFile::rename(path, path + ".old")) {
                saved = false;
            } else if (QFile::rename(temporary, path)) {
                QFile::remove(path + ".old");
                saved = true;
            } else if (hadOld) {
                QFile::rename(path + ".old", path);
            }
        } catch (const CException&) {
            file.Abort();
        }
    }
    if (!saved) {
        QFile::remove(temporary);
        AfxMessageBox("Could not save file.", MB_ICONWARNING);
        return E_FAIL;
    }
    return S_OK;
}

QString CDlgOptionsBase::OptionFilePath() const {
    return ApplicationFolder() + m_optionFileName + "." + m_optionFileExt;
}

HRESULT CDlgOptionsBase::LoadOptionFile() {
    if (m_optionFileName.isEmpty() || m_optionFileExt.isEmpty())
        return E_FAIL;
    return LoadFromFile(OptionFilePath());
}

HRESULT CDlgOptionsBase::SaveOptionFile() {
    if (m_optionFileName.isEmpty() || m_optionFileExt.isEmpty())
        return E_FAIL;
    return SaveToFile(OptionFilePath());
}

void CDlgOptionsBase::SetApplicationFolder(const QString& folder) {
    QString withSlash = QDir::fromNativeSeparators(folder);
    if (!withSlash.isEmpty() && !withSlash.endsWith('/'))
        withSlash += '/';
    ApplicationFolderSetting() = withSlash;
}

QString CDlgOptionsBase::ApplicationFolder() {
    if (ApplicationFolderSetting().isEmpty())
        return QDir::currentPath() + '/';
    return ApplicationFolderSetting();
}

BOOL CDlgOptionsBase::OnInitDialog() {
    CDialog::OnInitDialog();
    m_hasTabCtrl = m_tabCtrl.GetSafeHwnd() || m_tabCtrl.SubclassDlgItem(kOptionsTabCtrlId, this);
    CWnd* pageParent = m_hasTabCtrl ? static_cast<CWnd*>(&m_tabCtrl) : this;

    int tabIndex = 0;
    for (size_t i = 0; i < m_editPages.size(); ++i) {
        m_editPages[i]->Create(m_pageTemplates[i], pageParent);
        if (m_pageHasTab[i] && m_hasTabCtrl)
            m_tabCtrl.InsertItem(tabIndex++, m_pageNames[i]);
    }

    CRect client;
    pageParent->GetClientRect(&client);
    const CRect pageRect(5, client.top + 30, client.right - 5, client.bottom - 5);
    // Only the first tab's page shows, whatever the page templates say; pages without a tab never.
    for (CDlgOptionsBaseTab* page : m_editPages) {
        if (!page->GetSafeHwnd())
            continue;
        page->MoveWindow(pageRect, TRUE);
        page->ShowWindow(SW_HIDE);
    }
    ShowTab(0);

    if (!m_valuePages.empty() && m_valuePages.size() == m_editPages.size()) {
        for (size_t i = 0; i < m_editPages.size(); ++i) {
            m_editPages[i]->CopyFrom(*m_valuePages[i]);
            if (m_editPages[i]->GetSafeHwnd())
                m_editPages[i]->UpdateData(FALSE);
            m_editPages[i]->UpdateControls();
        }
    }
    if (!m_title.isEmpty())
        SetWindowText(m_title);
    return TRUE;
}

void CDlgOptionsBase::ShowTab(int tabIndex) {
    int count = 0;
    for (size_t i = 0; i < m_editPages.size(); ++i) {
        if (!m_pageHasTab[i])
            continue;
        if (count++ == tabIndex) {
            if (m_editPages[i]->GetSafeHwnd())
                m_editPages[i]->ShowWindow(SW_SHOW);
            return;
        }
    }
}

BOOL CDlgOptionsBase::ValidateEditPages() {
    for (size_t i = 0; i < m_editPages.size(); ++i) {
        CDlgOptionsBaseTab* page = m_editPages[i];
        if (!page->GetSafeHwnd() || page->UpdateData(TRUE))
            continue;
        for (CDlgOptionsBaseTab* other : m_editPages) {
            if (other != page && other->GetSafeHwnd())
                other->ShowWindow(SW_HIDE);
        }
        page->ShowWindow(SW_SHOW);
        return FALSE;
    }
    return TRUE;
}

void CDlgOptionsBase::OnTabSelChanging(NMHDR* /*pNotifyStruct*/, LRESULT* pResult) {
    // A page with a value it refuses keeps its tab: the user corrects it first.
    const BOOL valid = m_valuePages.size() != m_editPages.size() || ValidateEditPages();
    if (pResult)
        *pResult = valid ? 0 : 1;
}

void CDlgOptionsBase::OnTabSelChange(NMHDR* /*pNotifyStruct*/, LRESULT* pResult) {
    if (pResult)
        *pResult = 0;
    const int tabIndex = m_hasTabCtrl ? m_tabCtrl.GetCurSel() : 0;
    if (m_valuePages.size() == m_editPages.size() && !ValidateEditPages())
        return;
    for (CDlgOptionsBaseTab* page : m_editPages) {
        if (page->GetSafeHwnd())
            page->ShowWindow(SW_HIDE);
    }
    ShowTab(tabIndex);
}

void CDlgOptionsBase::OnOK() {
    if (!m_valuePages.empty() && m_valuePages.size() == m_editPages.size()) {
        // Commit nothing unless every page is valid: a half-taken dialog would mix old and new.
        if (!ValidateEditPages())
            return;
        for (size_t i = 0; i < m_editPages.size(); ++i)
            m_valuePages[i]->CopyFrom(*m_editPages[i]);
    }
    CDialog::OnOK();
}
