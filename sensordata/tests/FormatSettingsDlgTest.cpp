#include "sensordata/FormatSettingsDlg.h"

#include "platform/framework/ResourceChain.h"
#include "platform/registry/Registry.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QFile>

#include <clocale>

namespace {

class FormatSettingsDlgTest : public IsolatedTest {
protected:
    QByteArray HiveText() const {
        QFile file(RegistryDir() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The whole hive after saving settings that differ from the defaults in channels 1 and 64.
    static QByteArray ExpectedHive() {
        const QString root = QStringLiteral("HKEY_LOCAL_MACHINE\\Software");
        QString text = QStringLiteral("; Registry hive HKEY_LOCAL_MACHINE, UTF-8\n");
        for (const QString& key : {root, root + "\\Tolvar", root + "\\Tolvar\\Vidra"})
            text += "\n[" + key + "]\n";
        const QString stamping = root + "\\Tolvar\\Vidra\\Stamping";
        text += "\n[" + stamping + "]\n";
        text += "\"Font\"=dword:00000001\n\"Export Scaled\"=dword:00000000\n";
        text += "\"Gridlines\"=dword:00000000\n\"Black Background\"=dword:00000001\n";
        const auto section = [&](const QString& name, const auto& value) {
            text += "\n[" + stamping + "\\" + name + "]\n";
            for (int c = 0; c < 64; ++c)
                text += QStringLiteral("\"Channel %1\"=").arg(c + 1) + value(c) + "\n";
        };
        section("Label", [](int c) {
            return c == 0 ? QStringLiteral("\"Force\"") : QStringLiteral("\"\"");
        });
        section("Units", [](int c) {
            return c == 63 ? QStringLiteral("\"\u00B0C\"") : QStringLiteral("\"\"");
        });
        section("Offset", [](int c) {
            return c == 0 ? QStringLiteral("\"-1.2500\"") : QStringLiteral("\"0.0000\"");
        });
        section("Factor", [](int c) {
            return c == 63 ? QStringLiteral("\"2.5000\"") : QStringLiteral("\"1.0000\"");
        });
        section("Plot Color", [](int c) {
            return QFormatC("dword:%08x",
                            c == 0 ? 0x123456u : unsigned(CVidraData::DefaultPlotColor(c)));
        });
        return text.toUtf8();
    }

    static void ChangeSome(CFormatSettingsDlg& s) {
        s.m_labels[0] = QStringLiteral("Force");
        s.m_units[63] = QStringLiteral("\u00B0C");
        s.m_offsets[0] = -1.25f;
        s.m_factors[63] = 2.5f;
        s.m_colors[0] = 0x123456;
        s.m_nFont = CFormatSettingsDlg::kLargeFont;
        s.m_nExportScaled = 0;
        s.m_nGridLines = 0;
        s.m_nBlackBackground = 1;
    }
};

TEST_F(FormatSettingsDlgTest, DefaultsWithoutRegistry) {
    CFormatSettingsDlg s;
    EXPECT_EQ(s.m_nFont, CFormatSettingsDlg::kAutoFont);
    EXPECT_EQ(s.m_nExportScaled, 1);
    EXPECT_EQ(s.m_nGridLines, 1);
    EXPECT_EQ(s.m_nBlackBackground, 1);
    EXPECT_EQ(s.m_nScaledView, 0);
    EXPECT_EQ(s.m_colors[7], 0x0000FFu);
    EXPECT_EQ(s.m_factors[63], 1.0f);
    EXPECT_EQ(s.m_labels.size(), 64u);
}

TEST_F(FormatSettingsDlgTest, SavedHiveIsTheGoldenText) {
    CFormatSettingsDlg s;
    ChangeSome(s);
    ASSERT_TRUE(s.SaveSettings());
    EXPECT_EQ(HiveText(), ExpectedHive());
}

TEST_F(FormatSettingsDlgTest, SavedTextIsTheSameUnderAGermanLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    CFormatSettingsDlg s;
    ChangeSome(s);
    const BOOL ok = s.SaveSettings();
    CFormatSettingsDlg back;
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(ok);
    EXPECT_EQ(HiveText(), ExpectedHive());
    EXPECT_EQ(back.m_offsets[0], -1.25f);
}

TEST_F(FormatSettingsDlgTest, RoundTripKeepsLongTextsWhole) {
    CFormatSettingsDlg s;
    ChangeSome(s);
    const QString label60 = QString(60, QChar('L'));
    const QString units60 = QString(59, QChar('u')) + QChar(0x00B5);
    s.m_labels[10] = label60;
    s.m_units[10] = units60;
    ASSERT_TRUE(s.SaveSettings());
    CFormatSettingsDlg back;
    EXPECT_EQ(back.m_labels[10], label60);
    EXPECT_EQ(back.m_units[10], units60);
    EXPECT_EQ(back.m_labels[0], QStringLiteral("Force"));
    EXPECT_EQ(back.m_offsets[0], -1.25f);
    EXPECT_EQ(back.m_factors[63], 2.5f);
    EXPECT_EQ(back.m_colors[0], 0x123456u);
    EXPECT_EQ(back.m_nFont, CFormatSettingsDlg::kLargeFont);
    EXPECT_EQ(back.m_nExportScaled, 0);
    EXPECT_EQ(back.m_nGridLines, 0);
}

TEST_F(FormatSettingsDlgTest, MissingOrBadValuesKeepOrZeroAsAtofWould) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra\\Stamping\\Factor",
                             KEY_ALL_ACCESS, &key, nullptr),
              ERROR_SUCCESS);
    RegSetString(key, QStringLiteral("Channel 2"), QStringLiteral("abc"));
    RegSetString(key, QStringLiteral("Channel 3"), QStringLiteral("3.5x"));
    RegCloseKey(key);
    CFormatSettingsDlg s;
    EXPECT_EQ(s.m_factors[0], 1.0f);
    EXPECT_EQ(s.m_factors[1], 0.0f);
    EXPECT_EQ(s.m_factors[2], 3.5f);
    EXPECT_EQ(s.m_nFont, CFormatSettingsDlg::kAutoFont);
}

