// The blocking HTTP GET client against a one-shot server on 127.0.0.1.
#include "platform/net/HttpClient.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using testing_support::LoopbackServer;
using testing_support::closedPort;

constexpr int ShortTimeoutMs = 300;
constexpr int AmpleTimeoutMs = 5000;

struct ReplyCase
{
    const char *name;
    QByteArray reply;
    LoopbackServer::Mode mode;
    QString expected;
};

void PrintTo(const ReplyCase &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<ReplyCase> replyCases()
{
    using M = LoopbackServer::Mode;
    return {
        {"BodyUntilClose", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\nVER. 1.006",
         M::ReplyAndClose, "VER. 1.006"},
        {"ContentLengthOnOpenConnection", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nVER. 1.006",
         M::ReplyAndHold, "VER. 1.006"},
        {"ContentLengthCutsExtraBytes", "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nVER. 1.006",
         M::ReplyAndClose, "VER."},
        {"BodyShorterThanContentLength", "HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nVER. 1.006",
         M::ReplyAndClose, ""},
        {"OtherSuccessStatus", "HTTP/1.0 203 Non-Authoritative\r\n\r\nabc", M::ReplyAndClose,
         "abc"},
        {"EmptyBody", "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n", M::ReplyAndHold, ""},
        {"BareLineFeeds", "HTTP/1.0 200 OK\nServer: x\n\nVER. 1.006", M::ReplyAndClose,
         "VER. 1.006"},
        {"HeaderNamesIgnoreCase", "HTTP/1.0 200 OK\r\ncontent-LENGTH: 3\r\n\r\nabcdef",
         M::ReplyAndClose, "abc"},
        {"Utf8Charset",
         "HTTP/1.0 200 OK\r\nContent-Type: text/plain; charset=\"UTF-8\"\r\n\r\n\xC3\xA9",
         M::ReplyAndClose, QString(QChar(0xE9))},
        {"Latin1WithoutCharset", "HTTP/1.0 200 OK\r\n\r\n\xE9", M::ReplyAndClose,
         QString(QChar(0xE9))},
        {"NotFound", "HTTP/1.0 404 Not Found\r\n\r\nVER. 1.006", M::ReplyAndClose, ""},
        {"ServerError", "HTTP/1.0 500 Internal Server Error\r\n\r\nVER. 1.006", M::ReplyAndClose,
         ""},
        {"RedirectNotFollowed", "HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\nVER. 1.006",
         M::ReplyAndClose, ""},
        {"NoStatusLine", "VER. 1.006", M::ReplyAndClose, ""},
        {"HeadNeverEnds", "HTTP/1.0 200 OK\r\nContent-Length: 3", M::ReplyAndClose, ""},
        {"StatusNotNumeric", "HTTP/1.0 2x0 OK\r\n\r\nabc", M::ReplyAndClose, ""},
        {"HeaderWithoutColon", "HTTP/1.0 200 OK\r\nbroken\r\n\r\nabc", M::ReplyAndClose, ""},
        {"BadContentLength", "HTTP/1.0 200 OK\r\nContent-Length: -3\r\n\r\nabc", M::ReplyAndClose,
         ""},
        {"ChunkedNotSpokenByHttp10",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n",
         M::ReplyAndClose, ""},
        {"NothingAtAll", "", M::ReplyAndClose, ""},
        {"OversizedReply",
         "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(plat::HttpClient::MaxReplyBytes + 1, 'x'),
         M::ReplyAndClose, ""},
    };
}

class HttpReplyTest : public ::testing::TestWithParam<ReplyCase>
{
};

TEST_P(HttpReplyTest, GivesBodyOfSuccessOnlyElseEmpty)
{
    const ReplyCase &c = GetParam();
    LoopbackServer server(c.reply, c.mode);
    const plat::HttpClient client(AmpleTimeoutMs, AmpleTimeoutMs);
    const QString body = client.Get(QUrl(server.base() + "/v"));
    EXPECT_EQ(body.toStdString(), c.expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Replies,
                         HttpReplyTest,
                         ::testing::ValuesIn(replyCases()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(HttpClient, SendsHttp10GetWithDocumentedHeadersOnly)
{
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nok");
    const plat::HttpClient client(AmpleTimeoutMs, AmpleTimeoutMs);
    ASSERT_EQ(client.Get(QUrl(server.base() + "/home/a b.asp?k=v%20w&x=1")), "ok");

    const QByteArray expected = "GET /home/a%20b.asp?k=v%20w&x=1 HTTP/1.0\r\n"
                                "Host: 127.0.0.1:" +
                                QByteArray::number(server.port()) +
                                "\r\n"
                                "Accept: text/html,application/xhtml+xml,application/"
                                "xml;q=0.9,*/*;q=0.8\r\n"
                                "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                "\r\n";
    EXPECT_EQ(server.request().toStdString(), expected.toStdString());
}

TEST(HttpClient, HostNameIsLookedUpAndKeptInTheHostHeader)
{
    // "localhost" comes from the hosts file, so the look-up path runs without any network.
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nok");
    const plat::HttpClient client(AmpleTimeoutMs, AmpleTimeoutMs);
    ASSERT_EQ(client.Get(QUrl(QStringLiteral("http://localhost:%1/v").arg(server.port()))), "ok");
    EXPECT_TRUE(server.request().contains(
        QByteArray("\r\nHost: localhost:") + QByteArray::number(server.port()) + "\r\n"));
}

TEST(HttpClient, EmptyPathAsksForRoot)
{
    LoopbackServer server("HTTP/1.0 200 OK\r\n\r\nok");
    const plat::HttpClient client(AmpleTimeoutMs, AmpleTimeoutMs);
    ASSERT_EQ(client.Get(QUrl(server.base())), "ok");
    EXPECT_TRUE(server.request().startsWith("GET / HTTP/1.0\r\n"));
}

TEST(HttpClient, SilentServerEndsWithReadTimeout)
{
    LoopbackServer server({}, LoopbackServer::Mode::NeverAnswer);
    const plat::HttpClient client(AmpleTimeoutMs, ShortTimeoutMs);
    EXPECT_TRUE(client.Get(QUrl(server.base() + "/v")).isEmpty());
    // The request went out before the wait.
    EXPECT_TRUE(server.request().startsWith("GET /v HTTP/1.0\r\n"));
}

TEST(HttpClient, UnusableTargetsGiveEmpty)
{
    const plat::HttpClient client(ShortTimeoutMs, ShortTimeoutMs);
    const QString refused = QStringLiteral("http://127.0.0.1:%1/v").arg(closedPort());
    for (const QString &url :
         {refused, QStringLiteral("https://127.0.0.1/v"), QStringLiteral("ftp://127.0.0.1/v"),
          QStringLiteral("not a url"), QString()}) {
        EXPECT_TRUE(client.Get(QUrl(url)).isEmpty()) << url.toStdString();
    }
}

} // namespace
