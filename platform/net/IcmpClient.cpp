#include "platform/net/IcmpClient.h"

#include <QStringList>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

namespace plat {

namespace {

constexpr uint8_t IcmpEchoReply = 0;
constexpr uint8_t IcmpEchoRequest = 8;
constexpr int IcmpHeaderSize = 8;

class Fd
{
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

QString errnoText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// Opens the socket and tells whether replies come with their IP header (raw) or without it.
int openSocket(IcmpSocketKind kind, bool &raw)
{
    int err = 0;
    if (kind != IcmpSocketKind::Raw) {
        // Linux allows these only to groups in net.ipv4.ping_group_range.
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd >= 0) {
            raw = false;
            return fd;
        }
        err = errno;
    }
    if (kind != IcmpSocketKind::Datagram) {
        const int fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd >= 0) {
            raw = true;
            return fd;
        }
        err = errno;
    }
    throw EIcmpError(
        QStringLiteral("Cannot open an ICMP socket: %1").arg(errnoText(err)).toStdString());
}

uint16_t nextNumber()
{
    static std::atomic<uint32_t> counter{0};
    return uint16_t(uint32_t(::getpid()) * 31u + counter.fetch_add(1));
}

uint16_t readU16(const unsigned char *p)
{
    return uint16_t((p[0] << 8) | p[1]);
}

} // namespace

IcmpClient::IcmpClient(int packetSize, IcmpSocketKind kind) : m_packetSize(packetSize), m_kind(kind)
{}

bool IcmpClient::ParseAddress(const QString &text, uint32_t &address)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    uint32_t value = 0;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        uint32_t octet = 0;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
            octet = octet * 10 + uint32_t(c.unicode() - '0');
        }
        if (octet > 255)
            return false;
        value = (value << 8) | octet;
    }
    if (value == 0)
        return false;
    address = value;
    return true;
}

uint16_t IcmpClient::Checksum(const QByteArray &bytes)
{
    uint32_t sum = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (; i + 1 < n; i += 2)
        sum += readU16(p + i);
    if (i < n)
        sum += uint32_t(p[i]) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return uint16_t(~sum);
}

int IcmpClient::ParseEchoReply(const unsigned char *datagram,
                               size_t size,
                               bool raw,
                               uint32_t from,
                               uint32_t target,
                               uint16_t ident,
                               uint16_t seq)
{
    // Raw sockets see every ICMP message of the host (our own request on loopback too):
    // only the reply from the target to this very request counts.
    if (from != target)
        return -1;
    size_t offset = 0;
    if (raw) {
        if (size < 20)
            return -1;
        offset = size_t(datagram[0] & 0x0F) * 4;
        if (offset < 20) // no valid IPv4 header is shorter
            return -1;
    }
    if (size < offset + IcmpHeaderSize)
        return -1;
    const unsigned char *icmp = datagram + offset;
    if (icmp[0] != IcmpEchoReply || icmp[1] != 0 || (raw && readU16(icmp + 4) != ident) ||
        readU16(icmp + 6) != seq)
        return -1;
    return int(size - offset - IcmpHeaderSize);
}

EchoResult IcmpClient::Echo(const QString &address, const QByteArray &data, int timeoutMs)
{
    uint32_t target = 0;
    if (!ParseAddress(address, target))
        throw EIcmpError(QStringLiteral("Invalid IP address: \"%1\"").arg(address).toStdString());
    if (m_packetSize > MaxPacketSize)
        throw EIcmpError(QStringLiteral("Packet size %1 is above the largest echo of %2 bytes")
                             .arg(m_packetSize)
                             .arg(MaxPacketSize)
                             .toStdString());

    bool raw = false;
    const Fd sock(openSocket(m_kind, raw));

    // The datagram socket puts its own identifier in; the raw one keeps ours.
    const uint16_t ident = nextNumber();
    const uint16_t seq = nextNumber();

    const int dataSize = std::max(m_packetSize, 0);
    QByteArray packet(IcmpHeaderSize + dataSize, '\0');
    packet.replace(IcmpHeaderSize, std::min<qsizetype>(data.size(), dataSize), data.left(dataSize));
    packet[0] = char(IcmpEchoRequest);
    packet[1] = 0;
    packet[4] = char(ident >> 8);
    packet[5] = char(ident & 0xFF);
    packet[6] = char(seq >> 8);
    packet[7] = char(seq & 0xFF);
    const uint16_t sum = Checksum(packet);
    packet[2] = char(sum >> 8);
    packet[3] = char(sum & 0xFF);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(target);
    ssize_t sent;
    do {
        sent = ::sendto(sock.get(), packet.constData(), size_t(packet.size()), 0,
                        reinterpret_cast<const sockaddr *>(&to), sizeof to);
    } while (sent < 0 && errno == EINTR);
    if (sent != packet.size())
        return {EchoResult::Status::Error, 0};

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    QByteArray buffer(65536, '\0');
    auto *buf = reinterpret_cast<unsigned char *>(buffer.data());
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd pfd{sock.get(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, int(std::max<int64_t>(left.count(), 0)));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return {EchoResult::Status::Error, 0};
        }
        if (ready == 0)
            return {EchoResult::Status::Timeout, 0};

        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t got = ::recvfrom(sock.get(), buf, size_t(buffer.size()), 0,
                                       reinterpret_cast<sockaddr *>(&from), &fromLen);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return {EchoResult::Status::Error, 0};
        }

        const int received =
            ParseEchoReply(buf, size_t(got), raw, ntohl(from.sin_addr.s_addr), target, ident, seq);
        if (received >= 0)
            return {EchoResult::Status::Reply, received};
        if (Clock::now() >= deadline)
            return {EchoResult::Status::Timeout, 0};
    }
}

} // namespace plat
