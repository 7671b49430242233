#include "platform/net/WinSockTypes.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace krn310::net {

uint16_t Htons(uint16_t host)
{
    return htons(host);
}

uint16_t Ntohs(uint16_t net)
{
    return ntohs(net);
}

uint32_t Htonl(uint32_t host)
{
    return htonl(host);
}

uint32_t InetAddr(const std::string& text)
{
    return inet_addr(text.c_str());
}

std::string InetNtoa(uint32_t address)
{
    char text[INET_ADDRSTRLEN] = {};
    in_addr in{};
    in.s_addr = address;
    inet_ntop(AF_INET, &in, text, sizeof text);
    return text;
}

} // namespace krn310::net
