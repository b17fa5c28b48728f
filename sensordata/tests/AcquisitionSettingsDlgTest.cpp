#include "sensordata/AcquisitionSettingsDlg.h"

#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"
#include "sensordata/AcqSettings.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTreeWidget>

namespace {

using Dlg = CAcquisitionSettingsDlg;

// A card of n = 8 (channel numbers 0 .. 15) on the connector with every channel, channels 3
// and 11 on; the dialog open on it, modeless.
class AcquisitionSettingsDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(RmResourceModule());
        m_settings.SetChannelCount(8);
        m_settings.m_on[3] = 1;
        m_settings.m_on[11] = 1;
        m_settings.m_mode[3] = CAcqSettings::kRse;
        m_settings.m_nMaxAggregateRate = 100000;
        m_format.m_labels[3] = QStringLiteral("Force");
        m_format.m_units[3] = QStringLiteral("N");
        m_dlg.SetAcqSettings(&m_settings);
        m_dlg.SetFormatSettings(&m_format);
    }
    void TearDown() override {
        if (m_dlg.GetSafeHwnd())
            m_dlg.DestroyWindow();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }
    void Open() { ASSERT_TRUE(m_dlg.Create(SensorRes::kAcquisitionSettingsTemplate, nullptr)); }

    QComboBox* Box(int id) { return qobject_cast<QComboBox*>(m_dlg.GetDlgItem(id)->GetQWidget()); }
    QStringList Entries(int id) {
        QStringList entries;
        for (int i = 0; i < Box(id)->count(); ++i)
            entries << Box(id)->itemText(i);
        return entries;
    }
    // Chooses the channel number as the user does in the channel combo.
    void ChooseChannel(int channel) {
        QComboBox* box = Box(Dlg::kChannelCombo);
        box->setCurrentIndex(box->findText(QString::number(channel)));
        m_dlg.OnChannelChosen();
        ASSERT_EQ(m_dlg.GetCurrentChannel(), channel);
    }
    void ChooseMode(const QString& text) {
        QComboBox* box = Box(Dlg::kMode);
        box->setCurrentIndex(box->findText(text));
        m_dlg.OnModeChosen();
    }
    // The channels of the list's rows, as its first column shows them.
    QStringList ListedChannels() {
        auto* tree = qobject_cast<QTreeWidget*>(m_dlg.GetDlgItem(Dlg::kChannelList)->GetQWidget());
        QStringList channels;
        for (int row = 0; row < tree->topLevelItemCount(); ++row)
            channels << tree->topLevelItem(row)->text(0);
        return channels;
    }
    bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE; }

    CAcqSettings m_settings;
    CFormatSettingsDlg m_format;
    Dlg m_dlg;
};

QStringList Numbers(int first, int last) {
    QStringList numbers;
    for (int n = first; n <= last; ++n)
        numbers << QString::number(n);
    return numbers;
}

}  // namespace

TEST(TriggerEdgeTextTest, EdgesHaveTheirTexts) {
    const struct {
        int edge;
        const char* text;
    } cases[] = {
        {1, "Rising Edge"}, {2, "Falling Edge"}, {0, "Unknown"}, {3, "Unknown"}, {-1, "Unknown"}};
    for (const auto& c : cases) {
        QString text = QStringLiteral("before");
        GetTriggerEdgeText(c.edge, &text);
        EXPECT_EQ(text, QString::fromLatin1(c.text)) << c.edge;
    }
    GetTriggerEdgeText(1, nullptr);
}

TEST_F(AcquisitionSettingsDlgTest, TheChannelNumbersFollowTheConnector) {
    m_settings.m_nConnector = CAcqSettings::kLowChannelsOnly;
    Open();
    EXPECT_EQ(Entries(Dlg::kChannelCombo), Numbers(0, 7));
    m_dlg.DestroyWindow();
    m_settings.m_nConnector = CAcqSettings::kAllChannels;
    Open();
    EXPECT_EQ(Entries(Dlg::kChannelCombo), Numbers(0, 15));
    EXPECT_EQ(m_dlg.GetCurrentChannel(), 0);
    EXPECT_EQ(Box(Dlg::kChannelCombo)->currentIndex(), 0);
}

