#include "shell/DlgOptionsBaseTab_Snapkeep.h"

#include "platform/com/Bstr.h"
#include "platform/framework/Archive.h"

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Snapkeep, CDlgOptionsBaseTab)
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
    int schema = 0;
    int count = 0;
    ar >> schema >> count;
    m_dirs.clear();
    for (int i = 0; i < count; ++i) {
        QString dir;
        ar >> dir;
        m_dirs.append(dir);
    }
    ar >> m_baseName >> m_format >> m_rangeOption >> m_rangeFrom >> m_rangeTo;
}

void CDlgOptionsBaseTab_Snapkeep::RestoreDefaults() {
    m_baseName = "snapkeep";
    m_format = "JPG";
    m_rangeOption = 1;
    m_rangeFrom = -50;
    m_rangeTo = 50;
}
