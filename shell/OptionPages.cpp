#include "shell/OptionPages.h"

#include "platform/com/Bstr.h"
#include "platform/framework/Archive.h"

namespace {

constexpr OptionField kViewFields[] = {
    {"View:MainTB", 1, nullptr, nullptr},
    {"View:PlayProjTB", 1, nullptr, nullptr},
    {"View:RecProjTB", 1, nullptr, nullptr},
    {"View:PlayProjTBinProj", 0, nullptr, nullptr},
    {"View:RecProjTBinProj", 0, nullptr, nullptr},
    {"View:UseLargeTB", 0, nullptr, nullptr},
    {"View:ViewDirAutoBrowser", 1, nullptr, nullptr},
    {"View:ProjLayoutTB", 1, nullptr, nullptr},
    {"View:VideoViewTB", 1, nullptr, nullptr},
    {"View:VideoViewTBinProj", 0, nullptr, nullptr},
    {"View:VideoToolsTB", 1, nullptr, nullptr},
    {"View:ViewFullPathPlayTitles", 0, nullptr, nullptr},
};

enum GeneralField {
    kOpenInExisting,
    kOpenPGInExisting,
    kFlattenTo2,
    kOpenDevPlayInExisting,
    kKeepOneOpen,
    kDockPanelToPR,
    kRemoveMaxMinClose,
    kStartMax,
    kStartWith,
    kAlwaysMax,
    kOpenSimilarlyNamed,
    kPrompt4CloseFromDevice,
    kGroupManager,
    kGroupContents,
    kUpdatePlayWhileTracking,
};

constexpr OptionField kGeneralFields[] = {
    {"AppBehave:bOpenInExisting", 1, nullptr, nullptr},
    {"AppBehave:bOpenPGInExisting", 0, nullptr, nullptr},
    {"AppBehave:bFlatten_to_2", 1, nullptr, nullptr},
    {"AppBehave:bOpenDevPlayInExisting", 1, nullptr, nullptr},
    {"AppBehave:bPR_KeepOneOpen", 1, nullptr, "AppBehave : bPR_KeepOneOpen"},
    {"AppBehave:bPR_DockPanelToPR", 1, nullptr, nullptr},
    {"AppBehave:bPR_RemoveMaxMinClose", 1, nullptr, nullptr},
    {"AppBehave:bPR_StartMax", 1, "AppBehave : bPR_StartMax", "AppBehave : bPR_StartMax"},
    {"AppBehave:bPR_StartWith", 1, nullptr, nullptr},
    {"AppBehave:bPR_AlwaysMax", 0, nullptr, nullptr},
    {"AppBehave:bOpenSimilarlyNamed", 1, "AppBehave : bOpenSimilarlyNamed",
     "AppBehave : bOpenSimilarlyNamed"},
    {"AppBehave:bPrompt4CloseFromDevice", 1, nullptr, nullptr},
    {"AppBehave:bGroupManager", 0, nullptr, nullptr},
    {"AppBehave:bGroupContents", 0, nullptr, nullptr},
    {nullptr, 1, nullptr, nullptr},  // update the play controller while tracking
};

constexpr OptionField kReccCPFields[] = {
    {"ReccCP:SingleRecordTab", 1, nullptr, nullptr},
    {"ReccCP:DisplayNonIntRecRates", 0, nullptr, nullptr},
};

constexpr OptionField kOtherFields[] = {
    {"Other:PGRelativeDefault", 1, nullptr, nullptr},
    {"Track:UpdatePlyControlWhile", 0, nullptr, nullptr},
};

constexpr OptionField kApplicationFields[] = {
    {"AppBehave:bCloseOthersFirst", 0, nullptr, nullptr},
    {"AppBehave:bAutoBracket", 0, nullptr, nullptr},
    {"AppBehave:lAutoBrackHalfWidth", 15, nullptr, nullptr},
    {"AppBehave:bSaveAfterZero", 0, nullptr, nullptr},
    {"AppBehave:szSaveFilePrefix", 0, nullptr, nullptr, ""},
    {"AppBehave:lJPEGLossyQuality", 75, nullptr, nullptr},
    {"AppBehave:bRecordAfterSave", 0, nullptr, nullptr},
    {"AppBehave:bSaveWithUserQuery", 1, nullptr, nullptr},
};

constexpr OptionField kCamerasFields[] = {
    {"Cameras:CheckKRM", 1, "Cameras : KRM", "Cameras : KRM"},
    {"Cameras:CheckFASTEC", 1, "Cameras : FASTEC", "Cameras : FASTEC"},
    {"Cameras:CheckFC", 1, "Cameras : FC", "Cameras : FC"},
    {"Cameras:CheckHG", 1, "Cameras : HG", "Cameras : HG"},
    {"Cameras:CheckIDT", 1, "Cameras : IDT", "Cameras : IDT"},
    {"Cameras:CheckORVEX", 1, "Cameras : ORVEX", "Cameras : ORVEX"},
    {"Cameras:OpenPlaybackFASTEC", 1, "Cameras : OpenPBFastec", "Cameras : OpenPBFastec"},
};

constexpr OptionField kConnectionsFields[] = {
    {"RecordFC:UltimaOrApxConnect", 0, "RecordFC:UltimaOrApxConnect",
     "RecordFC:UltimaOrApxConnect"},
};

constexpr OptionField kVideoFields[] = {
    {"Video:ZoomMode", 0, "Video : ZoomMode", "Video : ZoomMode"},
    {"Video:ShowReticle", 1, "Video : ShowReticle", "Video : ShowReticle"},
    {"Video:ShowRulers", 0, "Video : ShowRulers", "Video : ShowRulers"},
    {"Video:ShowInfo", 0, "Video : ShowInfo", "Video : ShowInfo"},
};

constexpr OptionField kUpdateFields[] = {
    {"Update:bUpdateCheck", 1, "Update : bUpdateCheck", "Update : bUpdateCheck"},
    {"Update:nUpdateInterval", 30, "Update : nUpdateInterval", "Update : nUpdateInterval"},
};

constexpr OptionField kSnapkeepAdvFields[] = {
    {"SK:nSameNameHandling", 0, nullptr, nullptr},
    {"SK:bZeroAtCurrentLocation", 0, nullptr, nullptr},
    {"SK:bPresentSaveDlg4Verify", 1, nullptr, nullptr},
    {"SK:bEnableSnapkeepFromFile", 1, nullptr, nullptr},
    {"SK:nAutoOpenOption", 0, nullptr, nullptr},
};

// The eight keyed fields are the file's, in this order; the last field has no key.
constexpr OptionField kAutoDownFields[] = {
    {"ADL:ADLmode", 0, nullptr, nullptr},
    {"ADL:nReset_Infinite_Finite", 0, nullptr, nullptr},
    {"ADL:nResetMaxCount", 0, nullptr, nullptr},
    {"ADL:bDelayedRearm", 0, nullptr, nullptr},
    {"ADL:nDelayedTimeRearm", 0, nullptr, nullptr},
    {"ADL:bSelfTrigger", 0, nullptr, nullptr},
    {"ADL:nDelayedTimeSelfTrigger", 0, nullptr, nullptr},
    {"ADL:nStartCount", 0, nullptr, nullptr},
    {nullptr, 0, nullptr, nullptr},
};
constexpr int kAutoDownFileFields = 8;

constexpr OptionField kRecordFields[] = {
    {"Record:UseLiveVideo", 1, "Record:UseLiveVideo", "Record:UseLiveVideo"},
    {"Record:UseLiveData", 1, "Record:UseLiveData", "Record:UseLiveData"},
    {"Record:FirstDeviceSlave", 0, "Record:FirstDeviceSlave", "Record:FirstDeviceSlave"},
    {"Record:SyncRecord", 1, "Record:SyncRecord", "Record:SyncRecord"},
    {"Record:RecordBusyDlg", 1, "Record:RecordBusyDlg", "Record:RecordBusyDlg"},
};

constexpr OptionField kRecordDataFields[] = {
    {"RecordData:SystemMemPercent", 3, "RecordData:SystemMemPercent",
     "RecordData:SystemMemPercent"},
};

constexpr int kConnectionValues[] = {0, 1, 32, 16, 160};

// Writes or reads a page's schema and then the listed int fields in order.
void SerializeInts(CArchive& ar, std::vector<int>& ints, int count) {
    if (ar.IsStoring()) {
        ar << 1;
        for (int i = 0; i < count; ++i)
            ar << ints[i];
    } else {
        int schema = 0;
        ar >> schema;
        for (int i = 0; i < count; ++i)
            ar >> ints[i];
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_View, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_View::CDlgOptionsBaseTab_View(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30056, kViewFields, nullptr, pParentWnd) {}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_General, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_General::CDlgOptionsBaseTab_General(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30099, kGeneralFields, kProgramOptionsKey, pParentWnd) {}

void CDlgOptionsBaseTab_General::LoadFromRegistry() {
    CDlgOptionsBaseTab_Fields::LoadFromRegistry();
    ApplyBasicInterface();
}

void CDlgOptionsBaseTab_General::UpdateControls() {
    ApplyBasicInterface();
}

void CDlgOptionsBaseTab_General::ApplyBasicInterface() {
    Int(kFlattenTo2) = 1;
    if (GetSafeHwnd())
        if (CWnd* startMax = GetDlgItem(2113))
            startMax->EnableWindow(FALSE);
    Int(kOpenPGInExisting) = Int(kFlattenTo2);
    Int(kRemoveMaxMinClose) = Int(kFlattenTo2);
    Int(kGroupManager) = 0;
    Int(kGroupContents) = 0;
    Int(kPrompt4CloseFromDevice) = 0;
    if (GetSafeHwnd()) {
        for (int id : {2268, 2269, 2216})
            if (CWnd* control = GetDlgItem(id))
                control->EnableWindow(FALSE);
    }
}

void CDlgOptionsBaseTab_General::RestoreDefaults() {
    Int(kUpdatePlayWhileTracking) = 1;
    Int(kPrompt4CloseFromDevice) = 1;
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_ReccCP, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_ReccCP::CDlgOptionsBaseTab_ReccCP(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30068, kReccCPFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_ReccCP::RestoreDefaults() {
    Int(0) = 1;
    Int(1) = 0;
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Other, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Other::CDlgOptionsBaseTab_Other(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30076, kOtherFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_Other::RestoreDefaults() {
    Int(1) = 1;
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Application, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Application::CDlgOptionsBaseTab_Application(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30061, kApplicationFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_Application::RestoreDefaults() {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        m_ints[i] = m_fields[i].defaultValue;
        m_texts[i].clear();
    }
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Cameras, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Cameras::CDlgOptionsBaseTab_Cameras(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30107, kCamerasFields, kProgramOptionsKey, pParentWnd) {}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Connections, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Connections::CDlgOptionsBaseTab_Connections(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30110, kConnectionsFields, kRecordOptionsKey, pParentWnd) {}

int CDlgOptionsBaseTab_Connections::IndexOfConnection(int value) {
    for (int i = 1; i < 5; ++i)
        if (kConnectionValues[i] == value)
            return i;
    return 0;
}

int CDlgOptionsBaseTab_Connections::ConnectionOfIndex(int index) {
    return index >= 0 && index < 5 ? kConnectionValues[index] : 0;
}

QStringList CDlgOptionsBaseTab_Connections::ConnectionItems() {
    return {" Auto", " Firewire (1394)", " Optical (Fiber)", " 100 Base-T Ethernet",
            " 1000 Base-T Ethernet"};
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Video, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Video::CDlgOptionsBaseTab_Video(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30114, kVideoFields, kProgramOptionsKey, pParentWnd) {}

QStringList CDlgOptionsBaseTab_Video::ZoomModeItems() {
    return {"No Smoothing", "Bilinear Smoothing", "Bicubic Smoothing", "High Quality Bilinear",
            "High Quality Bicubic"};
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Update, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Update::CDlgOptionsBaseTab_Update(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30113, kUpdateFields, kProgramOptionsKey, pParentWnd) {}

void CDlgOptionsBaseTab_Update::RestoreDefaults() {
    Int(0) = 1;
    Int(1) = 30;
}

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

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_SnapkeepAdv, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_SnapkeepAdv::CDlgOptionsBaseTab_SnapkeepAdv(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30064, kSnapkeepAdvFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_SnapkeepAdv::Serialize(CArchive& ar) {
    SerializeInts(ar, m_ints, static_cast<int>(m_ints.size()));
}

void CDlgOptionsBaseTab_SnapkeepAdv::RestoreDefaults() {
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_ints[i] = m_fields[i].defaultValue;
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_AutoDown, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_AutoDown::CDlgOptionsBaseTab_AutoDown(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30081, kAutoDownFields, nullptr, pParentWnd) {}

void CDlgOptionsBaseTab_AutoDown::Serialize(CArchive& ar) {
    SerializeInts(ar, m_ints, kAutoDownFileFields);
}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Record, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_Record::CDlgOptionsBaseTab_Record(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30044, kRecordFields, kRecordOptionsKey, pParentWnd) {}

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_RecordData, CDlgOptionsBaseTab_Fields)
CDlgOptionsBaseTab_RecordData::CDlgOptionsBaseTab_RecordData(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30051, kRecordDataFields, kRecordOptionsKey, pParentWnd) {}

void CDlgOptionsBaseTab_RecordData::RestoreDefaults() {
    Int(0) = 3;
}
