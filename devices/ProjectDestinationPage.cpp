#include "devices/ProjectDestinationPage.h"

#include "frames/FileNames.h"
#include "frames/FrameImage.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/FileDialog.h"
#include "platform/imaging/Bitmap.h"

#include <QDir>
#include <QFileInfo>

IMPLEMENT_DYNAMIC(CProjectDestinationPage, CWizardPage)

// clang-format off
BEGIN_MESSAGE_MAP(CProjectDestinationPage, CWizardPage)
    ON_BN_CLICKED(CProjectDestinationPage::kBrowse, OnBrowse)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr const char* kInstructions =
    "Select the filename and directory where the Trakora project file will be saved.\r\n\r\nThe "
    "calibration and measurement images will also be saved to the same directory.";
constexpr const char* kNextHintText = "Click Next to capture and save the calibration images.";
constexpr const char* kProjectExtension = "m3d";

// Writes the image as a BMP file: TRUE when it was written whole.
BOOL SaveBmp(CFrameImage& image, const QString& path) {
    imaging::CodecId bmp;
    if (GetEncoderClsid(u"image/bmp", &bmp) < 0 || !image.GetBitmap())
        return FALSE;
    return image.GetBitmap()->Save(path, &bmp) == imaging::Ok ? TRUE : FALSE;
}

}  // namespace

CProjectDestinationPage::CProjectDestinationPage() : CWizardPage(IDD) {}

void CProjectDestinationPage::DoDataExchange(CDataExchange* pDX) {
    CWizardPage::DoDataExchange(pDX);
    DDX_Text(pDX, kProjectPath, m_projectPath);
}

BOOL CProjectDestinationPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    WrapText(kNextHint);
    SetDlgItemText(kMessage, QString::fromLatin1(kInstructions));
    SetDlgItemText(kNextHint, QString::fromLatin1(kNextHintText));
    return TRUE;
}

void CProjectDestinationPage::OnBrowse() {
    UpdateData(TRUE);
    const QString extension = QString::fromLatin1(kProjectExtension);
    CFileDialog dialog(FALSE, extension, m_projectPath, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       QStringLiteral("Trakora Project Files (*.%1)|*.%1||").arg(extension), this);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Save Trakora Project As");
    if (dialog.DoModal() != IDOK)
        return;
    m_projectPath = dialog.GetPathName();
    UpdateData(FALSE);
}

int CProjectDestinationPage::OnWizardNext() {
    UpdateData(TRUE);
    m_projectFolder.clear();
    m_projectTitle.clear();
    m_images[0].clear();
    m_images[1].clear();
    if (m_projectPath.isEmpty()) {
        Message(QStringLiteral("Please specify a destination filename."),
                MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    // A bare file name lands in the current folder, not at the top of the file system.
    if (QFileInfo(m_projectPath).isRelative()) {
        m_projectPath = QDir::current().absoluteFilePath(m_projectPath);
        UpdateData(FALSE);
    }
    m_projectFolder = GetFolderFromPath(m_projectPath);
    m_projectTitle = GetFileTitle(m_projectPath, false);
    const char* const tags[2] = {"{c1}", "{c2}"};
    for (int c = 0; c < 2; ++c) {
        const QString image = m_projectFolder + QLatin1Char('/') + m_projectTitle +
                              QString::fromLatin1(tags[c]) + QStringLiteral(".bmp");
        // A camera that gives no frame fails like a failed write: the project needs both.
        CFrameImage frame;
        if (!m_reader || !m_reader(c, &frame) || !SaveBmp(frame, image)) {
            Message(QStringLiteral("Error writing frame to file ") + image, MB_OK | MB_ICONWARNING);
            return 0;
        }
        m_images[c] = image;
    }
    return 1;
}
