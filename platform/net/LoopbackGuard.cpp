#include "platform/net/LoopbackGuard.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

namespace krn310::net {

bool LoopbackOnly()
{
    const char* value = std::getenv("KRN310_LOOPBACK_ONLY");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

bool IsLoopbackAddress(uint32_t address)
{
    return (ntohl(address) >> 24) == 127;
}

bool AddressAllowed(uint32_t address)
{
    return !LoopbackOnly() || IsLoopbackAddress(address);
}

} // namespace krn310::net
