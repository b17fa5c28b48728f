#include "shell/OptionFieldsPage.h"

#include "platform/com/Bstr.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/MessageMap.h"
#include "platform/registry/Registry.h"

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Fields, CDlgOptionsBaseTab)

BEGIN_MESSAGE_MAP(CDlgOptionsBaseTab_Fields, CDlgOptionsBaseTab)
ON_BN_CLICKED(kRestoreDefaultsId, OnRestoreDefaults)
END_MESSAGE_MAP()

CDlgOptionsBaseTab_Fields::CDlgOptionsBaseTab_Fields(UINT nIDTemplate,
                                                     std::span<const OptionField> fields,
                                                     const char* subKey, CWnd* pParentWnd)
    : CDlgOptionsBaseTab(nIDTemplate, pParentWnd),
      m_fields(fields),
      m_subKey(subKey),
      m_ints(fields.size()),
      m_texts(fields.size()) {
    for (size_t i = 0; i < fields.size(); ++i) {
        m_ints[i] = fields[i].defaultValue;
        if (fields[i].defaultText)
            m_texts[i] = QString::fromLatin1(fields[i].defaultText);
    }
}

QString CDlgOptionsBaseTab_Fields::RegistryPath() const {
    return QString::fromLatin1(kOptionsRoot) + QString::fromLatin1(m_subKey ? m_subKey : "");
}

void CDlgOptionsBaseTab_Fields::DoDataExchange(CDataExchange* pDX) {
    CDlgOptionsBaseTab::DoDataExchange(pDX);
    for (const OptionControl& control : m_controls) {
        if (!GetDlgItem(control.id))
            continue;
        int& value = m_ints[static_cast<size_t>(control.field)];
        switch (control.kind) {
            case OptionControl::kCheck:
                DDX_Check(pDX, control.id, value);
                break;
            case OptionControl::kNumber:
                DDX_Text(pDX, control.id, value);
                if (control.minimum <= control.maximum)
                    DDV_MinMaxInt(pDX, value, control.minimum, control.maximum);
                break;
            case OptionControl::kText:
                DDX_Text(pDX, control.id, m_texts[static_cast<size_t>(control.field)]);
                break;
            case OptionControl::kListIndex:
                DDX_CBIndex(pDX, control.id, value);
                break;
            case OptionControl::kRadio:
                DDX_Radio(pDX, control.id, value);
                break;
        }
    }
}

void CDlgOptionsBaseTab_Fields::OnRestoreDefaults() {
    UpdateData(TRUE);
    RestoreDefaults();
    UpdateData(FALSE);
}

int CDlgOptionsBaseTab_Fields::FieldIndex(const QString& key) const {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].key && key == QLatin1String(m_fields[i].key))
            return static_cast<int>(i);
    }
    return -1;
}

void CDlgOptionsBaseTab_Fields::LoadFromRegistry() {
    if (!m_subKey)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, RegistryPath(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (!m_fields[i].loadName)
            continue;
        // Four bytes of whatever type; a value that is missing or of another size is left alone.
        DWORD value = 0;
        DWORD size = sizeof(value);
        if (RegQueryValueEx(key, QString::fromLatin1(m_fields[i].loadName), nullptr,
                            reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
            size == sizeof(value))
            m_ints[i] = static_cast<int>(value);
    }
    RegCloseKey(key);
}

void CDlgOptionsBaseTab_Fields::SaveToRegistry() {
    if (!m_subKey)
        return;
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, RegistryPath(), KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (!m_fields[i].saveName)
            continue;
        const DWORD value = static_cast<DWORD>(m_ints[i]);
        RegSetValueEx(key, QString::fromLatin1(m_fields[i].saveName), REG_DWORD,
                      reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    RegCloseKey(key);
}

void CDlgOptionsBaseTab_Fields::CopyFrom(const CDlgOptionsBaseTab& page) {
    const auto* other = dynamic_cast<const CDlgOptionsBaseTab_Fields*>(&page);
    if (!other || other->GetRuntimeClass() != GetRuntimeClass())
        return;
    m_ints = other->m_ints;
    m_texts = other->m_texts;
}

VARIANT CDlgOptionsBaseTab_Fields::GetValue(const QString& key, int /*index*/) {
    VARIANT result;
    const int field = FieldIndex(key);
    if (field < 0)
        return result;
    if (m_fields[field].defaultText) {
        result.vt = VT_BSTR;
        result.bstrVal = SysAllocQString(m_texts[field]);
    } else {
        result.vt = VT_I4;
        result.lVal = m_ints[field];
    }
    return result;
}

BOOL CDlgOptionsBaseTab_Fields::SetValue(const QString& key, const VARIANT& value, int /*index*/) {
    const int field = FieldIndex(key);
    if (field < 0)
        return FALSE;
    if (m_fields[field].defaultText)
        m_texts[field] = value.vt == VT_BSTR ? QStringFromBstr(value.bstrVal) : QString();
    else
        m_ints[field] = static_cast<int>(value.lVal);  // the payload as it is, whatever the tag
    return TRUE;
}

void CDlgOptionsBaseTab_Fields::SerializeInts(CArchive& ar, int count) {
    if (ar.IsStoring()) {
        ar << 1;
        for (int i = 0; i < count; ++i)
            ar << m_ints[i];
    } else {
        int schema = 0;
        ar >> schema;
        for (int i = 0; i < count; ++i)
            ar >> m_ints[i];
    }
}
