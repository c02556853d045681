// ICMP echo client: loopback echoes and address checks. Traffic goes to 127.0.0.1 only.
#include "platform/net/IcmpClient.h"

#include <QFile>

#include <climits>
#include <gtest/gtest.h>

namespace {

using plat::EchoResult;
using plat::IcmpClient;
using plat::IcmpSocketKind;

constexpr int ReplyTimeoutMs = 400;

QString pingGroupRange()
{
    QFile f(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).simplified()
                                       : QStringLiteral("unknown");
}

bool echoIgnored()
{
    QFile f(QStringLiteral("/proc/sys/net/ipv4/icmp_echo_ignore_all"));
    return f.open(QIODevice::ReadOnly) && f.readAll().trimmed() == "1";
}

struct KindCase
{
    const char *name;
    IcmpSocketKind kind;
};

void PrintTo(const KindCase &c, std::ostream *os)
{
    *os << c.name;
}

class IcmpLoopbackTest : public ::testing::TestWithParam<KindCase>
{
protected:
    // Sends one echo to 127.0.0.1; skips the test when this machine allows no such socket.
    EchoResult echo(int packetSize, const QByteArray &data)
    {
        IcmpClient client(packetSize, GetParam().kind);
        try {
            return client.Echo(QStringLiteral("127.0.0.1"), data, ReplyTimeoutMs);
        } catch (const plat::EIcmpError &e) {
            m_skipReason = std::string(e.what()) +
                           " (ping_group_range: " + pingGroupRange().toStdString() + ")";
            return {};
        }
    }
    std::string m_skipReason;
};

TEST_P(IcmpLoopbackTest, ReplyCarriesThePaddedPacket)
{
    if (echoIgnored())
        GTEST_SKIP() << "echo requests are ignored on this machine";
    const struct
    {
        int packetSize;
        QByteArray data;
        int bytes;
    } cases[] = {
        {1024, "127.0.0.1", 1024},      // the address text padded to the packet size
        {16, QByteArray(100, 'x'), 16}, // longer data is cut
        {0, "127.0.0.1", 0},            // a reply without data
    };
    for (const auto &c : cases) {
        const EchoResult r = echo(c.packetSize, c.data);
        if (!m_skipReason.empty())
            GTEST_SKIP() << m_skipReason;
        EXPECT_EQ(r.status, EchoResult::Status::Reply) << "packet size " << c.packetSize;
        EXPECT_EQ(r.bytesReceived, c.bytes) << "packet size " << c.packetSize;
    }
}

TEST_P(IcmpLoopbackTest, EveryRequestGetsItsOwnReply)
{
    if (echoIgnored())
        GTEST_SKIP() << "echo requests are ignored on this machine";
    for (int i = 0; i < 3; ++i) {
        const EchoResult r = echo(IcmpClient::DefaultPacketSize, "127.0.0.1");
        if (!m_skipReason.empty())
            GTEST_SKIP() << m_skipReason;
        EXPECT_EQ(r.status, EchoResult::Status::Reply) << "attempt " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sockets,
                         IcmpLoopbackTest,
                         ::testing::Values(KindCase{"Auto", IcmpSocketKind::Auto},
                                           KindCase{"Datagram", IcmpSocketKind::Datagram},
                                           KindCase{"Raw", IcmpSocketKind::Raw}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(IcmpClient, UnusableAddressRaisesBeforeSending)
{
    IcmpClient client;
    for (const char *address :
         {"", "192.168.2", "192.168.2.256", "a.b.c.d", " 127.0.0.1", "127.0.0.1 ", "127.0.0.1.5",
          "1..2.3", "-1.2.3.4", "1234.1.1.1", "0x7f.0.0.1", "localhost", "0.0.0.0", "::1"}) {
        EXPECT_THROW(client.Echo(QString::fromLatin1(address), address, ReplyTimeoutMs),
                     plat::EIcmpError)
            << '"' << address << '"';
    }
}

TEST(IcmpClient, ParsesDecimalOctets)
{
    const struct
    {
        const char *text;
        uint32_t address;
    } cases[] = {
        {"192.168.2.205", 0xC0A802CDu},
        {"192.168.002.205", 0xC0A802CDu}, // leading zeros stay decimal
        {"255.255.255.255", 0xFFFFFFFFu},
        {"0.0.0.1", 0x00000001u},
    };
    for (const auto &c : cases) {
        uint32_t address = 0;
        EXPECT_TRUE(IcmpClient::ParseAddress(QString::fromLatin1(c.text), address)) << c.text;
        EXPECT_EQ(address, c.address) << c.text;
    }
}

TEST(IcmpClient, InternetChecksum)
{
    // The worked example of the checksum's definition, even and odd lengths.
    EXPECT_EQ(IcmpClient::Checksum(QByteArray::fromHex("0001f203f4f5f6f7")), 0x220D);
    EXPECT_EQ(IcmpClient::Checksum(QByteArray::fromHex("0001f203f4f5f6")), 0x2304);
    // A packet carrying its checksum sums to zero.
    QByteArray packet = QByteArray::fromHex("0800000012340001") + "127.0.0.1";
    const uint16_t sum = IcmpClient::Checksum(packet);
    packet[2] = char(sum >> 8);
    packet[3] = char(sum & 0xFF);
    EXPECT_EQ(IcmpClient::Checksum(packet), 0);
}

TEST(IcmpClient, OversizedPacketIsRefusedBeforeSending)
{
    // Header plus size used to overflow int near INT_MAX.
    for (const int size : {IcmpClient::MaxPacketSize + 1, 1 << 30, INT_MAX - 7, INT_MAX}) {
        IcmpClient client(size, IcmpSocketKind::Datagram);
        try {
            client.Echo(QStringLiteral("127.0.0.1"), QByteArray("x"), ReplyTimeoutMs);
            ADD_FAILURE() << size << " was sent";
        } catch (const plat::EIcmpError &e) {
            EXPECT_NE(std::string(e.what()).find("Packet size"), std::string::npos)
                << size << ": " << e.what();
        }
    }
}

TEST(IcmpClient, OnlyTheMatchingReplyCounts)
{
    constexpr uint32_t Target = 0x7F000001u;
    constexpr uint16_t Ident = 0x1234;
    constexpr uint16_t Seq = 0xBEEF;
    const QByteArray reply = QByteArray::fromHex("000000001234BEEF") + "abc";
    const QByteArray ipHeader = QByteArray::fromHex("4500001f00000000400100007f0000017f000001");
    const struct
    {
        const char *name;
        QByteArray datagram;
        bool raw;
        uint32_t from;
        int result;
    } cases[] = {
        {"reply", reply, false, Target, 3},
        {"reply behind IP header", ipHeader + reply, true, Target, 3},
        {"other sender", reply, false, Target + 1, -1},
        {"request, not reply", QByteArray(reply).replace(0, 1, "\x08"), false, Target, -1},
        {"other sequence", QByteArray(reply).replace(7, 1, QByteArray(1, 0)), false, Target, -1},
        {"other ident, datagram socket", QByteArray(reply).replace(4, 1, QByteArray(1, 0)), false,
         Target, 3},
        {"other ident, raw socket", ipHeader + QByteArray(reply).replace(4, 1, QByteArray(1, 0)),
         true, Target, -1},
        {"short header", reply.left(7), false, Target, -1},
        {"header only", reply.left(8), false, Target, 0},
        {"IP header length past the end",
         QByteArray(ipHeader).replace(0, 1, "\x4F") + reply.left(8), true, Target, -1},
        {"IP header length below minimum", QByteArray(ipHeader).replace(0, 1, "\x40") + reply, true,
         Target, -1},
        {"raw datagram shorter than an IP header", reply, true, Target, -1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IcmpClient::ParseEchoReply(
                      reinterpret_cast<const unsigned char *>(c.datagram.constData()),
                      size_t(c.datagram.size()), c.raw, c.from, Target, Ident, Seq),
                  c.result)
            << c.name;
    }
}

} // namespace