TEST_F(AcquisitionSettingsDlgTest, TheListShowsTheChannelsThatAreOn) {
    Open();
    auto* tree = qobject_cast<QTreeWidget*>(m_dlg.GetDlgItem(Dlg::kChannelList)->GetQWidget());
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QStringList row;
    for (int column = 0; column < 8; ++column)
        row << tree->topLevelItem(0)->text(column);
    EXPECT_EQ(row,
              (QStringList{"3", "RSE", "-10.00", " 10.00", "Force", "  1.0000", "  0.00", "N"}));
    EXPECT_EQ(m_settings.m_rowChannel[0], 3);
    EXPECT_EQ(m_settings.m_rowChannel[1], 11);
    EXPECT_EQ(m_settings.m_rowChannel[2], -1);
    QStringList headings;
    for (int column = 0; column < tree->columnCount(); ++column)
        headings << tree->headerItem()->text(column);
    EXPECT_EQ(headings, (QStringList{"Chan", "Input Mode", "Lower Limit", "Upper Limit", "Label",
                                     "Factor", "Offset", "Units"}));

    // Choosing a row makes its channel current and loads its controls.
    tree->setCurrentItem(tree->topLevelItem(0));
    EXPECT_EQ(m_dlg.GetCurrentChannel(), 3);
    EXPECT_EQ(m_dlg.GetDlgItemText(Dlg::kLabel), "Force");
    EXPECT_EQ(Box(Dlg::kChannelCombo)->currentText(), "3");
}

TEST_F(AcquisitionSettingsDlgTest, DifferentialModeTakesTheHighPartner) {
    Open();
    ChooseChannel(3);
    EXPECT_EQ(Entries(Dlg::kMode), (QStringList{"DIFF", "RSE", "NRSE"}));
    Prompter().ExpectMessageBox(
        QStringLiteral("Switching to differential mode has disabled channel 11."), IDOK);
    ChooseMode(QStringLiteral("DIFF"));
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, "Warning");
    EXPECT_EQ(m_settings.m_mode[3], CAcqSettings::kDiff);
    EXPECT_EQ(m_settings.m_on[11], 0);
    EXPECT_EQ(ListedChannels(), QStringList{"3"});

    // The partner offers no differential mode, and is taken: its controls are off.
    ChooseChannel(11);
    EXPECT_EQ(Entries(Dlg::kMode), (QStringList{"RSE", "NRSE"}));
    EXPECT_EQ(m_dlg.GetDlgItemText(Dlg::kStatus), "Channel In Use");
    for (int id : {Dlg::kOn, Dlg::kMode, Dlg::kUpper, Dlg::kLower, Dlg::kFactor, Dlg::kOffset,
                   Dlg::kLabel, Dlg::kUnits, Dlg::kColorButton})
        EXPECT_FALSE(Enabled(id)) << id;
    // Channel 4, free, has them back.
    ChooseChannel(4);
    EXPECT_EQ(m_dlg.GetDlgItemText(Dlg::kStatus), "");
    EXPECT_TRUE(Enabled(Dlg::kOn));

    // Without the partner on, differential mode disables nothing and says nothing.
    ChooseMode(QStringLiteral("DIFF"));
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
}

TEST_F(AcquisitionSettingsDlgTest, AHighChannelWhosePartnerIsDifferentialIsSwitchedOff) {
    m_settings.m_mode[3] = CAcqSettings::kDiff;
    Open();
    ChooseChannel(11);
    EXPECT_EQ(m_dlg.GetDlgItemText(Dlg::kStatus), "Channel In Use");
    EXPECT_EQ(m_settings.m_on[11], 0);
    EXPECT_EQ(m_dlg.IsDlgButtonChecked(Dlg::kOn), 0u);
    EXPECT_FALSE(Enabled(Dlg::kLabel));
    // The status is drawn in red.
    const QColor text =
        m_dlg.GetDlgItem(Dlg::kStatus)->GetQWidget()->palette().color(QPalette::WindowText);
    EXPECT_EQ(text, QColor(255, 0, 0));
}

