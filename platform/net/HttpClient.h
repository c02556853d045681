// A small blocking HTTP/1.0 GET client for plain-text replies (the version service).
#pragma once

#include <QString>
#include <QUrl>

namespace plat {

class HttpClient
{
public:
    static constexpr int DefaultTimeoutMs = 10000;
    static constexpr char UserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";
    static constexpr char AcceptHeader[] =
        "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    // The replies we ask for are a few bytes; a longer one is not what we asked for.
    static constexpr qint64 MaxReplyBytes = 1024 * 1024;

    // connectTimeoutMs bounds name lookup plus connecting; readTimeoutMs bounds sending the
    // request and reading the whole reply.
    explicit HttpClient(int connectTimeoutMs = DefaultTimeoutMs,
                        int readTimeoutMs = DefaultTimeoutMs);

    int ConnectTimeout() const { return m_connectTimeoutMs; }
    void SetConnectTimeout(int ms) { m_connectTimeoutMs = ms; }
    int ReadTimeout() const { return m_readTimeoutMs; }
    void SetReadTimeout(int ms) { m_readTimeoutMs = ms; }

    // Blocks the calling thread (no event loop needed) until the reply is in or a time-out
    // ends the wait. Returns the body of a 2xx reply as text; every failure (bad URL, no
    // connection, time-out, other status, malformed reply) gives an empty text. Never throws.
    // Only plain "http" URLs are served.
    QString Get(const QUrl &url) const;

    // The body text of a whole reply as received (head and body), by the rules of Get: empty
    // for a malformed head, a status other than 2xx or a body shorter than its length.
    static QString ParseReply(const QByteArray &raw);

private:
    int m_connectTimeoutMs;
    int m_readTimeoutMs;
};

} // namespace plat
