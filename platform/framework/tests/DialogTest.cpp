#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/DC.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ResourceChain.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

constexpr UINT kValuesDialog = 9101;
constexpr int kCount = 1001;
constexpr int kGain = 1002;
constexpr int kName = 1003;
constexpr int kEnabled = 1004;
constexpr int kModeA = 1005;
constexpr int kModeB = 1006;
constexpr int kModeC = 1007;
constexpr int kUnits = 1008;
constexpr int kSwatch = 1009;

DialogItemTemplate Item(DlgControl type, int id, int x, int y, int cx, int cy, DWORD style = 0,
                        const QString& text = QString()) {
    return {type, id, text, x, y, cx, cy, WS_CHILD | WS_VISIBLE | style};
}

// One dialog with a field of every exchanged kind.
CResourceModule ValuesModule() {
    CResourceModule module;
    module.name = QStringLiteral("dialog tests");
    DialogTemplate t;
    t.id = kValuesDialog;
    t.caption = QStringLiteral("Values");
    t.cx = 200;
    t.cy = 150;
    t.items = {
        Item(DlgControl::Edit, kCount, 7, 7, 50, 14, WS_TABSTOP),
        Item(DlgControl::Edit, kGain, 7, 25, 50, 14, WS_TABSTOP),
        Item(DlgControl::Edit, kName, 7, 43, 100, 14, WS_TABSTOP),
        Item(DlgControl::Button, kEnabled, 7, 61, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP,
             QStringLiteral("Enabled")),
        Item(DlgControl::Button, kModeA, 7, 75, 40, 10, BS_AUTORADIOBUTTON | WS_GROUP,
             QStringLiteral("A")),
        Item(DlgControl::Button, kModeB, 50, 75, 40, 10, BS_AUTORADIOBUTTON, QStringLiteral("B")),
        Item(DlgControl::Button, kModeC, 93, 75, 40, 10, BS_AUTORADIOBUTTON, QStringLiteral("C")),
        Item(DlgControl::ComboBox, kUnits, 7, 90, 80, 60, CBS_DROPDOWNLIST | WS_GROUP | WS_TABSTOP),
        Item(DlgControl::Button, kSwatch, 100, 90, 20, 20, BS_OWNERDRAW),
        Item(DlgControl::Button, IDOK, 90, 130, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP,
             QStringLiteral("OK")),
        Item(DlgControl::Button, IDCANCEL, 143, 130, 50, 14, WS_TABSTOP, QStringLiteral("Cancel")),
    };
    module.dialogs.push_back(t);
    return module;
}

class CValuesDlg : public CDialog {
public:
    CValuesDlg() : CDialog(kValuesDialog) {}

    int m_count = 0;
    double m_gain = 0.0;
    QString m_name;
    int m_enabled = 0;
    int m_mode = -1;
    int m_units = -1;
    int m_initCalls = 0;
    // Run once the dialog shows, so the test plays the user.
    std::function<void(CValuesDlg&)> m_script;

    QWidget* Control(int id) const { return GetDlgItem(id)->GetQWidget(); }
    QString Text(int id) const { return GetDlgItem(id)->GetWindowText(); }
    void Type(int id, const QString& text) { GetDlgItem(id)->SetWindowText(text); }
    void Click(int id) { dynamic_cast<QAbstractButton*>(Control(id))->click(); }

protected:
    BOOL OnInitDialog() override {
        ++m_initCalls;
        auto* units = static_cast<QComboBox*>(Control(kUnits));
        units->addItems({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("m")});
        const BOOL result = CDialog::OnInitDialog();
        if (m_script)
            QTimer::singleShot(0, GetQWidget(), [this] { m_script(*this); });
        return result;
    }

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kCount, m_count);
        DDV_MinMaxInt(pDX, m_count, 0, 100);
        DDX_Text(pDX, kGain, m_gain);
        DDV_MinMaxDouble(pDX, m_gain, 0.5, 2.0);
        DDX_Text(pDX, kName, m_name);
        DDV_MaxChars(pDX, m_name, 8);
        DDX_Check(pDX, kEnabled, m_enabled);
        DDX_Radio(pDX, kModeA, m_mode);
        DDX_CBIndex(pDX, kUnits, m_units);
    }
};

class DialogTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }

    CResourceModule m_module = ValuesModule();
};

