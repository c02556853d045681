#include "platform/net/HttpClient.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkProxy>
#include <QTcpSocket>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace plat {

namespace {

struct ParsedHead
{
    int status = 0;
    qsizetype bodyStart = 0;
    std::optional<qint64> contentLength;
    QByteArray contentType;
};

// Position just past the blank line that ends the head, or -1 while it is incomplete.
// Bare LF line ends are tolerated, as most clients do.
qsizetype headEnd(const QByteArray &raw)
{
    const qsizetype crlf = raw.indexOf("\r\n\r\n");
    const qsizetype lf = raw.indexOf("\n\n");
    if (crlf < 0 && lf < 0)
        return -1;
    if (lf < 0 || (crlf >= 0 && crlf < lf))
        return crlf + 4;
    return lf + 2;
}

bool parseStatusLine(const QByteArray &line, int &status)
{
    // "HTTP/1.x SSS[ reason]"
    if (!line.startsWith("HTTP/1."))
        return false;
    const qsizetype sp = line.indexOf(' ');
    if (sp < 0 || line.size() < sp + 4)
        return false;
    const QByteArray code = line.mid(sp + 1, 3);
    if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (line.size() > sp + 4 && line.at(sp + 4) != ' ')
        return false;
    status = code.toInt();
    return true;
}

// Reads the status line and headers; nullopt when the head is incomplete or malformed.
std::optional<ParsedHead> parseHead(const QByteArray &raw)
{
    const qsizetype end = headEnd(raw);
    if (end < 0)
        return std::nullopt;
    ParsedHead head;
    head.bodyStart = end;
    QList<QByteArray> lines = raw.left(end).split('\n');
    for (QByteArray &l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    if (lines.isEmpty() || !parseStatusLine(lines.first(), head.status))
        return std::nullopt;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &l = lines.at(i);
        if (l.isEmpty())
            continue;
        const qsizetype colon = l.indexOf(':');
        if (colon <= 0)
            return std::nullopt;
        const QByteArray name = l.left(colon).trimmed().toLower();
        const QByteArray value = l.mid(colon + 1).trimmed();
        if (name == "content-length") {
            if (value.isEmpty() || !std::all_of(value.begin(), value.end(),
                                                [](char c) { return c >= '0' && c <= '9'; })) {
                return std::nullopt;
            }
            bool ok = false;
            const qint64 len = value.toLongLong(&ok);
            if (!ok || (head.contentLength && *head.contentLength != len))
                return std::nullopt;
            head.contentLength = len;
        } else if (name == "transfer-encoding") {
            // We speak HTTP/1.0: a chunked (or otherwise encoded) body is not ours to decode.
            if (value.toLower() != "identity")
                return std::nullopt;
        } else if (name == "content-type") {
            head.contentType = value;
        }
    }
    return head;
}

// True once the head is in and, when a Content-Length is given, the whole body too.
bool replyComplete(const QByteArray &raw)
{
    const std::optional<ParsedHead> head = parseHead(raw);
    return head && head->contentLength && raw.size() - head->bodyStart >= *head->contentLength;
}

QString decodeBody(const QByteArray &body, const QByteArray &contentType)
{
    const QByteArray type = contentType.toLower();
    const qsizetype at = type.indexOf("charset=");
    if (at >= 0) {
        QByteArray cs = type.mid(at + 8);
        const qsizetype semi = cs.indexOf(';');
        if (semi >= 0)
            cs.truncate(semi);
        cs = cs.trimmed();
        if (cs.startsWith('"') && cs.endsWith('"') && cs.size() >= 2)
            cs = cs.mid(1, cs.size() - 2);
        if (cs == "utf-8" || cs == "utf8")
            return QString::fromUtf8(body);
    }
    // ISO-8859-1 is HTTP's default text charset.
    return QString::fromLatin1(body);
}

QByteArray buildRequest(const QUrl &url)
{
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();

    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (url.port() != -1 && url.port() != 80)
        host += ':' + QByteArray::number(url.port());

    QByteArray req;
    req += "GET " + target + " HTTP/1.0\r\n";
    req += "Host: " + host + "\r\n";
    req += QByteArray("Accept: ") + HttpClient::AcceptHeader + "\r\n";
    req += QByteArray("User-Agent: ") + HttpClient::UserAgent + "\r\n";
    req += "\r\n";
    return req;
}

// The address of host, looked up within timeoutMs. The socket's own look-up has no limit, so
// a resolver that never answers would hold the caller; here a late answer is simply dropped.
std::optional<QHostAddress> resolveHost(const QString &host, int timeoutMs)
{
    const QHostAddress literal(host);
    if (!literal.isNull())
        return literal;

    struct Lookup
    {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        QList<QHostAddress> addresses;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        const QHostInfo info = QHostInfo::fromName(host);
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->addresses = info.addresses();
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();

    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                               [&] { return lookup->finished; })) {
        return std::nullopt;
    }
    for (const QHostAddress &a : lookup->addresses) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    }
    if (lookup->addresses.isEmpty())
        return std::nullopt;
    return lookup->addresses.front();
}

} // namespace

HttpClient::HttpClient(int connectTimeoutMs, int readTimeoutMs)
    : m_connectTimeoutMs(connectTimeoutMs), m_readTimeoutMs(readTimeoutMs)
{}

QString HttpClient::Get(const QUrl &url) const
{
    if (!url.isValid() || url.scheme().compare("http", Qt::CaseInsensitive) != 0 ||
        url.host().isEmpty()) {
        return {};
    }

    const QDeadlineTimer connectDeadline(std::max(m_connectTimeoutMs, 0));
    const std::optional<QHostAddress> address = resolveHost(url.host(), m_connectTimeoutMs);
    if (!address)
        return {};

    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    socket.connectToHost(*address, quint16(url.port(80)));
    if (!socket.waitForConnected(int(std::max<qint64>(connectDeadline.remainingTime(), 0))))
        return {};

    // One deadline for the whole exchange so a peer trickling bytes cannot hold us forever.
    const QDeadlineTimer deadline(std::max(m_readTimeoutMs, 0));
    const auto remaining = [&deadline]() {
        return int(std::max<qint64>(deadline.remainingTime(), 0));
    };

    socket.write(buildRequest(url));
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(remaining()))
            return {};
    }

    QByteArray raw;
    for (;;) {
        raw += socket.readAll();
        if (raw.size() > MaxReplyBytes)
            return {};
        if (replyComplete(raw) || socket.state() != QAbstractSocket::ConnectedState)
            break;
        if (deadline.hasExpired())
            return {};
        if (!socket.waitForReadyRead(remaining())) {
            raw += socket.readAll();
            // A close by the peer ends an HTTP/1.0 body; a time-out or other error fails.
            if (socket.error() == QAbstractSocket::RemoteHostClosedError)
                break;
            return {};
        }
    }
    if (raw.size() > MaxReplyBytes)
        return {};
    return ParseReply(raw);
}

QString HttpClient::ParseReply(const QByteArray &raw)
{
    const std::optional<ParsedHead> head = parseHead(raw);
    if (!head || head->status < 200 || head->status > 299)
        return {};
    QByteArray body = raw.mid(head->bodyStart);
    if (head->contentLength) {
        // A body cut short by the peer is not a reply.
        if (body.size() < *head->contentLength)
            return {};
        body.truncate(*head->contentLength);
    }
    return decodeBody(body, head->contentType);
}

} // namespace plat
