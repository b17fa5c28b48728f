#include "platform/com/Bstr.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/Button.h"
#include "platform/framework/TabCtrl.h"
#include "platform/registry/Registry.h"
#include "resources/ProgramResources.h"
#include "shell/DlgOptionsAutoDown.h"
#include "shell/DlgOptionsBaseTab_Connections.h"
#include "shell/DlgOptionsRecord.h"
#include "shell/DlgProgramOptions.h"
#include "shell/DlgSnapkeepOptions.h"
#include "testsupport/IsolatedTest.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>

#include <unistd.h>

namespace {

enum StoreBit { kProgram = 1, kSnapkeep = 2, kAutoDown = 4, kRecord = 8 };

struct KeyCase {
    const char* key;
    int stores;               // every store that answers the key
    int defaultValue;         // for an int key
    const char* defaultText;  // set for a string key
    const char* valueName;    // registry value written on save; nullptr: not persisted
    const char* subKey;
    int afterRestart;  // what a new store loads after the value 7 (or 0) was saved
};

constexpr char kOpt[] = "Software\\Tolvar\\Vidra OS\\Options";
constexpr char kRec[] = "Software\\Tolvar\\Vidra OS\\Record Options";
constexpr int kSet = -1;  // afterRestart: the value that was set comes back

const KeyCase kKeys[] = {
    {"View:MainTB", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:PlayProjTB", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:RecProjTB", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:PlayProjTBinProj", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"View:RecProjTBinProj", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"View:UseLargeTB", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"View:ViewDirAutoBrowser", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:ProjLayoutTB", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:VideoViewTB", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:VideoViewTBinProj", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"View:VideoToolsTB", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"View:ViewFullPathPlayTitles", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bOpenInExisting", kProgram, 1, nullptr, nullptr, nullptr, 1},
    // The basic-interface rule runs after every load.
    {"AppBehave:bOpenPGInExisting", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"AppBehave:bFlatten_to_2", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"AppBehave:bOpenDevPlayInExisting", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"AppBehave:bPR_KeepOneOpen", kProgram, 1, nullptr, "AppBehave : bPR_KeepOneOpen", kOpt, 1},
    {"AppBehave:bPR_DockPanelToPR", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"AppBehave:bPR_RemoveMaxMinClose", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"AppBehave:bPR_StartMax", kProgram, 1, nullptr, "AppBehave : bPR_StartMax", kOpt, kSet},
    {"AppBehave:bPR_StartWith", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"AppBehave:bPR_AlwaysMax", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bOpenSimilarlyNamed", kProgram, 1, nullptr, "AppBehave : bOpenSimilarlyNamed", kOpt,
     kSet},
    {"AppBehave:bPrompt4CloseFromDevice", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bGroupManager", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bGroupContents", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"ReccCP:SingleRecordTab", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"ReccCP:DisplayNonIntRecRates", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"Other:PGRelativeDefault", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"Track:UpdatePlyControlWhile", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bCloseOthersFirst", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bAutoBracket", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:lAutoBrackHalfWidth", kProgram, 15, nullptr, nullptr, nullptr, 15},
    {"AppBehave:bSaveAfterZero", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:szSaveFilePrefix", kProgram, 0, "", nullptr, nullptr, 0},
    {"AppBehave:lJPEGLossyQuality", kProgram, 75, nullptr, nullptr, nullptr, 75},
    {"AppBehave:bRecordAfterSave", kProgram, 0, nullptr, nullptr, nullptr, 0},
    {"AppBehave:bSaveWithUserQuery", kProgram, 1, nullptr, nullptr, nullptr, 1},
    {"Cameras:CheckKRM", kProgram, 1, nullptr, "Cameras : KRM", kOpt, kSet},
    {"Cameras:CheckFASTEC", kProgram, 1, nullptr, "Cameras : FASTEC", kOpt, kSet},
    {"Cameras:CheckFC", kProgram, 1, nullptr, "Cameras : FC", kOpt, kSet},
    {"Cameras:CheckHG", kProgram, 1, nullptr, "Cameras : HG", kOpt, kSet},
    {"Cameras:CheckIDT", kProgram, 1, nullptr, "Cameras : IDT", kOpt, kSet},
    {"Cameras:CheckORVEX", kProgram, 1, nullptr, "Cameras : ORVEX", kOpt, kSet},
    {"Cameras:OpenPlaybackFASTEC", kProgram, 1, nullptr, "Cameras : OpenPBFastec", kOpt, kSet},
    {"RecordFC:UltimaOrApxConnect", kProgram, 0, nullptr, "RecordFC:UltimaOrApxConnect", kRec,
     kSet},
    {"Video:ZoomMode", kProgram, 0, nullptr, "Video : ZoomMode", kOpt, kSet},
    {"Video:ShowReticle", kProgram, 1, nullptr, "Video : ShowReticle", kOpt, kSet},
    {"Video:ShowRulers", kProgram, 0, nullptr, "Video : ShowRulers", kOpt, kSet},
    {"Video:ShowInfo", kProgram, 0, nullptr, "Video : ShowInfo", kOpt, kSet},
    {"Update:bUpdateCheck", kProgram, 1, nullptr, "Update : bUpdateCheck", kOpt, kSet},
    {"Update:nUpdateInterval", kProgram, 30, nullptr, "Update : nUpdateInterval", kOpt, kSet},
    {"SK:sBaseName", kSnapkeep | kAutoDown, 0, "filename", nullptr, nullptr, 0},
    {"SK:sFormat", kSnapkeep | kAutoDown, 0, "JPG", nullptr, nullptr, 0},
    {"SK:nRangeOption", kSnapkeep | kAutoDown, 1, nullptr, nullptr, nullptr, 1},
    {"SK:nRangeFrom", kSnapkeep | kAutoDown, -50, nullptr, nullptr, nullptr, -50},
    {"SK:nRangeTo", kSnapkeep | kAutoDown, 50, nullptr, nullptr, nullptr, 50},
    {"SK:nSameNameHandling", kSnapkeep, 0, nullptr, nullptr, nullptr, 0},
    {"SK:bZeroAtCurrentLocation", kSnapkeep, 0, nullptr, nullptr, nullptr, 0},
    {"SK:bPresentSaveDlg4Verify", kSnapkeep, 1, nullptr, nullptr, nullptr, 1},
    {"SK:bEnableSnapkeepFromFile", kSnapkeep, 1, nullptr, nullptr, nullptr, 1},
    {"SK:nAutoOpenOption", kSnapkeep, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:ADLmode", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:nReset_Infinite_Finite", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:nResetMaxCount", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:bDelayedRearm", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:nDelayedTimeRearm", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:bSelfTrigger", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:nDelayedTimeSelfTrigger", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"ADL:nStartCount", kAutoDown, 0, nullptr, nullptr, nullptr, 0},
    {"Record:UseLiveVideo", kRecord, 1, nullptr, "Record:UseLiveVideo", kRec, kSet},
    {"Record:UseLiveData", kRecord, 1, nullptr, "Record:UseLiveData", kRec, kSet},
    {"Record:FirstDeviceSlave", kRecord, 0, nullptr, "Record:FirstDeviceSlave", kRec, kSet},
    {"Record:SyncRecord", kRecord, 1, nullptr, "Record:SyncRecord", kRec, kSet},
    {"Record:RecordBusyDlg", kRecord, 1, nullptr, "Record:RecordBusyDlg", kRec, kSet},
    {"RecordData:SystemMemPercent", kRecord, 3, nullptr, "RecordData:SystemMemPercent", kRec, kSet},
};

// The four stores as the program holds them, loaded from the registry as at start-up.
struct Stores {
    CDlgProgramOptions program;
    CDlgSnapkeepOptions snapkeep;
    CDlgOptionsAutoDown autoDown;
    CDlgOptionsRecord record;

    Stores() {
        program.LoadAllFromRegistry();
        record.LoadAllFromRegistry();
    }
    CDlgOptionsBase& Store(int bit) {
        switch (bit) {
            case kProgram:
                return program;
            case kSnapkeep:
                return snapkeep;
            case kAutoDown:
                return autoDown;
            default:
                return record;
        }
    }
    void SaveAll() {
        program.SaveAllToRegistry();
        record.SaveAllToRegistry();
    }
};

int FirstStore(int stores) {
    for (int bit : {kProgram, kSnapkeep, kAutoDown, kRecord})
        if (stores & bit)
            return bit;
    return 0;
}

// The DWORD registry value, or nothing when it is missing.
std::optional<DWORD> RegistryDword(const char* subKey, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const long rc = RegQueryValueEx(key, name, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != 4)
        return std::nullopt;
    return value;
}

QSet<QString> RegistryValueNames(const char* subKey) {
    QSet<QString> names;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    QString name;
    for (DWORD i = 0; RegEnumValue(key, i, &name, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i)
        names.insert(name);
    RegCloseKey(key);
    return names;
}

// Little-endian archive bytes, built by hand for the golden files.
struct Bytes {
    QByteArray data;
    Bytes& Int(int v) {
        for (int i = 0; i < 4; ++i)
            data.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& Str(const QByteArray& s) {
        data.append(static_cast<char>(s.size()));
        data.append(s);
        return *this;
    }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString Text(const VARIANT& v) {
    return v.vt == VT_BSTR ? QStringFromBstr(v.bstrVal) : QString("<vt %1>").arg(v.vt);
}

class OptionStoresTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
    }
    void TearDown() override {
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }
};

TEST_F(OptionStoresTest, EveryKeyHasItsDefaultTypeStoreAndRegistryValue) {
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.key);
        const QString key = QString::fromLatin1(c.key);
        const VARTYPE type = c.defaultText ? VT_BSTR : VT_I4;
        {
            Stores stores;
            for (int bit : {kProgram, kSnapkeep, kAutoDown, kRecord}) {
                SCOPED_TRACE(bit);
                CComVariant value;
                ASSERT_EQ(stores.Store(bit).GetSetting(key, &value), S_OK);
                if (!(c.stores & bit)) {
                    EXPECT_EQ(value.vt, VT_EMPTY);
                    continue;
                }
                ASSERT_EQ(value.vt, type);
                if (c.defaultText)
                    EXPECT_EQ(Text(value), QString::fromLatin1(c.defaultText));
                else
                    EXPECT_EQ(value.lVal, c.defaultValue);
            }
            const int newValue = c.defaultValue == 7 ? 8 : 7;
            CComVariant set =
                c.defaultText ? CComVariant(QString("new")) : CComVariant(LONG(newValue));
            ASSERT_EQ(stores.Store(FirstStore(c.stores)).SetSetting(key, set, -1), S_OK);
            stores.SaveAll();
            if (c.valueName) {
                EXPECT_EQ(RegistryDword(c.subKey, c.valueName), std::optional<DWORD>(newValue));
            }
        }
        if (c.defaultText)
            continue;
        Stores restarted;
        CComVariant back;
        ASSERT_EQ(restarted.Store(FirstStore(c.stores)).GetSetting(key, &back), S_OK);
        EXPECT_EQ(back.lVal,
                  c.afterRestart == kSet ? (c.defaultValue == 7 ? 8 : 7) : c.afterRestart);
        RegDeleteTree(HKEY_LOCAL_MACHINE, "Software\\Tolvar");
    }
}

TEST_F(OptionStoresTest, SavingWritesExactlyTheListedRegistryValues) {
    Stores stores;
    stores.SaveAll();
    QSet<QString> options;
    QSet<QString> record;
    for (const KeyCase& c : kKeys) {
        if (c.valueName)
            (c.subKey == kOpt ? options : record).insert(c.valueName);
    }
    EXPECT_EQ(RegistryValueNames(kOpt), options);
    EXPECT_EQ(RegistryValueNames(kRec), record);
}

TEST_F(OptionStoresTest, SettingsReachTheRegistryFileOnlyWhenTheStoreSaves) {
    CDlgProgramOptions store;
    store.LoadAllFromRegistry();
    ASSERT_EQ(store.SetSetting("Video:ShowReticle", CComVariant(LONG(0)), -1), S_OK);
    const QString file = RegistryDir() + "/HKEY_LOCAL_MACHINE.reg";
    EXPECT_FALSE(ReadAll(file).contains("Video : ShowReticle"));
    store.SaveAllToRegistry();
    EXPECT_TRUE(ReadAll(file).contains("Video : ShowReticle"));
    CDlgProgramOptions restarted;
    restarted.LoadAllFromRegistry();
    CComVariant value;
    restarted.GetSetting("Video:ShowReticle", &value);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 0);
}

TEST_F(OptionStoresTest, FolderListAnswersOnlyInsideItsRange) {
    CDlgSnapkeepOptions store;
    CComVariant value;
    for (int index : {-1, 0}) {
        EXPECT_EQ(store.GetSetting("SK:sDir", &value, index), S_OK);
        EXPECT_EQ(value.vt, VT_EMPTY);
    }
    EXPECT_EQ(store.SetSetting("SK:sDir", CComVariant(QString("/x")), 0), E_FAIL);
    EXPECT_TRUE(store.m_snapkeepValue.m_dirs.isEmpty());

    store.m_snapkeepValue.m_dirs = {"/a", "/b"};
    struct Case {
        int index;
        const char* expected;  // nullptr: VT_EMPTY
    } cases[] = {{-1, nullptr}, {0, "/a"}, {1, "/b"}, {2, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        CComVariant dir;
        EXPECT_EQ(store.GetSetting("SK:sDir", &dir, c.index), S_OK);
        if (c.expected)
            EXPECT_EQ(Text(dir), c.expected);
        else
            EXPECT_EQ(dir.vt, VT_EMPTY);
    }
    EXPECT_EQ(store.SetSetting("SK:sDir", CComVariant(QString("/c")), 1), S_OK);
    EXPECT_EQ(store.SetSetting("SK:sDir", CComVariant(QString("/d")), 2), E_FAIL);
    EXPECT_EQ(store.SetSetting("SK:sDir", CComVariant(QString("/d")), -1), E_FAIL);
    EXPECT_EQ(store.m_snapkeepValue.m_dirs, QStringList({"/a", "/c"}));
}

TEST_F(OptionStoresTest, StoreAnswersUnknownKeyWithEmptyValue) {
    CDlgProgramOptions store;
    CComVariant value(LONG(5));
    value.Clear();
    EXPECT_EQ(store.GetSetting("Video:NoSuchKey", &value), S_OK);
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(store.GetSetting("video:ShowReticle", &value), S_OK);  // keys are case-sensitive
    EXPECT_EQ(value.vt, VT_EMPTY);
    EXPECT_EQ(store.GetSetting("Video:ShowReticle", nullptr), E_FAIL);
    EXPECT_EQ(store.SetSetting("Video:NoSuchKey", CComVariant(LONG(1)), -1), E_FAIL);
}

TEST_F(OptionStoresTest, SnapkeepFileHasItsExactBytes) {
    CDlgSnapkeepOptions store;
    auto& sk = store.m_snapkeepValue;
    sk.m_dirs = {"C:\\shots", "/tmp/b"};
    store.SetSetting("SK:sBaseName", CComVariant(QString("run")), -1);
    store.SetSetting("SK:nRangeFrom", CComVariant(LONG(-3)), -1);
    store.SetSetting("SK:nSameNameHandling", CComVariant(LONG(2)), -1);
    ASSERT_EQ(store.SaveOptionFile(), S_OK);

    Bytes expected;
    expected.Int(1);                                        // store
    expected.Int(1).Int(2).Str("C:\\shots").Str("/tmp/b");  // folders
    expected.Str("run").Str("JPG").Int(1).Int(-3).Int(50);
    expected.Int(1).Int(2).Int(0).Int(1).Int(1).Int(0);  // advanced page
    EXPECT_EQ(ReadAll(WorkPath("snapkeep.mpqsf")).toHex(), expected.data.toHex());

    CDlgSnapkeepOptions loaded;
    ASSERT_EQ(loaded.LoadOptionFile(), S_OK);
    EXPECT_EQ(loaded.m_snapkeepValue.m_dirs, sk.m_dirs);
    CComVariant value;
    loaded.GetSetting("SK:sBaseName", &value);
    EXPECT_EQ(Text(value), "run");
}

TEST_F(OptionStoresTest, AutoDownloadFileHasItsExactBytes) {
    CDlgOptionsAutoDown store;
    store.SetSetting("ADL:nResetMaxCount", CComVariant(LONG(9)), -1);
    store.SetSetting("ADL:nDelayedTimeSelfTrigger", CComVariant(LONG(-1)), -1);
    ASSERT_EQ(store.SaveOptionFile(), S_OK);

    Bytes expected;
    expected.Int(1);
    expected.Int(1).Int(0).Str("filename").Str("JPG").Int(1).Int(-50).Int(50);
    expected.Int(1).Int(0).Int(0).Int(9).Int(0).Int(0).Int(0).Int(-1).Int(0);
    EXPECT_EQ(ReadAll(WorkPath("adlsnapkeep.mpqsf")).toHex(), expected.data.toHex());
}

TEST_F(OptionStoresTest, FileCutInSecondPageKeepsTheRestSilently) {
    Bytes file;
    file.Int(1);
    file.Int(1).Int(1).Str("/a").Str("cut").Str("TIF").Int(0).Int(-5).Int(5);
    file.Int(1).Int(3);  // advanced page: schema and same-name handling, then the end
    WriteAll(WorkPath("snapkeep.mpqsf"), file.data);

    CDlgSnapkeepOptions store;
    store.SetSetting("SK:bPresentSaveDlg4Verify", CComVariant(LONG(0)), -1);
    store.SetSetting("SK:nAutoOpenOption", CComVariant(LONG(2)), -1);
    EXPECT_EQ(store.LoadOptionFile(), S_OK);

    struct Case {
        const char* key;
        int value;
    } cases[] = {{"SK:nRangeOption", 0},
                 {"SK:nRangeFrom", -5},
                 {"SK:nRangeTo", 5},
                 {"SK:nSameNameHandling", 3},
                 {"SK:bZeroAtCurrentLocation", 0},
                 {"SK:bPresentSaveDlg4Verify", 0},
                 {"SK:nAutoOpenOption", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        CComVariant value;
        store.GetSetting(c.key, &value);
        EXPECT_EQ(value.lVal, c.value);
    }
    CComVariant base;
    store.GetSetting("SK:sBaseName", &base);
    EXPECT_EQ(Text(base), "cut");
    EXPECT_TRUE(Prompter().Prompts().empty());
}

// The folder page cut short anywhere keeps the folders and names it had before the load.
TEST_F(OptionStoresTest, FilePageCutShortKeepsWhatThePageHad) {
    Bytes whole;
    whole.Int(1);
    whole.Int(1).Int(2).Str("/new/a").Str("/new/b").Str("fresh").Str("TIF").Int(0).Int(-5).Int(5);
    for (int length = 4; length < whole.data.size(); ++length) {
        SCOPED_TRACE(length);
        WriteAll(WorkPath("snapkeep.mpqsf"), whole.data.left(length));
        CDlgSnapkeepOptions store;
        store.m_snapkeepValue.m_dirs = {"/old/a"};
        store.SetSetting("SK:sBaseName", CComVariant(QString("kept")), -1);
        store.SetSetting("SK:nRangeFrom", CComVariant(LONG(-7)), -1);
        store.LoadOptionFile();
        EXPECT_EQ(store.m_snapkeepValue.m_dirs, QStringList{"/old/a"});
        CComVariant base;
        store.GetSetting("SK:sBaseName", &base);
        EXPECT_EQ(Text(base), "kept");
        CComVariant from;
        store.GetSetting("SK:nRangeFrom", &from);
        EXPECT_EQ(from.lVal, -7);
    }
}

TEST_F(OptionStoresTest, MissingFileOrNameLeavesDefaults) {
    CDlgSnapkeepOptions store;
    EXPECT_EQ(store.LoadOptionFile(), E_FAIL);
    CComVariant base;
    store.GetSetting("SK:sBaseName", &base);
    EXPECT_EQ(Text(base), "filename");

    store.m_snapkeepValue.RestoreDefaults();
    base.Clear();  // GetSetting overwrites without freeing
    store.GetSetting("SK:sBaseName", &base);
    EXPECT_EQ(Text(base), "snapkeep");

    CDlgOptionsRecord record;  // has no option file
    EXPECT_EQ(record.LoadOptionFile(), E_FAIL);
    EXPECT_EQ(record.SaveOptionFile(), E_FAIL);
    EXPECT_TRUE(QDir(WorkDir()).entryList(QDir::Files).isEmpty());
}

TEST_F(OptionStoresTest, FailedSaveSaysSoAndKeepsTheOldFile) {
    const bool root = geteuid() == 0;
    for (bool readOnlyFolder : {false, true}) {
        SCOPED_TRACE(readOnlyFolder);
        if (readOnlyFolder && root)
            continue;  // root writes into read-only folders
        const QString folder = WorkPath(readOnlyFolder ? "ro" : "blocked");
        ASSERT_TRUE(QDir().mkpath(folder));
        CDlgOptionsBase::SetApplicationFolder(folder);
        CDlgSnapkeepOptions store;
        ASSERT_EQ(store.SaveOptionFile(), S_OK);
        const QByteArray old = ReadAll(folder + "/snapkeep.mpqsf");
        ASSERT_FALSE(old.isEmpty());
        if (readOnlyFolder)
            ASSERT_TRUE(
                QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        else
            ASSERT_TRUE(
                QDir().mkpath(folder + "/snapkeep.mpqsf.tmp"));  // the new file cannot be made

        store.SetSetting("SK:sBaseName", CComVariant(QString("changed")), -1);
        Prompter().ExpectMessageBox("Could not save file.", IDOK);
        EXPECT_EQ(store.SaveOptionFile(), E_FAIL);
        EXPECT_EQ(ReadAll(folder + "/snapkeep.mpqsf"), old);
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    ASSERT_FALSE(Prompter().Prompts().empty());
    EXPECT_TRUE(Prompter().Prompts().back().type & MB_ICONWARNING);
}

TEST_F(OptionStoresTest, ConnectionValuesMapToTheirComboItems) {
    const QStringList items = CDlgOptionsBaseTab_Connections::ConnectionItems();
    struct Case {
        int value;
        const char* item;
    } cases[] = {{0, " Auto"},
                 {1, " Firewire (1394)"},
                 {32, " Optical (Fiber)"},
                 {16, " 100 Base-T Ethernet"},
                 {160, " 1000 Base-T Ethernet"},
                 {5, " Auto"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const int index = CDlgOptionsBaseTab_Connections::IndexOfConnection(c.value);
        EXPECT_EQ(items.value(index), c.item);
        if (c.value != 5) {
            EXPECT_EQ(CDlgOptionsBaseTab_Connections::ConnectionOfIndex(index), c.value);
        }
    }
}

class CTestRecordStore : public CDlgOptionsRecord {
public:
    using CDlgOptionsRecord::OnOK;
};

class CTestAutoDownStore : public CDlgOptionsAutoDown {
public:
    using CDlgOptionsAutoDown::OnOK;
};

int IntOf(CDlgOptionsBaseTab& page, const char* key) {
    const VARIANT v = page.GetValue(key, -1);
    return v.vt == VT_I4 ? v.lVal : -999;
}

TEST_F(OptionStoresTest, RecordDialogShowsItsTwoPagesAndRefusesAMemoryShareOutOfRange) {
    CProgramResources::Register();
    CTestRecordStore record;
    ASSERT_TRUE(record.Create(186));
    CTabCtrl& tabs = record.GetTabCtrl();
    ASSERT_EQ(tabs.GetItemCount(), 2);
    EXPECT_EQ(tabs.GetItemText(0), "Record");
    EXPECT_EQ(tabs.GetItemText(1), "Data");
    CDlgOptionsBaseTab_Record& page = record.m_recordEdit;
    CDlgOptionsBaseTab_RecordData& data = record.m_recordDataEdit;
    EXPECT_EQ(page.IsDlgButtonChecked(1415), 1u);
    EXPECT_EQ(page.IsDlgButtonChecked(1300), 0u);
    EXPECT_EQ(data.GetDlgItemText(2036), "3");

    // The record page's Restore Defaults does nothing; the data page's brings back 3 percent.
    page.CheckDlgButton(1415, 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(kRestoreDefaultsId, BN_CLICKED), 0);
    EXPECT_EQ(page.IsDlgButtonChecked(1415), 0u);
    data.SetDlgItemText(2036, "8");
    data.SendMessage(WM_COMMAND, MAKEWPARAM(kRestoreDefaultsId, BN_CLICKED), 0);
    EXPECT_EQ(data.GetDlgItemText(2036), "3");

    data.SetDlgItemText(2036, "11");
    Prompter().ExpectMessageBox("Please enter an integer between 1 and 10.", IDOK);
    record.OnOK();
    EXPECT_EQ(IntOf(record.m_recordValue, "Record:UseLiveVideo"), 1) << "nothing taken";
    data.SetDlgItemText(2036, "10");
    record.OnOK();
    EXPECT_EQ(IntOf(record.m_recordValue, "Record:UseLiveVideo"), 0);
    EXPECT_EQ(IntOf(record.m_recordDataValue, "RecordData:SystemMemPercent"), 10);
    if (record.GetSafeHwnd())
        record.DestroyWindow();
}

TEST_F(OptionStoresTest, AutoDownloadPageTakesChoicesAndNumbersAsTheUserEntersThem) {
    CProgramResources::Register();
    CTestAutoDownStore store;
    VARIANT mode;
    mode.vt = VT_I4;
    mode.lVal = 5;  // a mode this program only keeps
    ASSERT_TRUE(store.m_autoDownValue.SetValue("ADL:ADLmode", mode, -1));
    ASSERT_TRUE(store.Create(30078));
    EXPECT_EQ(store.GetWindowText(), "Auto-Record Control Panel");
    ASSERT_EQ(store.GetTabCtrl().GetItemCount(), 1);
    EXPECT_EQ(store.GetTabCtrl().GetItemText(0), "File Save");
    CDlgOptionsBaseTab_AutoDown& page = store.m_autoDownEdit;
    ASSERT_NE(page.GetSafeHwnd(), nullptr) << "made, though it has no tab";
    EXPECT_EQ(page.IsDlgButtonChecked(CDlgOptionsBaseTab_AutoDown::kBasicModeId), 0u);
    EXPECT_EQ(page.IsDlgButtonChecked(CDlgOptionsBaseTab_AutoDown::kInfiniteResetId), 1u);

    // Typed counts and delays count at once when they are numbers in range; a half-typed or
    // refused one changes nothing and says nothing.
    const struct {
        int id;
        const char* typed;
        const char* key;
        int value;
    } typing[] = {
        {CDlgOptionsBaseTab_AutoDown::kStartCountId, "-2", "ADL:nStartCount", 0},
        {CDlgOptionsBaseTab_AutoDown::kStartCountId, "7x", "ADL:nStartCount", 0},
        {CDlgOptionsBaseTab_AutoDown::kStartCountId, "7", "ADL:nStartCount", 7},
        {CDlgOptionsBaseTab_AutoDown::kSelfTriggerTimeId, "3000001", "ADL:nDelayedTimeSelfTrigger",
         0},
        {CDlgOptionsBaseTab_AutoDown::kSelfTriggerTimeId, "-1", "ADL:nDelayedTimeSelfTrigger", -1},
        {CDlgOptionsBaseTab_AutoDown::kResetCountId, "", "ADL:nResetMaxCount", 0},
        {CDlgOptionsBaseTab_AutoDown::kResetCountId, "12", "ADL:nResetMaxCount", 12},
    };
    for (const auto& t : typing) {
        page.SetDlgItemText(t.id, t.typed);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(t.id, EN_CHANGE), 0);
        EXPECT_EQ(IntOf(page, t.key), t.value) << t.key << " " << t.typed;
    }
    EXPECT_TRUE(Prompter().Prompts().empty());

    // A click on a choice takes what the page shows; the mode stays until "Basic" is checked.
    page.CheckRadioButton(CDlgOptionsBaseTab_AutoDown::kInfiniteResetId,
                          CDlgOptionsBaseTab_AutoDown::kFiniteResetId,
                          CDlgOptionsBaseTab_AutoDown::kFiniteResetId);
    page.SendMessage(WM_COMMAND,
                     MAKEWPARAM(CDlgOptionsBaseTab_AutoDown::kFiniteResetId, BN_CLICKED), 0);
    EXPECT_EQ(IntOf(page, "ADL:nReset_Infinite_Finite"), 1);
    EXPECT_EQ(IntOf(page, "ADL:ADLmode"), 5);

    // The owner changes a value and asks the page to show it again.
    VARIANT count;
    count.vt = VT_I4;
    count.lVal = 42;
    ASSERT_TRUE(page.SetValue("ADL:nStartCount", count, -1));
    page.SendMessage(CDlgOptionsBaseTab_AutoDown::kShowValuesMessage, 0, 0);
    EXPECT_EQ(page.GetDlgItemText(CDlgOptionsBaseTab_AutoDown::kStartCountId), "42");

    store.OnOK();
    CDlgOptionsBaseTab_AutoDown& kept = store.m_autoDownValue;
    EXPECT_EQ(IntOf(kept, "ADL:ADLmode"), 5);
    EXPECT_EQ(IntOf(kept, "ADL:nStartCount"), 42);
    EXPECT_EQ(IntOf(kept, "ADL:nReset_Infinite_Finite"), 1);
    EXPECT_EQ(IntOf(kept, "ADL:nResetMaxCount"), 12);
    if (store.GetSafeHwnd())
        store.DestroyWindow();
}

}  // namespace
