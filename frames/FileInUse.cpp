#include "frames/FileInUse.h"

#include "frames/FileNames.h"
#include "platform/framework/IPrompter.h"
#include "platform/media/OpenFileRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool IsFileInUse(const QString& path) {
    if (COpenFileRegistry::IsOpen(path))
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    if (!locked)
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return locked;
}

namespace {

bool SameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Whether path is the configuration side file of a held recording: the recording's name less
// its extension, a trailing '*' and '_' (a sequence's frames less their number too), + ".cfg".
bool IsSideFileOfHeld(const QString& path) {
    if (GetFileExtension(path).compare(QLatin1String("cfg"), Qt::CaseInsensitive) != 0)
        return false;
    const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString stem = key.chopped(4);
    for (const QString& held : COpenFileRegistry::HeldPaths()) {
        if (held.size() > stem.size() && held.startsWith(stem) &&
            (GetConfigStem(held) == stem || GetSequenceBaseName(held, false) == stem))
            return true;
    }
    return false;
}

}  // namespace

bool CheckWriteDestination(const QString& destination, const QStringList& alsoProtected) {
    bool held = IsFileInUse(destination) || IsSideFileOfHeld(destination);
    for (const QString& input : alsoProtected)
        held = held || SameFile(destination, input);
    if (!held)
        return true;
    AfxMessageBox(QStringLiteral("The file %1 is open as a recording or one of its files and "
                                 "cannot be written.\nChoose another file name.")
                      .arg(destination),
                  MB_OK | MB_ICONSTOP);
    return false;
}
