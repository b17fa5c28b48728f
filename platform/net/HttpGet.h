#pragma once

// HttpGet: one blocking HTTP GET over QtNetwork, for the few places that ask a server one
// short question. The reply is read whole, up to a cap; every failure says at which stage it
// happened, so callers can word it. Runs a local event loop while it waits: call it from the
// user-interface thread only, and expect other events to be handled meanwhile.

#include <QByteArray>
#include <QString>

enum class HttpStage {
    None,     // the reply arrived whole with status 200
    Open,     // no network access is available at all
    Connect,  // the host could not be found or refused the connection
    Request,  // the request itself could not be formed (bad host or path)
    Send,     // the connection broke or timed out before an answer came
    Read,     // the answer was not status 200, broke off, or exceeded the cap
};

struct HttpGetResult {
    HttpStage failure = HttpStage::None;
    int status = 0;  // the HTTP status when one arrived
    QByteArray body;
};

// Gets http://host:port path. maxBytes caps the body; timeoutMs bounds the whole transfer.
HttpGetResult HttpGet(const QString& host, int port, const QString& path, qint64 maxBytes,
                      int timeoutMs);

// Splits "host" or "host:port" (defaultPort when none or not a number in 1..65535).
void SplitHostPort(const QString& server, int defaultPort, QString* host, int* port);
