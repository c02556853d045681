// The version check against a one-shot version service on 127.0.0.1.
#include "shell/UVersionCheck.h"
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
    LoopbackServer service(c.reply);
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
    LoopbackServer service(ok("VER. 1.006"));
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
    LoopbackServer service({}, LoopbackServer::Mode::NeverAnswer);
    EXPECT_FALSE(Check_Version(service.base(), ShortTimeoutMs));
}

TEST(CheckVersion, UnreachableServiceCountsAsNoNewerVersion)
{
    EXPECT_FALSE(
        Check_Version(QStringLiteral("http://127.0.0.1:%1").arg(closedPort()), ShortTimeoutMs));
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