// The window lists the channels that are on and edits the chosen channel's fields.
TEST_F(FormatSettingsDlgTest, WindowListsOnChannelsAndKeepsEdits) {
    CResourceChain::AddModule(RmResourceModule());
    CVidraData data;
    data.m_onFlags[0] = data.m_onFlags[3] = 1;
    data.m_channels = {{0.0f}, {0.0f}};
    data.m_nTotalScans = 1;
    CFormatSettingsDlg s(nullptr, &data);
    s.m_labels[3] = QStringLiteral("Speed");
    s.m_factors[3] = 12.5f;
    ASSERT_TRUE(s.Create());
    CListCtrl* list = static_cast<CListCtrl*>(s.GetDlgItem(FormatSettingsId::kChannelList));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(1, 0), QStringLiteral("3"));
    EXPECT_EQ(list->GetItemText(1, 1), QStringLiteral("Speed"));
    EXPECT_EQ(list->GetItemText(1, 2), QStringLiteral(" 12.5000"));
    EXPECT_EQ(list->GetItemText(1, 3), QStringLiteral("  0.00"));
    EXPECT_EQ(s.GetDlgItemText(FormatSettingsId::kLabel), QString());
    s.SetDlgItemText(FormatSettingsId::kLabel, QStringLiteral("Load"));
    list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(s.m_nCurrentChannel, 3);
    EXPECT_EQ(s.GetDlgItemText(FormatSettingsId::kLabel), QStringLiteral("Speed"));
    EXPECT_EQ(s.m_labels[0], QStringLiteral("Load"));
    s.SetDlgItemText(FormatSettingsId::kUnits, QStringLiteral("m/s"));
    s.OnOK();
    EXPECT_EQ(data.m_units[3], QStringLiteral("m/s"));
    EXPECT_EQ(data.m_factors[3], 12.5f);
    EXPECT_EQ(CFormatSettingsDlg().m_units[3], QStringLiteral("m/s"));
    s.DestroyWindow();
    CResourceChain::RemoveModule(RmResourceModule());
}