TEST_F(AcquisitionSettingsDlgTest, LeavingTheFullConnectorWarnsAndSwitchesTheHighChannelsOff) {
    m_settings.m_on[9] = 1;
    Open();
    Prompter().ExpectMessageBox(
        QStringLiteral("Changing hardware may disable one or more channels."), IDOK);
    Box(Dlg::kConnector)->setCurrentIndex(0);
    m_dlg.OnConnectorChosen();
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, "Warning");
    EXPECT_EQ(m_settings.m_nConnector, CAcqSettings::kLowChannelsOnly);
    EXPECT_EQ(m_settings.m_on[9], 0);
    EXPECT_EQ(m_settings.m_on[11], 0);
    EXPECT_EQ(m_settings.m_on[3], 1);
    EXPECT_EQ(Entries(Dlg::kChannelCombo), Numbers(0, 7));
    // Back to the full connector: no warning, every number offered again.
    Box(Dlg::kConnector)->setCurrentIndex(1);
    m_dlg.OnConnectorChosen();
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Entries(Dlg::kChannelCombo), Numbers(0, 15));
}

TEST_F(AcquisitionSettingsDlgTest, OkStoresTheControlsAndTheRatePerChannel) {
    Open();
    ChooseChannel(5);
    m_dlg.CheckDlgButton(Dlg::kOn, BST_CHECKED);
    m_dlg.OnOnClicked();
    EXPECT_EQ(ListedChannels(), (QStringList{"3", "5", "11"}));
    m_dlg.SetDlgItemText(Dlg::kLower, QStringLiteral("-2.5"));
    m_dlg.SetDlgItemText(Dlg::kUpper, QStringLiteral("7.25"));
    m_dlg.SetDlgItemText(Dlg::kLabel, QStringLiteral("Strain"));
    m_dlg.SetDlgItemText(Dlg::kFactor, QStringLiteral("2"));
    // Typed values of a channel survive a move to another one.
    ChooseChannel(3);
    ChooseChannel(5);
    EXPECT_EQ(m_dlg.GetDlgItemText(Dlg::kLabel), "Strain");
    m_dlg.SetDlgItemText(Dlg::kUnits, QStringLiteral("um"));
    m_dlg.OnOK();
    EXPECT_EQ(m_settings.m_lower[5], -2.5);
    EXPECT_EQ(m_settings.m_upper[5], 7.25);
    EXPECT_EQ(m_format.m_labels[5], "Strain");
    EXPECT_EQ(m_format.m_units[5], "um");
    EXPECT_EQ(m_format.m_factors[5], 2.0f);
    // Three channels on share the aggregate rate.
    EXPECT_EQ(m_settings.m_nMaxChannelRate, 33333);
    // The format settings went to the registry with the record.
    CFormatSettingsDlg reloaded;
    EXPECT_EQ(reloaded.m_labels[5], "Strain");
}

TEST_F(AcquisitionSettingsDlgTest, TheColourButtonRecoloursTheChannelAndItsSwatch) {
    Open();
    ChooseChannel(3);
    Prompter().AnswerColor(COLORREF(0x0000FF));
    m_dlg.OnColor();
    EXPECT_EQ(m_format.m_colors[3], 0x0000FFu);
    QWidget* swatch = m_dlg.GetDlgItem(Dlg::kColorSwatch)->GetQWidget();
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(255, 0, 0));
    // Cancel leaves it.
    Prompter().AnswerColor(std::nullopt);
    m_dlg.OnColor();
    EXPECT_EQ(m_format.m_colors[3], 0x0000FFu);
}

