#pragma once

// LocalHttpServer: a tiny HTTP server on 127.0.0.1 for tests of code that asks a server a
// question. It answers every request with the status and body set last (or, when told, closes
// the connection without a word) and counts the requests and the paths asked for. It runs in
// the test's own thread: the client's waiting event loop serves it.

#include <QByteArray>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

class LocalHttpServer {
public:
    LocalHttpServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++m_connections;
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { Serve(socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    int Port() const { return m_server.serverPort(); }
    // "127.0.0.1:<port>", as a server setting names it.
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(Port()); }

    void Answer(int status, const QByteArray& body) {
        m_status = status;
        m_body = body;
        m_hangUp = false;
    }
    // Closes each connection as soon as its request has arrived.
    void HangUp() { m_hangUp = true; }

    int Connections() const { return m_connections; }
    const QStringList& Paths() const { return m_paths; }

private:
    void Serve(QTcpSocket* socket) {
        QByteArray& request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
        m_paths << (words.size() > 1 ? QString::fromLatin1(words[1]) : QString());
        m_pending.remove(socket);
        if (m_hangUp) {
            socket->abort();
            return;
        }
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(m_status) + " Status\r\n";
        reply += "Content-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                 QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body;
        socket->write(reply);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    int m_status = 200;
    QByteArray m_body;
    bool m_hangUp = false;
    int m_connections = 0;
    QStringList m_paths;
    QMap<QTcpSocket*, QByteArray> m_pending;
};
