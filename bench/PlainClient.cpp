#include "bench/PlainClient.h"

#include "bench/ReadAllCommands.h"
#include "exchange/ReplyTests.h"
#include "platform/net/WinSock.h"

#include <array>
#include <chrono>
#include <cstring>
#include <sstream>

namespace krn310::bench {

namespace {

bool ReplyComplete(const std::vector<uint8_t>& command, const uint8_t* reply, uint32_t length)
{
    if (command[0] == ModelNameCommand[0] && command[1] == ModelNameCommand[1])
        return IsIdentificationComplete(reply, length);
    if (command[0] == PrinterStatusCommand[0])
        return IsStatusComplete(length);
    return IsBlockComplete(length);
}

// Network byte order, as the address sits in memory.
uint32_t NetworkAddress(const std::string& dotted)
{
    std::array<uint8_t, 4> octets{};
    std::istringstream in(dotted);
    for (uint8_t& octet : octets) {
        unsigned value = 0;
        char dot = 0;
        in >> value;
        in >> dot;
        octet = uint8_t(value);
    }
    uint32_t address = 0;
    std::memcpy(&address, octets.data(), sizeof address);
    return address;
}

uint16_t NetworkPort(uint16_t port)
{
    const std::array<uint8_t, 2> bytes{uint8_t(port >> 8), uint8_t(port)};
    uint16_t value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value;
}

} // namespace

PlainRead PlainReadAllOverTcp(const std::string& dottedAddress, uint16_t port)
{
    PlainRead result;
    net::TWinSock winsock;
    winsock.WSAStartup(0x0101);
    const auto start = std::chrono::steady_clock::now();
    const net::TSocket s = winsock.Socket();
    net::TSockAddrIn address;
    address.sin_addr = NetworkAddress(dottedAddress);
    address.sin_port = NetworkPort(port);
    if (s == net::INVALID_SOCKET || winsock.Connect(s, address) != 0)
        return result;

    std::array<uint8_t, 1024> reply{};
    for (const auto& command : ReadAllCommands()) {
        if (winsock.Send(s, command.data(), int(command.size()), 0) != int(command.size()))
            return result;
        result.bytesSent += command.size();
        uint32_t length = 0;
        while (!ReplyComplete(command, reply.data(), length)) {
            const int n = winsock.Recv(s, reply.data() + length, int(reply.size() - length), 0);
            if (n <= 0)
                return result;
            length += uint32_t(n);
        }
        result.bytesReceived += length;
    }
    result.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    winsock.CloseSocket(s);
    result.ok = true;
    return result;
}

} // namespace krn310::bench