TEST_F(DialogTest, ValuesRoundTripThroughTheControls) {
    CValuesDlg dlg;
    dlg.m_count = 42;
    dlg.m_gain = 1.25;
    dlg.m_name = QStringLiteral("probe");
    dlg.m_enabled = 1;
    dlg.m_mode = 2;
    dlg.m_units = 1;
    QStringList shown;
    dlg.m_script = [&](CValuesDlg& d) {
        shown = {d.Text(kCount), d.Text(kGain), d.Text(kName)};
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(d.Control(kEnabled))->isChecked());
        EXPECT_TRUE(dynamic_cast<QAbstractButton*>(d.Control(kModeC))->isChecked());
        EXPECT_EQ(static_cast<QComboBox*>(d.Control(kUnits))->currentIndex(), 1);
        d.Type(kCount, QStringLiteral(" 7 "));
        d.Type(kGain, QStringLiteral("0.75"));
        d.Type(kName, QStringLiteral("renamed"));
        d.Click(kEnabled);
        d.Click(kModeA);
        static_cast<QComboBox*>(d.Control(kUnits))->setCurrentIndex(2);
        d.Click(IDOK);
    };
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, (QStringList{"42", "1.25", "probe"}));
    EXPECT_EQ(dlg.m_count, 7);
    EXPECT_DOUBLE_EQ(dlg.m_gain, 0.75);
    EXPECT_EQ(dlg.m_name, QStringLiteral("renamed"));
    EXPECT_EQ(dlg.m_enabled, 0);
    EXPECT_EQ(dlg.m_mode, 0);
    EXPECT_EQ(dlg.m_units, 2);
    EXPECT_EQ(dlg.m_initCalls, 1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, CancelAndClosingKeepTheMembers) {
    for (const bool close : {false, true}) {
        CValuesDlg dlg;
        dlg.m_count = 5;
        dlg.m_script = [close](CValuesDlg& d) {
            d.Type(kCount, QStringLiteral("9"));
            if (close)
                d.GetQWidget()->close();
            else
                d.Click(IDCANCEL);
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << close;
        EXPECT_EQ(dlg.m_count, 5) << close;
    }
}

// Keys no control takes: Enter presses the default button (OK here), Escape cancels.
TEST_F(DialogTest, EnterAndEscapeEndTheDialog) {
    for (const bool enter : {true, false}) {
        CValuesDlg dlg;
        dlg.m_gain = 1.0;
        dlg.m_script = [enter](CValuesDlg& d) {
            d.Type(kCount, QStringLiteral("17"));
            QTest::keyClick(d.Control(kCount), enter ? Qt::Key_Return : Qt::Key_Escape);
        };
        EXPECT_EQ(dlg.DoModal(), enter ? IDOK : IDCANCEL);
        EXPECT_EQ(dlg.m_count, enter ? 17 : 0);
    }
}

TEST_F(DialogTest, DialogItemsByIdTakeTextNumbersAndChecks) {
    CValuesDlg dlg;
    ASSERT_TRUE(dlg.Create(kValuesDialog));
    dlg.SetDlgItemInt(kCount, static_cast<UINT>(-12));
    EXPECT_EQ(dlg.GetDlgItemText(kCount), QStringLiteral("-12"));
    BOOL ok = FALSE;
    EXPECT_EQ(static_cast<int>(dlg.GetDlgItemInt(kCount, &ok)), -12);
    EXPECT_TRUE(ok);
    dlg.SetDlgItemText(kCount, QStringLiteral("4x"));
    EXPECT_EQ(dlg.GetDlgItemInt(kCount, &ok), 0u);
    EXPECT_FALSE(ok);
    dlg.CheckDlgButton(kEnabled, BST_CHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(kEnabled), 1u);
    dlg.CheckRadioButton(kModeA, kModeC, kModeB);
    EXPECT_EQ(dlg.IsDlgButtonChecked(kModeB), 1u);
    dlg.CheckRadioButton(kModeA, kModeC, kModeC);
    EXPECT_EQ(std::vector<UINT>({dlg.IsDlgButtonChecked(kModeA), dlg.IsDlgButtonChecked(kModeB),
                                 dlg.IsDlgButtonChecked(kModeC)}),
              std::vector<UINT>({0, 0, 1}));
    dlg.DestroyWindow();
}

TEST_F(DialogTest, MissingTemplateFailsToOpen) {
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(4242));
}

// Each bad field keeps the dialog open with the focus on that field until it is corrected.
TEST_F(DialogTest, FailingFieldKeepsTheDialogOpen) {
    struct Case {
        int id;
        QString bad;
        QString good;
        QString message;
    };
    const Case cases[] = {
        {kCount, "101", "100", "Please enter an integer between 0 and 100."},
        {kCount, "-1", "0", "Please enter an integer between 0 and 100."},
        {kCount, "12abc", "12", "Please enter an integer."},
        {kCount, "", "3", "Please enter an integer."},
        {kGain, "2.5", "2", "Please enter a number between 0.5 and 2."},
        {kGain, "x", "1", "Please enter a number."},
        {kName, "ninechars", "eight ch", "Please enter no more than 8 characters."},
    };
    for (const Case& c : cases) {
        CValuesDlg dlg;
        dlg.m_count = 1;
        dlg.m_gain = 1.0;
        BOOL updated = TRUE;
        bool stayedOpen = false;
        bool focused = false;
        dlg.m_script = [&](CValuesDlg& d) {
            d.Type(c.id, c.bad);
            Prompter().ExpectMessageBox(c.message, IDOK);
            Prompter().ExpectMessageBox(c.message, IDOK);
            updated = d.UpdateData(TRUE);
            d.Click(IDOK);
            stayedOpen = d.IsWindowVisible() != FALSE;
            focused = d.GetQWidget()->focusWidget() == d.Control(c.id);
            d.Type(c.id, c.good);
            d.Click(IDOK);
        };
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.bad.toStdString();
        EXPECT_FALSE(updated) << c.bad.toStdString();
        EXPECT_TRUE(stayedOpen) << c.bad.toStdString();
        EXPECT_TRUE(focused) << c.bad.toStdString();
    }
}

