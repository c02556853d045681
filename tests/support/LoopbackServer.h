// A one-shot HTTP peer on 127.0.0.1 for the tests of the network clients.
#pragma once

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace testing_support {

// Takes one connection on 127.0.0.1 in its own thread, reads the request head and answers as
// told. Every wait is bounded so a broken client cannot hang the suite.
class LoopbackServer
{
public:
    enum class Mode {
        ReplyAndClose, // HTTP/1.0 style: the close ends the body
        ReplyAndHold,  // keeps the connection open until the client goes away
        NeverAnswer    // reads the request, says nothing
    };

    explicit LoopbackServer(QByteArray reply, Mode mode = Mode::ReplyAndClose)
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
        m_thread = std::thread([this, reply, mode] { serve(reply, mode); });
    }

    ~LoopbackServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listen >= 0)
            ::close(m_listen);
    }

    quint16 port() const { return m_port; }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

    // What the client sent; waits for the exchange to end.
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

    void serve(const QByteArray &reply, Mode mode)
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
        if (mode != Mode::NeverAnswer) {
            for (qsizetype done = 0; done < reply.size();) {
                const ssize_t n = ::send(conn, reply.constData() + done,
                                         size_t(reply.size() - done), MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                done += n;
            }
        }
        if (mode != Mode::ReplyAndClose) {
            // Until the client closes its end.
            while (waitReadable(conn) && ::recv(conn, buf, sizeof buf, 0) > 0) {
            }
        }
        ::close(conn);
    }

    int m_listen = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    QByteArray m_request;
    std::thread m_thread;
};

// A port on 127.0.0.1 that nobody listens on.
inline quint16 closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr *>(&addr), len);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

} // namespace testing_support
