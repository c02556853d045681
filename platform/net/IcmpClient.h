// ICMP echo ("ping") to an IPv4 device, behind an interface so callers can be tested with a
// fake.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace plat {

// The address cannot be used, or no ICMP socket can be opened on this machine.
class EIcmpError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct EchoResult
{
    enum class Status {
        Reply,   // the matching echo reply came in time
        Timeout, // nothing matching came in time
        Error    // the request could not be sent or the answer not read
    };
    Status status = Status::Timeout;
    int bytesReceived = 0; // data bytes carried by the reply; 0 unless Reply
};

class IIcmpClient
{
public:
    virtual ~IIcmpClient() = default;

    // Sends one echo request carrying data to address (IPv4 dotted form) and waits up to
    // timeoutMs for its reply; the outcome is known when this returns. Throws EIcmpError for an
    // address that cannot be used.
    virtual EchoResult Echo(const QString &address, const QByteArray &data, int timeoutMs) = 0;
};

enum class IcmpSocketKind {
    Auto,     // unprivileged datagram socket, else raw socket
    Datagram, // only the unprivileged datagram socket
    Raw       // only the raw socket (needs the right to open one)
};

// The real client. Every request carries exactly PacketSize data bytes: the given data, cut or
// padded with zero bytes.
class IcmpClient : public IIcmpClient
{
public:
    static constexpr int DefaultPacketSize = 1024;
    // One IPv4 datagram holds at most 65535 bytes, less the IP and ICMP headers.
    static constexpr int MaxPacketSize = 65535 - 20 - 8;

    explicit IcmpClient(int packetSize = DefaultPacketSize,
                        IcmpSocketKind kind = IcmpSocketKind::Auto);

    int PacketSize() const { return m_packetSize; }
    void SetPacketSize(int bytes) { m_packetSize = bytes; }

    // Also throws EIcmpError when no socket of the allowed kinds can be opened, and when
    // PacketSize is above MaxPacketSize (no such echo can be sent).
    EchoResult Echo(const QString &address, const QByteArray &data, int timeoutMs) override;

    // The IPv4 address of a dotted text "a.b.c.d" (decimal, 0 to 255 each, no blanks), in host
    // order. False for anything else and for 0.0.0.0, which names no device (the local stack
    // would answer it).
    static bool ParseAddress(const QString &text, uint32_t &address);

    // The Internet checksum (ones' complement of the ones' complement sum of 16-bit words).
    static uint16_t Checksum(const QByteArray &bytes);

    // The data byte count of a received datagram when it is the reply from target to the
    // request (ident, seq), else -1. raw: the datagram starts with its IPv4 header (raw sockets);
    // the datagram socket sets the identifier itself, so it is checked only for raw ones.
    static int ParseEchoReply(const unsigned char *datagram,
                              size_t size,
                              bool raw,
                              uint32_t from,
                              uint32_t target,
                              uint16_t ident,
                              uint16_t seq);

private:
    int m_packetSize;
    IcmpSocketKind m_kind;
};

} // namespace plat
