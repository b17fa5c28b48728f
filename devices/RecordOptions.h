#pragma once

// CRecordOptions: the "Record Options" dialog (template 1578) and the recording options it
// keeps: the record mode (video only, GPS/IRIG source, synchronised data acquisition, both, or
// PIV video) with the three flags behind it, live data and live video while recording, the
// slaved first camera, the break-out box style, and values the owner keeps with them.
//
// The options live in the registry under HKEY_LOCAL_MACHINE kRegistryKey (REG_DWORD values):
// the constructor loads them and OK saves them. The GPS/IRIG, synchronised-data,
// advanced-video and camera-tracker features are not offered: loading and saving force them
// off, and their controls stay disabled. Registry failures are silent (the values in hand
// stay). The archive form is 76 bytes: ints as 32-bit and doubles as 64-bit little-endian.

#include "platform/framework/Dialog.h"

#include <array>
#include <cstdint>

class CArchive;

class CRecordOptions : public CDialog {
    DECLARE_SERIAL(CRecordOptions)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 1578;
    static constexpr char kRegistryKey[] = "Software\\Tolvar\\Vidra OS\\Recording";

    enum Control : int {
        kAdvancedAutoDownloadCheck = 1235,
        kCameraTrackerCheck = 1260,
        kLiveDataCheck = 1266,
        kStyleBoxCheck = 1268,
        kFirstSlaveCheck = 1414,
        kLiveVideoCheck = 1415,
        kFixedScaleCheck = 1510,
        // The record-mode radio buttons, in the order of the mode they choose.
        kVideoOnlyRadio = 1469,
        kGpsIrigRadio = 1468,
        kSyncDataRadio = 1467,
        kGpsIrigAndSyncRadio = 1018,
        kPivVideoRadio = 1531,
    };
    enum RecordMode : int {
        kVideoOnly = 0,
        kGpsIrig = 1,
        kSyncData = 2,
        kGpsIrigAndSync = 3,
        kPivVideo = 4,
    };

    // The defaults, then what the registry holds.
    explicit CRecordOptions(CWnd* pParentWnd = nullptr);

    // Storing writes the 76 bytes; loading reads them all before taking any, so a short
    // archive throws (CArchiveException) and leaves the object as it was.
    void Serialize(CArchive& ar) override;

    // Values present in the registry replace the fields; then the features not offered are
    // forced (GPS/IRIG, synchronised data, advanced video and camera tracker off, advanced
    // auto-download on).
    void LoadFromRegistry();
    // Forces GPS/IRIG, synchronised data, advanced video, advanced auto-download and camera
    // tracker off, then writes every registry value (and "Default View Zoom" 100).
    void SaveToRegistry();

    // The record mode the three flags stand for.
    int ModeFromFlags() const;
    // Sets the three flags for a record mode (any other mode clears them).
    void SetFlagsFromMode(int mode);

    BOOL OnInitDialog() override;
    // The dialog's OK, then the registry is saved.
    void OnOK() override;

    int32_t m_advancedAutoDownload = 0;
    int32_t m_useCameraTracker = 0;
    int32_t m_liveDataOption = 1;
    int32_t m_useStyleBox1x = 0;
    int32_t m_firstSlave = 0;
    int32_t m_liveVideoOption = 1;
    int32_t m_recordMode = kVideoOnly;
    int32_t m_liveDataFixedScale = 1;
    // Kept for the owner; not shown.
    int32_t m_storedValueA = 0;
    int32_t m_storedValueB = 0;
    int32_t m_useGpsIrig = 0;
    int32_t m_useSyncData = 0;
    int32_t m_useAdvancedVideo = 0;
    // The record parameters the record group and controller keep here (not shown): two
    // doubles, the block's ints in archive order, three further ints and one more.
    double m_storedDouble100 = 100.0;
    double m_storedDoubleMinus1 = -1.0;
    std::array<int32_t, 8> m_recordParams = {0, -1, -1, -1, 1280, 1024, 0, 1};
    std::array<int32_t, 3> m_furtherValues = {0, 0, 0};
    int32_t m_blockValue = 0;
    int32_t m_syncPlayback = 0;
    int32_t m_setAllCameras = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnVideoOnly();
    void OnGpsIrig();
    void OnSyncData();
    void OnGpsIrigAndSync();
    void OnPivVideo();
    void OnFirstSlave();

private:
    // Reads the controls, applies change, writes the fields back.
    template <class Change>
    void Edit(Change change);
};
