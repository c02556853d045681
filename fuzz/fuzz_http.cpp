// HTTP replies: any bytes give a text or the empty text, never more than the reply holds.
#include "FuzzSupport.h"

#include "platform/net/HttpClient.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw = fuzz::bytesOf(data, size);
    const QString body = plat::HttpClient::ParseReply(raw);
    FUZZ_CHECK(body.size() <= raw.size());
    if (!body.isEmpty())
        FUZZ_CHECK(raw.startsWith("HTTP/1."));
    return 0;
}
