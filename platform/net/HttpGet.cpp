#include "platform/net/HttpGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>

namespace {

HttpStage StageOf(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyNotFoundError:
            return HttpStage::Connect;
        case QNetworkReply::ProtocolUnknownError:
        case QNetworkReply::ProtocolInvalidOperationError:
            return HttpStage::Request;
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::BackgroundRequestNotAllowedError:
            return HttpStage::Open;
        case QNetworkReply::RemoteHostClosedError:
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
        case QNetworkReply::ProxyTimeoutError:
            return HttpStage::Send;
        default:
            return HttpStage::Read;
    }
}

}  // namespace

void SplitHostPort(const QString& server, int defaultPort, QString* host, int* port) {
    const QString trimmed = server.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    *port = defaultPort;
    *host = trimmed;
    if (colon < 0)
        return;
    bool ok = false;
    const int value = trimmed.mid(colon + 1).toInt(&ok);
    *host = trimmed.left(colon);
    if (ok && value >= 1 && value <= 65535)
        *port = value;
}

HttpGetResult HttpGet(const QString& host, int port, const QString& path, qint64 maxBytes,
                      int timeoutMs) {
    HttpGetResult result;
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(host, QUrl::StrictMode);
    url.setPort(port);
    url.setPath(path, QUrl::StrictMode);
    const bool plainHost = std::all_of(host.begin(), host.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
               c == QLatin1Char(':') || c == QLatin1Char('[') || c == QLatin1Char(']');
    });
    if (host.isEmpty() || !plainHost || !url.isValid()) {
        result.failure = HttpStage::Request;
        return result;
    }

    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    // The server's answer is what is wanted, not a page it points to.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager.get(request);
    bool tooLarge = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        result.body += reply->readAll();
        if (result.body.size() > maxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!tooLarge)
        result.body += reply->readAll();
    if (tooLarge || result.body.size() > maxBytes)
        result.failure = HttpStage::Read;
    else if (reply->error() != QNetworkReply::NoError && result.status == 0)
        result.failure = StageOf(reply->error());
    else if (result.status != 200)
        result.failure = HttpStage::Read;
    if (result.failure != HttpStage::None)
        result.body.clear();
    delete reply;
    return result;
}
