#include "frames/FileInUse.h"

#include "platform/media/OpenFileRegistry.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
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
