#include "shell/InstanceChannel.h"

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>

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
            auto* received = new QByteArray;
            connect(socket, &QLocalSocket::readyRead, socket,
                    [socket, received] { received->append(socket->readAll()); });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
                received->append(socket->readAll());
                QStringList files;
                for (const QByteArray& path : received->split('\0')) {
                    if (!path.isEmpty())
                        files.append(QString::fromUtf8(path));
                }
                delete received;
                socket->deleteLater();
                if (!files.isEmpty() && m_onFiles)
                    m_onFiles(files);
            });
        }
    });
    return true;
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
