#include "platform/framework/DataExchange.h"

#include "platform/framework/ControlWidgets.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/UserException.h"
#include "platform/framework/Wnd.h"
#include "platform/wintypes/Assert.h"
#include "platform/wintypes/CLocale.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Shows the message about the last prepared control and fails the exchange.
[[noreturn]] void FailWith(CDataExchange* pDX, const QString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

QString FormatDouble(double value) {
    return QFormatC("%.15g", value);
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

QWidget* CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    RM_ASSERT(control != nullptr);
    if (!control)
        throw CUserException();
    m_lastControl = control->GetQWidget();
    m_lastIsEdit = false;
    return m_lastControl;
}

QWidget* CDataExchange::PrepareEditCtrl(int nIDC) {
    QWidget* control = PrepareCtrl(nIDC);
    m_lastIsEdit = true;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_lastControl) {
        m_lastControl->setFocus(Qt::OtherFocusReason);
        if (auto* edit = dynamic_cast<QLineEdit*>(m_lastControl); edit && m_lastIsEdit)
            edit->selectAll();
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        control->setProperty("text", QString::number(value));
        return;
    }
    bool ok = false;
    const int read = control->property("text").toString().trimmed().toInt(&ok);
    if (!ok)
        FailWith(pDX, QStringLiteral("Please enter an integer."));
    value = read;
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        control->setProperty("text", FormatDouble(value));
        return;
    }
    bool ok = false;
    const double read = control->property("text").toString().trimmed().toDouble(&ok);
    if (!ok)
        FailWith(pDX, QStringLiteral("Please enter a number."));
    value = read;
}

void DDX_Text(CDataExchange* pDX, int nIDC, QString& value) {
    QWidget* control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = control->property("text").toString();
    else
        control->setProperty("text", value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    auto* button = dynamic_cast<QAbstractButton*>(pDX->PrepareCtrl(nIDC));
    RM_ASSERT(button != nullptr);
    if (!button)
        return;
    auto* box = dynamic_cast<QCheckBox*>(button);
    if (pDX->m_bSaveAndValidate) {
        if (box)
            value = box->checkState() == Qt::PartiallyChecked ? 2
                    : box->checkState() == Qt::Checked        ? 1
                                                              : 0;
        else
            value = button->isChecked() ? 1 : 0;
        return;
    }
    if (box)
        box->setCheckState(value == 2 ? Qt::PartiallyChecked
                                      : (value ? Qt::Checked : Qt::Unchecked));
    else
        button->setChecked(value != 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    pDX->PrepareCtrl(nIDC);
    CWnd* radio = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (CWnd* w = radio; w; w = w->GetWindow(GW_HWNDNEXT), ++index) {
        auto* button = dynamic_cast<QRadioButton*>(w->GetQWidget());
        if (!button || (w != radio && (ControlStyle(button) & WS_GROUP)))
            break;
        if (pDX->m_bSaveAndValidate) {
            if (button->isChecked())
                value = index;
        } else {
            // An exclusive group keeps one button checked; the exchange may check none.
            QButtonGroup* group = button->group();
            const bool exclusive = group && group->exclusive();
            if (exclusive)
                group->setExclusive(false);
            button->setChecked(index == value);
            if (exclusive)
                group->setExclusive(true);
        }
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& value) {
    auto* combo = dynamic_cast<QComboBox*>(pDX->PrepareCtrl(nIDC));
    RM_ASSERT(combo != nullptr);
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate)
        value = combo->currentIndex();
    else
        combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (control.GetSafeHwnd())
        return;
    pDX->PrepareCtrl(nIDC);
    const BOOL attached = control.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
    RM_ASSERT(attached);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(
            pDX,
            QStringLiteral("Please enter an integer between %1 and %2.").arg(minVal).arg(maxVal));
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        FailWith(pDX, QStringLiteral("Please enter a number between %1 and %2.")
                          .arg(FormatDouble(minVal), FormatDouble(maxVal)));
}

void DDV_MaxChars(CDataExchange* pDX, const QString& value, int nChars) {
    if (pDX->m_bSaveAndValidate && value.size() > nChars)
        FailWith(pDX, QStringLiteral("Please enter no more than %1 characters.").arg(nChars));
}
