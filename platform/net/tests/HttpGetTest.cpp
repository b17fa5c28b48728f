#include <gtest/gtest.h>

#include "platform/net/HttpGet.h"
#include "testsupport/LocalHttpServer.h"

#include <QTcpServer>

namespace {

constexpr qint64 kCap = 1 << 20;
constexpr int kTimeoutMs = 20000;

HttpGetResult Get(const LocalHttpServer& server, const QString& path = "/a.txt") {
    return HttpGet(QStringLiteral("127.0.0.1"), server.Port(), path, kCap, kTimeoutMs);
}

}  // namespace

TEST(HttpGetTest, ReadsTheWholeBodyOfTheAskedPath) {
    LocalHttpServer server;
    server.Answer(200, "line one\nline two\n");
    const HttpGetResult result = Get(server, "/html/latest_versions.txt");
    EXPECT_EQ(result.failure, HttpStage::None);
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body, QByteArray("line one\nline two\n"));
    EXPECT_EQ(server.Paths(), QStringList{"/html/latest_versions.txt"});
}

TEST(HttpGetTest, FailuresNameTheirStage) {
    LocalHttpServer server;
    server.Answer(404, "not here");
    HttpGetResult result = Get(server);
    EXPECT_EQ(result.failure, HttpStage::Read);
    EXPECT_EQ(result.status, 404);
    EXPECT_TRUE(result.body.isEmpty());

    // A body above the cap is refused whole, not cut.
    server.Answer(200, QByteArray(kCap + 1, 'x'));
    EXPECT_EQ(Get(server).failure, HttpStage::Read);
    server.Answer(200, QByteArray(kCap, 'x'));
    EXPECT_EQ(Get(server).body.size(), kCap);

    server.HangUp();
    EXPECT_EQ(Get(server).failure, HttpStage::Send);

    // A port that nobody listens on any more.
    int closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    EXPECT_EQ(HttpGet("127.0.0.1", closedPort, "/", kCap, kTimeoutMs).failure, HttpStage::Connect);
    EXPECT_EQ(HttpGet(QString(), 80, "/", kCap, kTimeoutMs).failure, HttpStage::Request);
}

TEST(HttpGetTest, ServerSettingSplitsIntoHostAndPort) {
    const struct {
        const char* server;
        const char* host;
        int port;
    } cases[] = {{"updates.example", "updates.example", 80},
                 {" 127.0.0.1:8080 ", "127.0.0.1", 8080},
                 {"host:0", "host", 80},
                 {"host:99999", "host", 80},
                 {"host:abc", "host", 80}};
    for (const auto& c : cases) {
        QString host;
        int port = 0;
        SplitHostPort(QString::fromLatin1(c.server), 80, &host, &port);
        EXPECT_EQ(host.toStdString(), c.host) << c.server;
        EXPECT_EQ(port, c.port) << c.server;
    }
}
