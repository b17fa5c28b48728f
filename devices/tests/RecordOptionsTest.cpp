#include "devices/RecordOptions.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"
#include "platform/registry/Registry.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QByteArray>
#include <QFile>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

namespace {

using Values = std::vector<std::pair<QString, DWORD>>;

const QString kKey = QString::fromLatin1(CRecordOptions::kRegistryKey);

void WriteValues(const Values& values) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    for (const auto& [name, value] : values)
        ASSERT_EQ(RegSetDword(key, name, value), ERROR_SUCCESS);
    RegCloseKey(key);
}

// The key's values in the order the key lists them.
Values ReadValues() {
    Values values;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    QString name;
    DWORD type = 0;
    BYTE data[16] = {};
    DWORD size = sizeof data;
    for (DWORD i = 0; RegEnumValue(key, i, &name, &type, data, &size) == ERROR_SUCCESS; ++i) {
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name.toStdString();
        EXPECT_EQ(size, 4u) << name.toStdString();
        values.emplace_back(name, data[0] | data[1] << 8 | data[2] << 16 | DWORD{data[3]} << 24);
        size = sizeof data;
    }
    RegCloseKey(key);
    return values;
}

// Everything the archive and the registry carry, to compare objects whole.
struct Snapshot {
    std::vector<int32_t> ints;
    double minus1 = 0;
    double hundred = 0;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CRecordOptions& o) {
    Snapshot s;
    s.ints = {o.m_advancedAutoDownload, o.m_useCameraTracker, o.m_liveDataOption,
              o.m_useStyleBox1x,        o.m_firstSlave,       o.m_liveVideoOption,
              o.m_liveDataFixedScale,   o.m_storedValueA,     o.m_storedValueB,
              o.m_useGpsIrig,           o.m_useSyncData,      o.m_useAdvancedVideo,
              o.m_blockValue,           o.m_syncPlayback,     o.m_setAllCameras};
    s.ints.insert(s.ints.end(), o.m_recordParams.begin(), o.m_recordParams.end());
    s.ints.insert(s.ints.end(), o.m_furtherValues.begin(), o.m_furtherValues.end());
    s.minus1 = o.m_storedDoubleMinus1;
    s.hundred = o.m_storedDouble100;
    return s;
}

class RecordOptionsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }

    QByteArray Store(CRecordOptions& options) {
        {
            CFile file(WorkPath("options.bin"), CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store);
            options.Serialize(ar);
            ar.Close();
        }
        QFile file(WorkPath("options.bin"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // Loads bytes into options; whether the archive read them.
    bool Load(CRecordOptions& options, const QByteArray& bytes) {
        QFile out(WorkPath("load.bin"));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        CFile file(WorkPath("load.bin"), CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        try {
            options.Serialize(ar);
        } catch (const CArchiveException&) {
            return false;
        }
        return true;
    }

    // Shows options as a modeless window, its controls filled.
    static void Show(CRecordOptions& options) {
        ASSERT_TRUE(options.Create(CRecordOptions::kTemplate, nullptr));
    }
    static bool Checked(CRecordOptions& options, int id) {
        auto* button = qobject_cast<QAbstractButton*>(options.GetDlgItem(id)->GetQWidget());
        return button && button->isChecked();
    }
    // The radio button the user sees checked, as a record mode; -1 for none.
    static int CheckedMode(CRecordOptions& options) {
        const int radios[] = {CRecordOptions::kVideoOnlyRadio, CRecordOptions::kGpsIrigRadio,
                              CRecordOptions::kSyncDataRadio, CRecordOptions::kGpsIrigAndSyncRadio,
                              CRecordOptions::kPivVideoRadio};
        for (int mode = 0; mode < 5; ++mode) {
            if (Checked(options, radios[mode]))
                return mode;
        }
        return -1;
    }
    // A click as the user makes it: the button takes its new state, then the dialog hears.
    static void Click(CRecordOptions& options, int id) {
        auto* button = qobject_cast<QAbstractButton*>(options.GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr);
        button->setChecked(button->autoExclusive() ? true : !button->isChecked());
        options.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(options.GetDlgItem(id)->GetSafeHwnd()));
    }
};

}  // namespace

TEST_F(RecordOptionsTest, LoadingTakesTheRegistryButForcesTheFeaturesNotOffered) {
    {
        CRecordOptions defaults;
        EXPECT_EQ(Take(defaults).ints,
                  (std::vector<int32_t>{1, 0, 1, 0,  0,  1,  1,    0,    0, 0, 0, 0, 0,
                                        0, 0, 0, -1, -1, -1, 1280, 1024, 0, 1, 0, 0, 0}));
        EXPECT_EQ(defaults.m_storedDouble100, 100.0);
        EXPECT_EQ(defaults.m_storedDoubleMinus1, -1.0);
        EXPECT_EQ(defaults.m_recordMode, CRecordOptions::kVideoOnly);
    }
    struct Case {
        const char* value;
        DWORD stored;
        int32_t CRecordOptions::*field;
        int32_t loaded;
    };
    const Case cases[] = {
        {"Use Vidra", 1, &CRecordOptions::m_useSyncData, 0},
        {"Use GPSIRIG", 1, &CRecordOptions::m_useGpsIrig, 0},
        {"Use Advanced Video", 1, &CRecordOptions::m_useAdvancedVideo, 0},
        {"Use Camera Tracker", 1, &CRecordOptions::m_useCameraTracker, 0},
        {"Advanced ADL Option", 0, &CRecordOptions::m_advancedAutoDownload, 1},
        {"Live Data Option", 0, &CRecordOptions::m_liveDataOption, 0},
        {"Live Data Fixed Scale", 0, &CRecordOptions::m_liveDataFixedScale, 0},
        {"Live Video Option", 0, &CRecordOptions::m_liveVideoOption, 0},
        {"First Slave", 1, &CRecordOptions::m_firstSlave, 1},
        {"Use 1.x Style Box", 1, &CRecordOptions::m_useStyleBox1x, 1},
        {"Sync Playback", 7, &CRecordOptions::m_syncPlayback, 7},
        {"Set All Cameras", 1, &CRecordOptions::m_setAllCameras, 1},
        // Not a value the options read.
        {"Default View Zoom", 5, &CRecordOptions::m_storedValueA, 0},
    };
    for (const Case& c : cases) {
        WriteValues({{QString::fromLatin1(c.value), c.stored}});
        CRecordOptions options;
        EXPECT_EQ(options.*c.field, c.loaded) << c.value;
        RegDeleteTree(HKEY_LOCAL_MACHINE, kKey);
    }
}

TEST_F(RecordOptionsTest, OkSavesEveryValueInOrderWithTheForcedOnes) {
    WriteValues({{"First Slave", 1}, {"Live Data Option", 0}, {"Sync Playback", 1}});
    CRecordOptions options;
    // An owner's edits that saving must not keep.
    options.m_useAdvancedVideo = 1;
    options.m_useCameraTracker = 1;
    RegDeleteTree(HKEY_LOCAL_MACHINE, kKey);

    QTimer::singleShot(0, [&] { options.SendMessage(WM_COMMAND, IDOK); });
    EXPECT_EQ(options.DoModal(), IDOK);
    const Values expected = {
        {"Use Vidra", 0},           {"Use GPSIRIG", 0},           {"Use Advanced Video", 0},
        {"First Slave", 1},         {"Use Camera Tracker", 0},    {"Default View Zoom", 100},
        {"Live Data Option", 0},    {"Live Data Fixed Scale", 1}, {"Live Video Option", 1},
        {"Advanced ADL Option", 0}, {"Use 1.x Style Box", 0},     {"Sync Playback", 1},
        {"Set All Cameras", 0},
    };
    EXPECT_EQ(ReadValues(), expected);
    EXPECT_EQ(options.m_advancedAutoDownload, 0);

    // Cancel writes nothing.
    RegDeleteTree(HKEY_LOCAL_MACHINE, kKey);
    CRecordOptions cancelled;
    QTimer::singleShot(0, [&] { cancelled.SendMessage(WM_COMMAND, IDCANCEL); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_TRUE(ReadValues().empty());
}

TEST_F(RecordOptionsTest, TheRecordModeFollowsTheFlagsBothWays) {
    struct Case {
        int gps, sync, advanced;
        int shown;
    };
    const Case cases[] = {
        {0, 0, 0, CRecordOptions::kVideoOnly}, {1, 0, 0, CRecordOptions::kGpsIrig},
        {0, 1, 0, CRecordOptions::kSyncData},  {1, 1, 0, CRecordOptions::kGpsIrigAndSync},
        {0, 0, 1, CRecordOptions::kPivVideo},  {1, 1, 1, CRecordOptions::kPivVideo},
    };
    for (const Case& c : cases) {
        CRecordOptions options;
        options.m_useGpsIrig = c.gps;
        options.m_useSyncData = c.sync;
        options.m_useAdvancedVideo = c.advanced;
        Show(options);
        EXPECT_EQ(CheckedMode(options), c.shown) << c.gps << c.sync << c.advanced;
        options.DestroyWindow();
    }

    // Reading the controls sets the flags of the checked mode and clears the others.
    const int expected[5][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 0, 1}};
    const int radios[] = {CRecordOptions::kVideoOnlyRadio, CRecordOptions::kGpsIrigRadio,
                          CRecordOptions::kSyncDataRadio, CRecordOptions::kGpsIrigAndSyncRadio,
                          CRecordOptions::kPivVideoRadio};
    for (int mode = 0; mode < 5; ++mode) {
        CRecordOptions options;
        options.m_useGpsIrig = options.m_useSyncData = options.m_useAdvancedVideo = 1;
        Show(options);
        qobject_cast<QAbstractButton*>(options.GetDlgItem(radios[mode])->GetQWidget())
            ->setChecked(true);
        ASSERT_TRUE(options.UpdateData(TRUE));
        EXPECT_EQ(options.m_recordMode, mode);
        EXPECT_EQ(options.m_useGpsIrig, expected[mode][0]) << mode;
        EXPECT_EQ(options.m_useSyncData, expected[mode][1]) << mode;
        EXPECT_EQ(options.m_useAdvancedVideo, expected[mode][2]) << mode;
        options.DestroyWindow();
    }
}

TEST_F(RecordOptionsTest, TheDialogOffersOnlyVideoOnlyAndPivModes) {
    CRecordOptions options;
    Show(options);
    EXPECT_EQ(options.GetQWidget()->windowTitle(), "Record Options");
    for (int id : {CRecordOptions::kSyncDataRadio, CRecordOptions::kGpsIrigRadio,
                   CRecordOptions::kGpsIrigAndSyncRadio, CRecordOptions::kAdvancedAutoDownloadCheck,
                   CRecordOptions::kCameraTrackerCheck})
        EXPECT_FALSE(options.GetDlgItem(id)->IsWindowEnabled()) << id;
    for (int id : {CRecordOptions::kVideoOnlyRadio, CRecordOptions::kPivVideoRadio,
                   CRecordOptions::kLiveDataCheck, CRecordOptions::kFixedScaleCheck,
                   CRecordOptions::kLiveVideoCheck, CRecordOptions::kFirstSlaveCheck,
                   CRecordOptions::kStyleBoxCheck})
        EXPECT_TRUE(options.GetDlgItem(id)->IsWindowEnabled()) << id;
    // Loading forced the advanced auto-download feature on; the box shows it.
    EXPECT_TRUE(Checked(options, CRecordOptions::kAdvancedAutoDownloadCheck));
}

TEST_F(RecordOptionsTest, ModeButtonsAndTheSlavedFirstCameraExcludeEachOther) {
    struct Case {
        const char* what;
        int gps, sync, advanced, firstSlave;
        int clicked;
        int gpsAfter, syncAfter, advancedAfter, firstSlaveAfter;
        int modeShown;
    };
    using O = CRecordOptions;
    const Case cases[] = {
        {"video only", 1, 1, 0, 1, O::kVideoOnlyRadio, 0, 0, 0, 1, O::kVideoOnly},
        {"GPS/IRIG unslaves", 0, 0, 0, 1, O::kGpsIrigRadio, 1, 0, 0, 0, O::kGpsIrig},
        {"sync unslaves", 0, 0, 1, 1, O::kSyncDataRadio, 0, 1, 0, 0, O::kSyncData},
        {"both unslave", 0, 0, 0, 1, O::kGpsIrigAndSyncRadio, 1, 1, 0, 0, O::kGpsIrigAndSync},
        {"PIV keeps the slave", 1, 1, 0, 1, O::kPivVideoRadio, 0, 0, 1, 1, O::kPivVideo},
        {"slaving ends GPS/IRIG and sync", 1, 1, 0, 0, O::kFirstSlaveCheck, 0, 0, 0, 1,
         O::kVideoOnly},
        {"slaving keeps PIV", 0, 0, 1, 0, O::kFirstSlaveCheck, 0, 0, 1, 1, O::kPivVideo},
        {"unslaving changes no mode", 1, 0, 0, 1, O::kFirstSlaveCheck, 1, 0, 0, 0, O::kGpsIrig},
    };
    for (const Case& c : cases) {
        CRecordOptions options;
        options.m_useGpsIrig = c.gps;
        options.m_useSyncData = c.sync;
        options.m_useAdvancedVideo = c.advanced;
        options.m_firstSlave = c.firstSlave;
        Show(options);
        Click(options, c.clicked);
        EXPECT_EQ(options.m_useGpsIrig, c.gpsAfter) << c.what;
        EXPECT_EQ(options.m_useSyncData, c.syncAfter) << c.what;
        EXPECT_EQ(options.m_useAdvancedVideo, c.advancedAfter) << c.what;
        EXPECT_EQ(options.m_firstSlave, c.firstSlaveAfter) << c.what;
        // The controls show what the fields now hold.
        EXPECT_EQ(CheckedMode(options), c.modeShown) << c.what;
        EXPECT_EQ(Checked(options, O::kFirstSlaveCheck), c.firstSlaveAfter == 1) << c.what;
        options.DestroyWindow();
    }
}

TEST_F(RecordOptionsTest, ArchiveIsSeventySixBytesInItsFixedOrder) {
    CRecordOptions options;
    options.m_storedValueA = 7;
    options.m_storedValueB = 9;
    const QByteArray bytes = Store(options);
    const QByteArray expected = QByteArray::fromHex(
        "07000000"
        "09000000"
        "000000000000f0bf"
        "0000000000005940"
        "00000000ffffffffffffffffffffffff0005000000040000"
        "0000000001000000"
        "00000000000000000000000000000000"
        "01000000");
    EXPECT_EQ(bytes.size(), 76);
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));

    CRecordOptions changed;
    changed.m_storedValueA = -3;
    changed.m_storedValueB = 1 << 30;
    changed.m_storedDoubleMinus1 = 0.25;
    changed.m_storedDouble100 = -12.5;
    changed.m_recordParams = {1, 2, 3, 4, 5, 6, 7, 8};
    changed.m_furtherValues = {9, 10, 11};
    changed.m_blockValue = 12;
    changed.m_liveVideoOption = 0;
    CRecordOptions loaded;
    ASSERT_TRUE(Load(loaded, Store(changed)));
    EXPECT_EQ(Take(loaded), Take(changed));
}

TEST_F(RecordOptionsTest, AShortArchiveFailsAndChangesNothing) {
    CRecordOptions source;
    source.m_storedValueA = 1;
    source.m_storedValueB = 2;
    source.m_recordParams.fill(3);
    source.m_liveVideoOption = 0;
    const QByteArray bytes = Store(source);
    for (int length = 0; length < bytes.size(); ++length) {
        CRecordOptions target;
        target.m_storedValueA = 40;
        target.m_blockValue = 41;
        const Snapshot before = Take(target);
        EXPECT_FALSE(Load(target, bytes.left(length))) << length;
        EXPECT_EQ(Take(target), before) << length;
    }
}
