#include "devices/RecordOptions.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/MessageMap.h"
#include "platform/registry/Registry.h"

IMPLEMENT_SERIAL(CRecordOptions, CDialog, 1)

BEGIN_MESSAGE_MAP(CRecordOptions, CDialog)
ON_BN_CLICKED(CRecordOptions::kVideoOnlyRadio, OnVideoOnly)
ON_BN_CLICKED(CRecordOptions::kGpsIrigRadio, OnGpsIrig)
ON_BN_CLICKED(CRecordOptions::kSyncDataRadio, OnSyncData)
ON_BN_CLICKED(CRecordOptions::kGpsIrigAndSyncRadio, OnGpsIrigAndSync)
ON_BN_CLICKED(CRecordOptions::kPivVideoRadio, OnPivVideo)
ON_BN_CLICKED(CRecordOptions::kFirstSlaveCheck, OnFirstSlave)
END_MESSAGE_MAP()

namespace {

struct RegistryValue {
    const char* name;
    int32_t CRecordOptions::*field;
};

// The values loading reads.
constexpr RegistryValue kLoadedValues[] = {
    {"Advanced ADL Option", &CRecordOptions::m_advancedAutoDownload},
    {"Use Camera Tracker", &CRecordOptions::m_useCameraTracker},
    {"Live Data Option", &CRecordOptions::m_liveDataOption},
    {"Use 1.x Style Box", &CRecordOptions::m_useStyleBox1x},
    {"First Slave", &CRecordOptions::m_firstSlave},
    {"Live Video Option", &CRecordOptions::m_liveVideoOption},
    {"Live Data Fixed Scale", &CRecordOptions::m_liveDataFixedScale},
    {"Use GPSIRIG", &CRecordOptions::m_useGpsIrig},
    {"Use Vidra", &CRecordOptions::m_useSyncData},
    {"Use Advanced Video", &CRecordOptions::m_useAdvancedVideo},
    {"Sync Playback", &CRecordOptions::m_syncPlayback},
    {"Set All Cameras", &CRecordOptions::m_setAllCameras},
};

constexpr char kDefaultViewZoom[] = "Default View Zoom";
constexpr DWORD kDefaultViewZoomValue = 100;

// The values saving writes, in its order; "Default View Zoom" goes in at kZoomPosition.
constexpr RegistryValue kSavedValues[] = {
    {"Use Vidra", &CRecordOptions::m_useSyncData},
    {"Use GPSIRIG", &CRecordOptions::m_useGpsIrig},
    {"Use Advanced Video", &CRecordOptions::m_useAdvancedVideo},
    {"First Slave", &CRecordOptions::m_firstSlave},
    {"Use Camera Tracker", &CRecordOptions::m_useCameraTracker},
    {"Live Data Option", &CRecordOptions::m_liveDataOption},
    {"Live Data Fixed Scale", &CRecordOptions::m_liveDataFixedScale},
    {"Live Video Option", &CRecordOptions::m_liveVideoOption},
    {"Advanced ADL Option", &CRecordOptions::m_advancedAutoDownload},
    {"Use 1.x Style Box", &CRecordOptions::m_useStyleBox1x},
    {"Sync Playback", &CRecordOptions::m_syncPlayback},
    {"Set All Cameras", &CRecordOptions::m_setAllCameras},
};
constexpr size_t kZoomPosition = 5;

// The controls of features not offered.
constexpr int kDisabledControls[] = {CRecordOptions::kSyncDataRadio, CRecordOptions::kGpsIrigRadio,
                                     CRecordOptions::kGpsIrigAndSyncRadio,
                                     CRecordOptions::kAdvancedAutoDownloadCheck,
                                     CRecordOptions::kCameraTrackerCheck};

}  // namespace

CRecordOptions::CRecordOptions(CWnd* pParentWnd) : CDialog(kTemplate, pParentWnd) {
    LoadFromRegistry();
}

void CRecordOptions::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_storedValueA << m_storedValueB << m_storedDoubleMinus1 << m_storedDouble100;
        for (int32_t value : m_recordParams)
            ar << value;
        for (int32_t value : m_furtherValues)
            ar << value;
        ar << m_blockValue << m_liveVideoOption;
        return;
    }
    int32_t a = 0;
    int32_t b = 0;
    double minus1 = 0.0;
    double hundred = 0.0;
    std::array<int32_t, 8> params{};
    std::array<int32_t, 3> further{};
    int32_t blockValue = 0;
    int32_t liveVideo = 0;
    ar >> a >> b >> minus1 >> hundred;
    for (int32_t& value : params)
        ar >> value;
    for (int32_t& value : further)
        ar >> value;
    ar >> blockValue >> liveVideo;
    m_storedValueA = a;
    m_storedValueB = b;
    m_storedDoubleMinus1 = minus1;
    m_storedDouble100 = hundred;
    m_recordParams = params;
    m_furtherValues = further;
    m_blockValue = blockValue;
    m_liveVideoOption = liveVideo;
}

