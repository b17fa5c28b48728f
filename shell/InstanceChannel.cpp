#include "shell/InstanceChannel.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

namespace {

// What one sender has sent so far; past the bound nothing more is kept.
struct Message {
    QByteArray bytes;
    bool tooLong = false;

    void Take(QLocalSocket* socket) {
        if (tooLong) {
            socket->readAll();
            return;
        }
        bytes += socket->read(CInstanceChannel::kMaxMessageBytes + 1 - bytes.size());
        if (bytes.size() > CInstanceChannel::kMaxMessageBytes) {
            tooLong = true;
            bytes.clear();
            socket->readAll();
        }
    }
};

}  // namespace

CInstanceChannel::CInstanceChannel(QObject* parent) : QObject(parent) {}

CInstanceChannel::~CInstanceChannel() = default;

bool CInstanceChannel::Listen(const QString& name, FilesHandler onFiles) {
    m_onFiles = std::move(onFiles);
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            const auto received = std::make_shared<Message>();
            connect(socket, &QLocalSocket::readyRead, socket,
                    [socket, received] { received->Take(socket); });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
                received->Take(socket);
                socket->deleteLater();
                const QStringList files =
                    received->tooLong ? QStringList() : DecodeFiles(received->bytes);
                if (!files.isEmpty() && m_onFiles)
                    m_onFiles(files);
            });
        }
    });
    return true;
}

QStringList CInstanceChannel::DecodeFiles(const QByteArray& message) {
    QStringList files;
    for (const QByteArray& path : message.split('\0')) {
        if (!path.isEmpty())
            files.append(QString::fromUtf8(path));
    }
    return files;
}

bool CInstanceChannel::Send(const QString& name, const QStringList& files, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray data;
    for (const QString& file : files)
        data += file.toUtf8() + '\0';
    socket.write(data);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(timeoutMs))
            return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}
