#include "devices/ConvertWizardSheet.h"

#include "frames/FileInUse.h"
#include "frames/FileNames.h"
#include "platform/framework/WinApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

IMPLEMENT_DYNAMIC(CConvertWizardSheet, CWizardSheet)

namespace {

// Whether the file can be opened for reading.
bool CanRead(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

// stem + "." + extension as the folder spells it, in any case (as a recorder on a file system
// that ignores case may have written it); the exact spelling first. Empty when there is none.
QString FindInAnyCase(const QString& stem, const QString& extension) {
    const QString exact = stem + QLatin1Char('.') + extension;
    if (CanRead(exact))
        return exact;
    const QFileInfo info(exact);
    const QString name = info.fileName();
    for (const QString& entry : info.dir().entryList(QDir::Files)) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QString path = exact.left(exact.size() - name.size()) + entry;
        if (CanRead(path))
            return path;
    }
    return QString();
}

}  // namespace

CConvertWizardSheet::CConvertWizardSheet(CWnd* pParentWnd) : CWizardSheet(pParentWnd) {}

BOOL CConvertWizardSheet::OnInitDialog() {
    CWizardSheet::OnInitDialog();
    SetWindowText(QStringLiteral("Vidra 2.0 Coversion Wizard"));
    SetHeading(QStringLiteral("Convert Vidra 2.0 Files to Play Group"),
               QStringLiteral("Select a Vidra 2.0 video (and associated data file) to convert to "
                              "a Play Group."));
    AddPage(&m_files);
    ShowOnlyPage(0);
    return TRUE;
}

void CConvertWizardSheet::OnOK() {
    if (!m_files.OnWizardFinish())
        return;
    if (ConvertToPlayGroup(m_files.GetSource(), m_files.GetDestination()))
        EndDialog(IDOK);
}

int CConvertWizardSheet::ConvertToPlayGroup(const QString& source, const QString& destination) {
    if (source.isEmpty() || destination.isEmpty())
        return 0;
    // The video and its data file share the source's name; only the file name's own
    // extension counts, and a name without one names no video.
    const QString name = GetFileNameFromPath(source);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString video;
    QString data;
    if (dot >= 0) {
        const QString stem = source.left(source.size() - name.size() + dot);
        const QString avi = QStringLiteral("avi");
        video = name.mid(dot + 1).compare(avi, Qt::CaseInsensitive) == 0
                    ? source
                    : stem + QLatin1Char('.') + avi;
        if (!CanRead(video))
            video.clear();
        data = FindInAnyCase(stem, QStringLiteral("au2"));
    }
    if (video.isEmpty()) {
        Message(QStringLiteral("Unable to open source file for reading."), MB_OK | MB_ICONSTOP);
        return 0;
    }
    // The wizard promises that the video and its data file are not modified.
    QStringList inputs{video};
    if (!data.isEmpty())
        inputs << data;
    if (!CheckWriteDestination(destination, inputs))
        return 0;
    QSaveFile file(destination);
    if (!file.open(QIODevice::WriteOnly)) {
        Message(QStringLiteral("Unable to open destination file for writing."),
                MB_OK | MB_ICONSTOP);
        return 0;
    }
    const QString destinationFolder = GetFolderFromPath(destination);
    QByteArray text = MakeRelativePath(destinationFolder, video).toUtf8() + '\n';
    if (!data.isEmpty())
        text += MakeRelativePath(destinationFolder, data).toUtf8() + '\n';
    if (file.write(text) != text.size() || !file.commit()) {
        Message(QStringLiteral("Unable to open destination file for writing."),
                MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(destination);
    return 1;
}