// OK without an edit leaves the data's own calibration, whatever the registry's fields hold;
// an edited channel takes the window's fields.
TEST_F(FormatSettingsDlgTest, OkWithoutEditsKeepsTheDataFilesCalibration) {
    CResourceChain::AddModule(RmResourceModule());
    CVidraData data;
    data.m_onFlags[0] = data.m_onFlags[2] = 1;
    data.m_channels = {{0.0f}, {0.0f}};
    data.m_nTotalScans = 1;
    for (int c : {0, 2}) {
        data.m_labels[c] = QStringLiteral("Force");
        data.m_units[c] = QStringLiteral("N");
        data.m_factors[c] = 2.0f;
        data.m_offsets[c] = 0.5f;
    }
    CFormatSettingsDlg s(nullptr, &data);
    ASSERT_TRUE(s.Create());
    s.OnOK();
    for (int c : {0, 2}) {
        EXPECT_EQ(data.m_labels[c], QStringLiteral("Force")) << c;
        EXPECT_EQ(data.m_units[c], QStringLiteral("N")) << c;
        EXPECT_EQ(data.m_factors[c], 2.0f) << c;
        EXPECT_EQ(data.m_offsets[c], 0.5f) << c;
    }
    s.DestroyWindow();
    // Shown again, channel 0 gets a new factor; channel 2 is only looked at.
    CFormatSettingsDlg t(nullptr, &data);
    ASSERT_TRUE(t.Create());
    t.SetDlgItemText(FormatSettingsId::kFactor, QStringLiteral("3.0000"));
    CListCtrl* list = static_cast<CListCtrl*>(t.GetDlgItem(FormatSettingsId::kChannelList));
    ASSERT_NE(list, nullptr);
    list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(t.m_nCurrentChannel, 2);
    t.OnOK();
    EXPECT_EQ(data.m_factors[0], 3.0f);
    EXPECT_EQ(data.m_labels[0], QString()) << "the window's own field for the channel";
    EXPECT_EQ(data.m_labels[2], QStringLiteral("Force"));
    EXPECT_EQ(data.m_factors[2], 2.0f);
    t.DestroyWindow();
    CResourceChain::RemoveModule(RmResourceModule());
}

// Cancel drops what was typed, the edited marks with it: an OK after it writes no channel that
// was edited and then cancelled, and the fields show the values again.
TEST_F(FormatSettingsDlgTest, CancelDropsTheEditsSoALaterOkWritesNone) {
    CResourceChain::AddModule(RmResourceModule());
    CVidraData data;
    data.m_onFlags[0] = data.m_onFlags[2] = 1;
    data.m_channels = {{0.0f}, {0.0f}};
    data.m_nTotalScans = 1;
    data.m_factors[0] = 2.0f;
    data.m_labels[0] = QStringLiteral("Force");
    CFormatSettingsDlg s(nullptr, &data);
    ASSERT_TRUE(s.Create());
    s.SetDlgItemText(FormatSettingsId::kFactor, QStringLiteral("3.0000"));
    CListCtrl* list = static_cast<CListCtrl*>(s.GetDlgItem(FormatSettingsId::kChannelList));
    ASSERT_NE(list, nullptr);
    list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(s.m_nCurrentChannel, 2);
    s.SetDlgItemText(FormatSettingsId::kLabel, QStringLiteral("typed"));
    s.OnCancel();
    EXPECT_EQ(s.GetDlgItemText(FormatSettingsId::kLabel), QString());
    s.OnOK();
    EXPECT_EQ(data.m_factors[0], 2.0f);
    EXPECT_EQ(data.m_labels[0], QStringLiteral("Force"));
    EXPECT_EQ(data.m_labels[2], QString());
    EXPECT_EQ(s.m_factors[0], 1.0f) << "the window's own field, as it opened";
    s.DestroyWindow();
    CResourceChain::RemoveModule(RmResourceModule());
}

}  // namespace
