#include "devices/WizardSheet.h"

#include "devices/WizardPage.h"
#include "platform/framework/Button.h"
#include "platform/framework/ControlWidgets.h"
#include "shell/VidraFrameWnd.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

IMPLEMENT_DYNAMIC(CWizardSheet, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CWizardSheet, CDialog)
    ON_BN_CLICKED(CWizardSheet::kBack, OnBack)
    ON_BN_CLICKED(CWizardSheet::kNext, OnNext)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The heading: formatted text the user reads but does not edit.
class CHeadingWnd : public CWnd {
protected:
    QWidget* CreateWidget(QWidget* parent) override {
        auto* edit = new QTextEdit(parent);
        edit->setReadOnly(true);
        edit->setFrameShape(QFrame::NoFrame);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setFocusPolicy(Qt::NoFocus);
        return edit;
    }
};

QTextCharFormat HeadingFormat(double points, bool bold) {
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

}  // namespace

CWizardSheet::CWizardSheet(CWnd* pParentWnd) : CDialog(IDD_WIZARD_SHEET, pParentWnd) {}

CWizardSheet::~CWizardSheet() = default;

BOOL CWizardSheet::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pages.clear();
    m_current = -1;
    // The template holds the heading's place; the formatted text takes it over.
    m_heading = std::make_unique<CHeadingWnd>();
    CRect rect;
    if (CWnd* place = GetDlgItem(kHeading)) {
        QWidget* widget = place->GetQWidget();
        const QRect geometry = widget->geometry();
        rect = CRect(geometry.left(), geometry.top(), geometry.right() + 1, geometry.bottom() + 1);
        // Gone once the dialog's creation is over; until then it is no longer the heading.
        place->SetDlgCtrlID(0);
        widget->hide();
        widget->deleteLater();
    }
    m_heading->Create(nullptr, QString(), WS_CHILD | WS_VISIBLE, rect, this, kHeading);
    SetHeading(QStringLiteral("Test Title"), QStringLiteral("This is a test description."));
    return TRUE;
}

QTextEdit* CWizardSheet::GetHeading() const {
    return m_heading ? qobject_cast<QTextEdit*>(m_heading->GetQWidget()) : nullptr;
}

void CWizardSheet::SetHeading(const QString& title, const QString& description) {
    QTextEdit* edit = GetHeading();
    if (!edit)
        return;
    edit->setPlainText(QStringLiteral("\n  ") + title + QStringLiteral("\n"));
    QTextCursor cursor(edit->document());
    cursor.setPosition(1);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.setCharFormat(HeadingFormat(15.0, true));
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n\t") + description + QStringLiteral("\n"),
                      HeadingFormat(10.0, false));
}

CWizardPage* CWizardSheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

BOOL CWizardSheet::AddPage(CWizardPage* page) {
    CWnd* area = GetDlgItem(kPageArea);
    if (!page || !area || !page->Create(page->GetTemplateID(), area))
        return FALSE;
    page->ShowWindow(SW_HIDE);
    m_pages.push_back(page);
    return TRUE;
}

void CWizardSheet::ShowPage(CWizardPage* page, BOOL show) {
    if (!page || !page->GetSafeHwnd())
        return;
    page->ShowWindow(show ? SW_SHOW : SW_HIDE);
    page->OnShowPage(show);
}

void CWizardSheet::ShowOnlyPage(int index) {
    for (CWizardPage* page : m_pages)
        if (page->GetSafeHwnd() && !page->GetQWidget()->isHidden())
            ShowPage(page, FALSE);
    CWizardPage* page = GetPage(index);
    if (!page)
        return;
    ShowPage(page, TRUE);
    m_current = index;
    OnPageChanged(index, page);
}

void CWizardSheet::MoveBy(int step) {
    CWizardPage* page = GetCurrentPage();
    if (!page)
        return;
    if (!(step > 0 ? page->OnWizardNext() : page->OnWizardBack()))
        return;
    const int next = m_current + step;
    if (next < 0 || next >= GetPageCount())
        return;
    ShowPage(page, FALSE);
    ShowPage(GetPage(next), TRUE);
    m_current = next;
    OnPageChanged(next, GetPage(next));
}

void CWizardSheet::OnNext() {
    MoveBy(1);
}

void CWizardSheet::OnBack() {
    MoveBy(-1);
}

void CWizardSheet::OnCancel() {
    CWizardPage* page = GetCurrentPage();
    if (page && !page->OnWizardCancel())
        return;
    EndDialog(IDCANCEL);
}

void CWizardSheet::OnPageChanged(int, CWizardPage* page) {
    if (CWnd* button = GetDlgItem(kBack))
        UpdateBackButton(button, page);
    if (CWnd* button = GetDlgItem(kNext))
        UpdateNextButton(button, page);
    if (CWnd* button = GetDlgItem(kFinish))
        UpdateFinishButton(button, page);
    if (CWnd* button = GetDlgItem(kCancel))
        UpdateCancelButton(button, page);
}

void CWizardSheet::UpdateBackButton(CWnd* button, CWizardPage* page) {
    if (!page || !page->UpdateBackButton(button))
        button->EnableWindow(TRUE);
}

void CWizardSheet::UpdateNextButton(CWnd* button, CWizardPage* page) {
    if (!page || !page->UpdateNextButton(button))
        button->EnableWindow(TRUE);
}

void CWizardSheet::UpdateFinishButton(CWnd* button, CWizardPage* page) {
    if (!page || !page->UpdateFinishButton(button))
        button->EnableWindow(TRUE);
}

void CWizardSheet::UpdateCancelButton(CWnd* button, CWizardPage* page) {
    if (!page || !page->UpdateCancelButton(button))
        button->EnableWindow(TRUE);
}

BOOL CWizardSheet::IsButtonEnabled(int nID) const {
    CWnd* button = GetDlgItem(nID);
    return button && button->IsWindowEnabled();
}

int CWizardSheet::Message(const QString& text, UINT type) {
    return MessageBox(text, QString::fromLatin1(kMainTitle), type);
}
