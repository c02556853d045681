// ICMP replies as a raw or datagram socket hands them over: any bytes are judged without
// reading past them, and a match never claims more data than the datagram carries.
#include "FuzzSupport.h"

#include "platform/net/IcmpClient.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    const uint8_t mode = in.take<uint8_t>();
    const uint16_t ident = in.take<uint16_t>();
    const uint16_t seq = in.take<uint16_t>();
    const bool raw = mode & 1;
    const uint32_t target = 0x7F000001u;
    const uint32_t from = (mode & 2) ? target + 1 : target;
    // An exact-size copy so the sanitizer sees any read past the end.
    const QByteArray rest = in.rest();
    std::vector<unsigned char> datagram(rest.begin(), rest.end());
    const int got = plat::IcmpClient::ParseEchoReply(datagram.data(), datagram.size(), raw, from,
                                                     target, ident, seq);
    FUZZ_CHECK(got == -1 || (got >= 0 && got <= int(datagram.size()) - 8));
    if (from != target)
        FUZZ_CHECK(got == -1);
    return 0;
}