void CRecordOptions::LoadFromRegistry() {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, QString::fromLatin1(kRegistryKey), 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        for (const RegistryValue& value : kLoadedValues) {
            DWORD read = 0;
            if (RegQueryDword(key, QString::fromLatin1(value.name), &read) == ERROR_SUCCESS)
                this->*value.field = static_cast<int32_t>(read);
        }
        RegCloseKey(key);
    }
    m_useSyncData = 0;
    m_useGpsIrig = 0;
    m_useAdvancedVideo = 0;
    m_useCameraTracker = 0;
    m_advancedAutoDownload = 1;
}

void CRecordOptions::SaveToRegistry() {
    m_useGpsIrig = 0;
    m_useSyncData = 0;
    m_useAdvancedVideo = 0;
    m_advancedAutoDownload = 0;
    m_useCameraTracker = 0;
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, QString::fromLatin1(kRegistryKey), KEY_ALL_ACCESS,
                       &key) != ERROR_SUCCESS)
        return;
    for (size_t i = 0; i < std::size(kSavedValues); ++i) {
        if (i == kZoomPosition)
            RegSetDword(key, QString::fromLatin1(kDefaultViewZoom), kDefaultViewZoomValue);
        RegSetDword(key, QString::fromLatin1(kSavedValues[i].name),
                    static_cast<DWORD>(this->*kSavedValues[i].field));
    }
    RegCloseKey(key);
}

int CRecordOptions::ModeFromFlags() const {
    if (m_useAdvancedVideo)
        return kPivVideo;
    if (m_useSyncData && m_useGpsIrig)
        return kGpsIrigAndSync;
    if (m_useSyncData)
        return kSyncData;
    if (m_useGpsIrig)
        return kGpsIrig;
    return kVideoOnly;
}

void CRecordOptions::SetFlagsFromMode(int mode) {
    m_useGpsIrig = mode == kGpsIrig || mode == kGpsIrigAndSync;
    m_useSyncData = mode == kSyncData || mode == kGpsIrigAndSync;
    m_useAdvancedVideo = mode == kPivVideo;
}

BOOL CRecordOptions::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : kDisabledControls) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(FALSE);
    }
    return TRUE;
}

void CRecordOptions::OnOK() {
    CDialog::OnOK();
    SaveToRegistry();
}

void CRecordOptions::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    m_recordMode = ModeFromFlags();
    DDX_Check(pDX, kAdvancedAutoDownloadCheck, m_advancedAutoDownload);
    DDX_Check(pDX, kCameraTrackerCheck, m_useCameraTracker);
    DDX_Check(pDX, kLiveDataCheck, m_liveDataOption);
    DDX_Check(pDX, kStyleBoxCheck, m_useStyleBox1x);
    DDX_Check(pDX, kFirstSlaveCheck, m_firstSlave);
    DDX_Check(pDX, kLiveVideoCheck, m_liveVideoOption);
    DDX_Radio(pDX, kVideoOnlyRadio, m_recordMode);
    DDX_Check(pDX, kFixedScaleCheck, m_liveDataFixedScale);
    if (pDX->m_bSaveAndValidate)
        SetFlagsFromMode(m_recordMode);
}

template <class Change>
void CRecordOptions::Edit(Change change) {
    if (!UpdateData(TRUE))
        return;
    change();
    UpdateData(FALSE);
}

void CRecordOptions::OnVideoOnly() {
    Edit([this] { SetFlagsFromMode(kVideoOnly); });
}

void CRecordOptions::OnGpsIrig() {
    Edit([this] {
        SetFlagsFromMode(kGpsIrig);
        m_firstSlave = 0;
    });
}

void CRecordOptions::OnSyncData() {
    Edit([this] {
        SetFlagsFromMode(kSyncData);
        m_firstSlave = 0;
    });
}

void CRecordOptions::OnGpsIrigAndSync() {
    Edit([this] {
        SetFlagsFromMode(kGpsIrigAndSync);
        m_firstSlave = 0;
    });
}

void CRecordOptions::OnPivVideo() {
    Edit([this] { SetFlagsFromMode(kPivVideo); });
}

void CRecordOptions::OnFirstSlave() {
    Edit([this] {
        if (m_firstSlave == 1) {
            m_useGpsIrig = 0;
            m_useSyncData = 0;
        }
    });
}
