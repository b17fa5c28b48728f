#pragma once

// CInstanceChannel: the local socket beside the single-instance lock through which a second
// start hands its files to the running copy. The running copy listens; a second start sends
// the absolute paths and ends. Paths travel as UTF-8, each ended by a NUL byte, the one byte
// a path cannot hold.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;

class CInstanceChannel : public QObject {
public:
    using FilesHandler = std::function<void(const QStringList&)>;

    explicit CInstanceChannel(QObject* parent = nullptr);
    ~CInstanceChannel() override;

    // Listens at name; files handed over reach onFiles once their sender has finished. Only
    // the holder of the lock calls it, so a socket left by a crashed copy is removed first.
    bool Listen(const QString& name, FilesHandler onFiles);
    // Hands files to the copy listening at name; FALSE when none takes them in time.
    static bool Send(const QString& name, const QStringList& files, int timeoutMs = 3000);
    // The files a whole message names, in order; empty paths are skipped.
    static QStringList DecodeFiles(const QByteArray& message);

    // A second start sends the paths of its own command line, which the system keeps far
    // below this; a longer message is read to its end and hands nothing over.
    static constexpr qsizetype kMaxMessageBytes = 8 << 20;

private:
    QLocalServer* m_server = nullptr;
    FilesHandler m_onFiles;
};