TEST_F(DialogTest, ControlsSitAtTheirDialogUnitsInTabOrder) {
    CValuesDlg dlg;
    ASSERT_TRUE(dlg.Create(kValuesDialog));
    const CSize base = CDialog::DialogBaseUnits(CDialog::TemplateFont(m_module.dialogs[0]));
    ASSERT_GT(base.cx, 0);
    const QRect name = dlg.Control(kName)->geometry();
    EXPECT_EQ(name.x(), (7 * base.cx + 2) / 4);
    EXPECT_EQ(name.y(), (43 * base.cy + 4) / 8);
    EXPECT_EQ(name.width(), (107 * base.cx + 2) / 4 - name.x());
    CRect mapped(0, 0, 4, 8);
    dlg.MapDialogRect(&mapped);
    EXPECT_EQ(mapped, CRect(0, 0, base.cx, base.cy));
    // The first template control is topmost and GW_HWNDNEXT walks in template order.
    CWnd* first = dlg.GetWindow(GW_CHILD);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetDlgCtrlID(), kCount);
    EXPECT_EQ(first->GetWindow(GW_HWNDNEXT)->GetDlgCtrlID(), kGain);
    EXPECT_EQ(dlg.Control(kCount)->nextInFocusChain(), dlg.Control(kGain));
    dlg.DestroyWindow();
}

// A custom class put in the place of a template button takes its clicks and draws it.
class CSwatchButton : public CButton {
    DECLARE_MESSAGE_MAP()

public:
    int m_clicks = 0;
    int m_draws = 0;
    UINT m_drawnId = 0;

    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        ++m_draws;
        m_drawnId = dis->CtlID;
        CBrush red(RGB(255, 0, 0));
        dis->pDC->FillRect(dis->rcItem, &red);
    }

protected:
    void OnClicked() { ++m_clicks; }
};

BEGIN_MESSAGE_MAP(CSwatchButton, CButton)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CSwatchDlg : public CValuesDlg {
    DECLARE_MESSAGE_MAP()

public:
    CSwatchButton m_swatch;
    int m_parentClicks = 0;
    int m_enabledClicks = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kSwatch, m_swatch);
        CValuesDlg::DoDataExchange(pDX);
    }
    void OnSwatch() { ++m_parentClicks; }
    void OnEnabled() { ++m_enabledClicks; }
};

BEGIN_MESSAGE_MAP(CSwatchDlg, CValuesDlg)
ON_BN_CLICKED(kSwatch, OnSwatch)
ON_BN_CLICKED(kEnabled, OnEnabled)
END_MESSAGE_MAP()

TEST_F(DialogTest, ReplacedTemplateControlGetsItsNotificationsAndDraws) {
    CSwatchDlg dlg;
    ASSERT_TRUE(dlg.Create(kValuesDialog));
    ASSERT_NE(dlg.m_swatch.GetSafeHwnd(), nullptr);
    dlg.ShowWindow(SW_SHOW);
    EXPECT_EQ(dlg.GetDlgItem(kSwatch), &dlg.m_swatch);

    dlg.Click(kSwatch);
    dlg.Click(kSwatch);
    dlg.Click(kEnabled);
    EXPECT_EQ(dlg.m_swatch.m_clicks, 2);
    EXPECT_EQ(dlg.m_parentClicks, 0);
    EXPECT_EQ(dlg.m_enabledClicks, 1);

    const QImage shot = dlg.Control(kSwatch)->grab().toImage();
    EXPECT_GE(dlg.m_swatch.m_draws, 1);
    EXPECT_EQ(dlg.m_swatch.m_drawnId, static_cast<UINT>(kSwatch));
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(255, 0, 0));
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_swatch.GetSafeHwnd(), nullptr);
}

TEST_F(DialogTest, ModelessDialogHidesOnEnd) {
    CValuesDlg dlg;
    ASSERT_TRUE(dlg.Create(kValuesDialog));
    dlg.ShowWindow(SW_SHOW);
    dlg.m_count = 64;
    dlg.m_gain = 1.0;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.Text(kCount), QStringLiteral("64"));
    dlg.Click(IDOK);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_NE(dlg.GetSafeHwnd(), nullptr);
    dlg.DestroyWindow();
}

}  // namespace
