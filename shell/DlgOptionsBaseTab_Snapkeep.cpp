#include "shell/DlgOptionsBaseTab_Snapkeep.h"

#include "platform/com/Bstr.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "shell/DlgFormatSelection.h"
#include "shell/OptionFieldsPage.h"

namespace {

constexpr int kFolderList = 1228;
constexpr int kAdd = 1173;
constexpr int kRemove = 1229;
constexpr int kBaseName = 1174;
constexpr int kFormat = 2090;
constexpr int kEditFormat = 2089;
constexpr int kAll = 1175;
constexpr int kRange = 1169;
constexpr int kFrom = 1013;
constexpr int kTo = 1014;

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Snapkeep, CDlgOptionsBaseTab)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgOptionsBaseTab_Snapkeep, CDlgOptionsBaseTab)
    ON_BN_CLICKED(kAdd, OnAdd)
    ON_BN_CLICKED(kRemove, OnRemove)
    ON_BN_CLICKED(kEditFormat, OnEditFormat)
    ON_BN_CLICKED(kAll, OnRangeOption)
    ON_BN_CLICKED(kRange, OnRangeOption)
    ON_BN_CLICKED(kRestoreDefaultsId, OnRestoreDefaults)
END_MESSAGE_MAP()
// clang-format on
CDlgOptionsBaseTab_Snapkeep::CDlgOptionsBaseTab_Snapkeep(CWnd* pParentWnd)
    : CDlgOptionsBaseTab(30063, pParentWnd) {}

void CDlgOptionsBaseTab_Snapkeep::CopyFrom(const CDlgOptionsBaseTab& page) {
    const auto* other = dynamic_cast<const CDlgOptionsBaseTab_Snapkeep*>(&page);
    if (!other)
        return;
    m_dirs = other->m_dirs;
    m_baseName = other->m_baseName;
    m_format = other->m_format;
    m_rangeOption = other->m_rangeOption;
    m_rangeFrom = other->m_rangeFrom;
    m_rangeTo = other->m_rangeTo;
}

VARIANT CDlgOptionsBaseTab_Snapkeep::GetValue(const QString& key, int index) {
    VARIANT result;
    auto text = [&result](const QString& value) {
        result.vt = VT_BSTR;
        result.bstrVal = SysAllocQString(value);
    };
    auto number = [&result](int value) {
        result.vt = VT_I4;
        result.lVal = value;
    };
    if (key == QLatin1String("SK:sDir")) {
        if (index >= 0 && index < m_dirs.size())
            text(m_dirs[index]);
    } else if (key == QLatin1String("SK:sBaseName")) {
        text(m_baseName);
    } else if (key == QLatin1String("SK:sFormat")) {
        text(m_format);
    } else if (key == QLatin1String("SK:nRangeOption")) {
        number(m_rangeOption);
    } else if (key == QLatin1String("SK:nRangeFrom")) {
        number(m_rangeFrom);
    } else if (key == QLatin1String("SK:nRangeTo")) {
        number(m_rangeTo);
    }
    return result;
}

BOOL CDlgOptionsBaseTab_Snapkeep::SetValue(const QString& key, const VARIANT& value, int index) {
    const QString text = value.vt == VT_BSTR ? QStringFromBstr(value.bstrVal) : QString();
    if (key == QLatin1String("SK:sDir")) {
        if (index < 0 || index >= m_dirs.size())
            return FALSE;
        m_dirs[index] = text;
    } else if (key == QLatin1String("SK:sBaseName")) {
        m_baseName = text;
    } else if (key == QLatin1String("SK:sFormat")) {
        m_format = text;
    } else if (key == QLatin1String("SK:nRangeOption")) {
        m_rangeOption = static_cast<int>(value.lVal);
    } else if (key == QLatin1String("SK:nRangeFrom")) {
        m_rangeFrom = static_cast<int>(value.lVal);
    } else if (key == QLatin1String("SK:nRangeTo")) {
        m_rangeTo = static_cast<int>(value.lVal);
    } else {
        return FALSE;
    }
    return TRUE;
}

void CDlgOptionsBaseTab_Snapkeep::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << 1 << static_cast<int>(m_dirs.size());
        for (const QString& dir : m_dirs)
            ar << dir;
        ar << m_baseName << m_format << m_rangeOption << m_rangeFrom << m_rangeTo;
        return;
    }
    // Read whole before anything is taken: a file cut short keeps what the page had.
    int schema = 0;
    int count = 0;
    ar >> schema >> count;
    QStringList dirs;
    for (int i = 0; i < count; ++i) {
        QString dir;
        ar >> dir;
        dirs.append(dir);
    }
    QString baseName;
    QString format;
    int rangeOption = 0;
    int rangeFrom = 0;
    int rangeTo = 0;
    ar >> baseName >> format >> rangeOption >> rangeFrom >> rangeTo;
    m_dirs = dirs;
    m_baseName = baseName;
    m_format = format;
    m_rangeOption = rangeOption;
    m_rangeFrom = rangeFrom;
    m_rangeTo = rangeTo;
}

void CDlgOptionsBaseTab_Snapkeep::RestoreDefaults() {
    m_baseName = "snapkeep";
    m_format = "JPG";
    m_rangeOption = 1;
    m_rangeFrom = -50;
    m_rangeTo = 50;
}

void CDlgOptionsBaseTab_Snapkeep::DoDataExchange(CDataExchange* pDX) {
    CDlgOptionsBaseTab::DoDataExchange(pDX);
    if (!GetDlgItem(kFolderList))
        return;
    DDX_Control(pDX, kFolderList, m_list);
    DDX_Text(pDX, kBaseName, m_baseName);
    DDX_Text(pDX, kFormat, m_format);
    DDX_Radio(pDX, kAll, m_rangeOption);
    DDX_Text(pDX, kFrom, m_rangeFrom);
    DDX_Text(pDX, kTo, m_rangeTo);
}

void CDlgOptionsBaseTab_Snapkeep::UpdateControls() {
    if (!m_list.GetSafeHwnd())
        return;
    m_list.ResetContent();
    for (const QString& dir : m_dirs)
        m_list.AddString(dir);
    for (int id : {kFrom, kTo}) {
        if (CWnd* edit = GetDlgItem(id))
            edit->EnableWindow(m_rangeOption == 1);
    }
}

void CDlgOptionsBaseTab_Snapkeep::OnAdd() {
    UpdateData(TRUE);
    const QString folder = AfxBrowseForFolder(QStringLiteral("Select a Folder"), GetQWidget());
    if (!folder.isEmpty())
        m_dirs.append(folder);
    UpdateControls();
}

void CDlgOptionsBaseTab_Snapkeep::OnRemove() {
    UpdateData(TRUE);
    const int selected = m_list.GetSafeHwnd() ? m_list.GetCurSel() : -1;
    if (selected >= 0 && selected < m_dirs.size())
        m_dirs.removeAt(selected);
    UpdateControls();
}

void CDlgOptionsBaseTab_Snapkeep::OnEditFormat() {
    UpdateData(TRUE);
    CDlgFormatSelection dialog(this);
    dialog.m_strFormat = m_format;
    if (dialog.DoModal() == IDOK)
        m_format = dialog.m_strFormat;
    UpdateData(FALSE);
    UpdateControls();
}

void CDlgOptionsBaseTab_Snapkeep::OnRangeOption() {
    UpdateData(TRUE);
    UpdateControls();
}

void CDlgOptionsBaseTab_Snapkeep::OnRestoreDefaults() {
    UpdateData(TRUE);
    RestoreDefaults();
    UpdateData(FALSE);
    UpdateControls();
}
