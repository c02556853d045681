// The version check against a one-shot version service on 127.0.0.1.
#include "shell/UVersionCheck.h"

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

// Takes one connection on 127.0.0.1 in its own thread, keeps the request head and sends the
// reply (nothing at all when silent). Every wait is bounded.
class VersionService
{
public:
    explicit VersionService(QByteArray reply, bool silent = false)
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr *>(&addr), len) != 0 ||
            ::listen(m_listen, 1) != 0 ||
            ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&addr), &len) != 0) {
            ADD_FAILURE() << "cannot listen on 127.0.0.1";
            return;
        }
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this, reply, silent] { serve(reply, silent); });
    }

    ~VersionService()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listen >= 0)
            ::close(m_listen);
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    quint16 port() const { return m_port; }

    QByteArray request()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_request;
    }

private:
    bool waitReadable(int fd)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!m_stop && std::chrono::steady_clock::now() < limit) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0)
                return true;
        }
        return false;
    }

    void serve(const QByteArray &reply, bool silent)
    {
        if (!waitReadable(m_listen))
            return;
        const int conn = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (conn < 0)
            return;
        char buf[4096];
        while (!m_request.contains("\r\n\r\n") && waitReadable(conn)) {
            const ssize_t got = ::recv(conn, buf, sizeof buf, 0);
            if (got <= 0)
                break;
            m_request.append(buf, got);
        }
        if (silent) {
            while (waitReadable(conn) && ::recv(conn, buf, sizeof buf, 0) > 0) {
            }
        } else {
            ::send(conn, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL);
        }
        ::close(conn);
    }

    int m_listen = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    QByteArray m_request;
    std::thread m_thread;
};

constexpr int ShortTimeoutMs = 300;
constexpr int AmpleTimeoutMs = 5000;

QByteArray ok(const QByteArray &body)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
}

struct ServiceCase
{
    const char *name;
    QByteArray reply;
    bool newer;
};

void PrintTo(const ServiceCase &c, std::ostream *os)
{
    *os << c.name;
}

class CheckVersionTest : public ::testing::TestWithParam<ServiceCase>
{
};

TEST_P(CheckVersionTest, NewerOnlyWhenPublishedVersionIsGreater)
{
    const ServiceCase &c = GetParam();
    VersionService service(c.reply);
    EXPECT_EQ(Check_Version(service.base(), AmpleTimeoutMs), c.newer);
}

INSTANTIATE_TEST_SUITE_P(
    Replies,
    CheckVersionTest,
    ::testing::Values(ServiceCase{"Newer", ok("VER. 1.006"), true},
                      ServiceCase{"NewerMajor", ok("VER. 2.000"), true},
                      ServiceCase{"LowerCase", ok("ver. 1.006"), true},
                      ServiceCase{"SurroundingBlanks", ok("  VER. 1.006\r\n"), true},
                      ServiceCase{"Same", ok("VER. 1.005"), false},
                      ServiceCase{"Older", ok("VER. 0.999"), false},
                      ServiceCase{"NonePublished", ok("VER. 0.000"), false},
                      ServiceCase{"Empty", ok(""), false},
                      ServiceCase{"TooShort", ok("VER. 2.1"), false},
                      ServiceCase{"LetterAmongDigits", ok("VER. 1.0a6"), false},
                      ServiceCase{"Garbage", ok("<html>maintenance</html>"), false},
                      ServiceCase{"NotFound", "HTTP/1.0 404 Not Found\r\n\r\nVER. 1.006", false},
                      ServiceCase{"ServerError", "HTTP/1.0 500 Error\r\n\r\nVER. 1.006", false},
                      ServiceCase{"NotHttp", "VER. 1.006", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CheckVersion, AsksForTheSoftwareCodeWithTheClientHeaders)
{
    VersionService service(ok("VER. 1.006"));
    ASSERT_TRUE(Check_Version(service.base(), AmpleTimeoutMs));

    const QList<QByteArray> lines = service.request().split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0].toStdString(),
              "GET /home/download/GetversionSW.asp?nomesw=QS40300 HTTP/1.0\r");
    const QByteArray head = service.request();
    EXPECT_TRUE(
        head.contains("\r\nHost: 127.0.0.1:" + QByteArray::number(service.port()) + "\r\n"));
    EXPECT_TRUE(head.contains("\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"));
    EXPECT_TRUE(head.contains(
        "\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"));
    EXPECT_FALSE(head.toLower().contains("cookie"));
}

TEST(CheckVersion, SilentServiceCountsAsNoNewerVersion)
{
    VersionService service({}, /*silent=*/true);
    EXPECT_FALSE(Check_Version(service.base(), ShortTimeoutMs));
}

TEST(CheckVersion, UnreachableServiceCountsAsNoNewerVersion)
{
    // A port that was just free: the connection is refused.
    quint16 port = 0;
    {
        VersionService probe({});
        port = probe.port();
    }
    EXPECT_FALSE(Check_Version(QStringLiteral("http://127.0.0.1:%1").arg(port), ShortTimeoutMs));
}

TEST(ConvVersion, ReadsDigitsAroundThePoint)
{
    const struct
    {
        const char *text;
        int32_t value;
    } cases[] = {
        {"VER. 1.006", 1006},
        {"1.005", 1005},
        {"VER. 0.000", 0},
        {"VER.   2.345  ", 2345},
        {"VER. 12345", 1345},
        {"VER. 1.0067", 1006},
        {"VER. 2.1", -1},
        {"VER. 1.0a6", -1},
        {"", -1},
        {"VER. ", -1},
        {"VER.1.006", -1},
        {"A B 1.006", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Conv_Version(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(DownloadLink, AnchorToTheDownloadPage)
{
    EXPECT_EQ(Download_Link(QStringLiteral("New Version"), QStringLiteral("http://127.0.0.1:8080"))
                  .toStdString(),
              "<a href=\"http://127.0.0.1:8080/Home/download/download.asp#QX40300\">New "
              "Version</a>");
}

} // namespace
