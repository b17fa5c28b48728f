#include "shell/DlgSystemConfiguration.h"

#include "platform/framework/DataExchange.h"
#include "platform/registry/Registry.h"

IMPLEMENT_DYNAMIC(CDlgSystemConfiguration, CDialog)

namespace {

struct Flag {
    const char* name;
    int defaultValue;
};

// In the order they are read.
constexpr Flag kFlags[CDlgSystemConfiguration::kFlagCount] = {
    {"Prompt Before Close", 1},
    {"Prompt Before Overwrite", 1},
    {"Prompt Before Overwriting Memory", 0},
    {"AutoLoad Data", 1},
    {"Prompt to Save Attached", 0},
    {"Unfiltered Images", 1},
    {"Missing as Repeat", 0},
    {"AutoUpdate GPS Info", 0},
    {"Reduce Live Flicker", 1},
    {"Disable Web Links", 0},
    {"Auto Display Text Timing", 1},
    {"Auto Display Text Trigger", 1},
    {"Export To Excel", 1},
    {"Auto Enable Reticle", 1},
    {"Show Color Camera As Bayer", 0},
    {"Show Color File As Bayer", 0},
    {"Label Image Sequences", 0},
    {"Auto Show Connect Asst", 1},
    {"Show Analysis Click", 1},
};

const char* const kKeyPath = "Software\\Tolvar\\Vidra OS\\System Configuration";

int IndexOf(const QString& valueName) {
    for (int i = 0; i < CDlgSystemConfiguration::kFlagCount; ++i) {
        if (valueName == QLatin1String(kFlags[i].name))
            return i;
    }
    return -1;
}

}  // namespace

CDlgSystemConfiguration::CDlgSystemConfiguration(const QString& appName)
    : CDialog(IDD_SYSTEM_CONFIGURATION), m_strAppName(appName) {
    for (int i = 0; i < kFlagCount; ++i)
        m_flags[static_cast<size_t>(i)] = kFlags[i].defaultValue;
    Load();
}

QString CDlgSystemConfiguration::ValueName(int index) {
    return QString::fromLatin1(kFlags[index].name);
}

void CDlgSystemConfiguration::Load() {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, QString::fromLatin1(kKeyPath), KEY_ALL_ACCESS, &key) ==
        ERROR_SUCCESS) {
        QString name;
        if (RegQueryString(key, QStringLiteral("App Name"), &name) == ERROR_SUCCESS)
            m_strAppName = name;
        for (int i = 0; i < kFlagCount; ++i) {
            DWORD value = 0;
            if (RegQueryDword(key, QString::fromLatin1(kFlags[i].name), &value) == ERROR_SUCCESS)
                m_flags[static_cast<size_t>(i)] = static_cast<int>(value);
        }
        RegCloseKey(key);
    }
    HKEY xls = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral(".xls"), 0, KEY_READ, &xls) ==
        ERROR_SUCCESS) {
        m_bSpreadsheetAvailable = TRUE;
        RegCloseKey(xls);
    }
}

void CDlgSystemConfiguration::Save() const {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, QString::fromLatin1(kKeyPath), KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return;
    for (int i = 0; i < kFlagCount; ++i) {
        RegSetDword(key, QString::fromLatin1(kFlags[i].name),
                    static_cast<DWORD>(m_flags[static_cast<size_t>(i)]));
    }
    RegCloseKey(key);
}

void CDlgSystemConfiguration::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < kFlagCount; ++i) {
        if (GetDlgItem(kFirstFlagId + i))
            DDX_Check(pDX, kFirstFlagId + i, m_flags[static_cast<size_t>(i)]);
    }
}

int CDlgSystemConfiguration::GetFlag(const QString& valueName) const {
    const int index = IndexOf(valueName);
    return index < 0 ? -1 : m_flags[static_cast<size_t>(index)];
}

BOOL CDlgSystemConfiguration::SetFlag(const QString& valueName, int value) {
    const int index = IndexOf(valueName);
    if (index < 0)
        return FALSE;
    m_flags[static_cast<size_t>(index)] = value;
    return TRUE;
}
