#include "frames/SaveVideoPanelDlg.h"

#include "frames/SaveVideoDlg.h"
#include "frames/SaveVideoOptionsDlg.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CSaveVideoPanelDlg, CDialog)

CSaveVideoPanelDlg::CSaveVideoPanelDlg(CSaveVideoDlg* owner) : CDialog(kTemplate), m_owner(owner) {}

BOOL CSaveVideoPanelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(kFramesText, FramesText(m_owner->m_frameCount, m_owner->m_zeroOffset));
    SetDlgItemText(kSizeText,
                   SizeText(m_owner->m_frameWidth, m_owner->m_frameHeight, m_owner->m_frameBytes));
    // The file dialog lays its parts out by their size hints; the panel's controls are placed
    // by hand, so its own size is what it needs.
    GetQWidget()->setMinimumSize(GetQWidget()->size());
    return TRUE;
}

void CSaveVideoPanelDlg::PlaceOptions(CSaveVideoOptionsDlg* options) {
    CWnd* area = GetDlgItem(kOptionsArea);
    if (!options || !area)
        return;
    CRect rect;
    area->GetWindowRect(&rect);
    ScreenToClient(&rect);
    options->MoveWindow(rect);
    options->ShowWindow(SW_SHOW);
    m_options = options;
}

QString CSaveVideoPanelDlg::FramesText(int frameCount, int zeroOffset) {
    if (frameCount <= 0)
        return QStringLiteral("none");
    return QStringLiteral("%1 (numbered %2 to %3)")
        .arg(frameCount)
        .arg(-zeroOffset)
        .arg(frameCount - zeroOffset - 1);
}

QString CSaveVideoPanelDlg::SizeText(int width, int height, int64_t frameBytes) {
    const double kilobytes = static_cast<double>(frameBytes) / 1024.0;
    const QString bytes = kilobytes < 1024.0
                              ? QStringLiteral("%1 KB").arg(kilobytes, 0, 'f', 1)
                              : QStringLiteral("%1 MB").arg(kilobytes / 1024.0, 0, 'f', 2);
    if (width < 0 || height < 0)
        return bytes + QStringLiteral(" a frame");
    return QStringLiteral("%1 x %2 pixels, %3 a frame").arg(width).arg(height).arg(bytes);
}