TEST_F(AcquisitionSettingsDlgTest, SavedHiveIsTheGoldenText) {
    CAcqSettings s;
    s.SetChannelCount(2);
    s.m_nDevice = 3;
    s.m_nConnector = 0;
    s.m_nAdapter = 1;
    s.m_on = {1, 0, 1, 1};
    s.m_mode[0] = CAcqSettings::kDiff;
    s.m_mode[1] = CAcqSettings::kNrse;
    s.m_lower[1] = -2.5;
    s.m_upper[0] = 0.125;
    SaveAcquisitionSettings(s);
    QFile file(RegistryDir() + QStringLiteral("/HKEY_LOCAL_MACHINE.reg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString root = QStringLiteral("HKEY_LOCAL_MACHINE\\Software");
    const QString acquisition = root + "\\Tolvar\\Vidra\\Acquisition";
    // Only channels 1 .. n are written, though the record has 2n channel numbers.
    const QString expected =
        "; Registry hive HKEY_LOCAL_MACHINE, UTF-8\n"
        "\n[" +
        root +
        "]\n"
        "\n[" +
        root +
        "\\Tolvar]\n"
        "\n[" +
        root +
        "\\Tolvar\\Vidra]\n"
        "\n[" +
        acquisition +
        "]\n"
        "\"Device\"=dword:00000003\n\"DAQ Connector\"=dword:00000000\n"
        "\"Adapter Flag\"=dword:00000001\n"
        "\n[" +
        acquisition +
        "\\ChannelOn]\n"
        "\"Channel 1\"=dword:00000001\n\"Channel 2\"=dword:00000000\n"
        "\n[" +
        acquisition +
        "\\Input Mode]\n"
        "\"Channel 1\"=dword:00000000\n\"Channel 2\"=dword:00000002\n"
        "\n[" +
        acquisition +
        "\\Lower Limit]\n"
        "\"Channel 1\"=\"-10.0000\"\n\"Channel 2\"=\"-2.5000\"\n"
        "\n[" +
        acquisition +
        "\\Upper Limit]\n"
        "\"Channel 1\"=\"0.1250\"\n\"Channel 2\"=\"10.0000\"\n";
    EXPECT_EQ(QString::fromUtf8(file.readAll()), expected);

    // A record without channels writes nothing.
    file.close();
    QFile::remove(file.fileName());
    SaveAcquisitionSettings(CAcqSettings());
    EXPECT_FALSE(QFile::exists(file.fileName()));
}

TEST_F(AcquisitionSettingsDlgTest, ChannelCellsDrawByTheirText) {
    Open();
    auto* tree = qobject_cast<QTreeWidget*>(m_dlg.GetDlgItem(Dlg::kChannelList)->GetQWidget());
    m_dlg.ShowWindow(SW_SHOW);
    tree->topLevelItem(0)->setText(1, QStringLiteral("fooColor 16711680"));     // 0xFF0000: blue
    tree->topLevelItem(1)->setText(1, QStringLiteral("fooShape 65280 3 4 1"));  // green square
    tree->clearSelection();
    tree->setCurrentItem(nullptr);
    QCoreApplication::processEvents();
    const QImage image = tree->viewport()->grab().toImage();
    const QRect swatch = tree->visualRect(tree->model()->index(0, 1));
    EXPECT_EQ(QColor(image.pixel(swatch.center())), QColor(0, 0, 255));
    const QRect marker = tree->visualRect(tree->model()->index(1, 1));
    // The square's edge, four pixels left of the centre, and its empty middle.
    const QPoint centre(marker.left() + marker.width() / 2, marker.top() + marker.height() / 2);
    EXPECT_EQ(QColor(image.pixel(centre - QPoint(4, 0))), QColor(0, 255, 0));
    EXPECT_EQ(QColor(image.pixel(centre)), QColor(255, 255, 255));
}
