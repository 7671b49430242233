#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// WinSock-shaped names and records. Kept free of the system's socket headers
// so that code above the platform layer can use them.
namespace krn310::net {

using TSocket = uint32_t;
inline constexpr TSocket INVALID_SOCKET = 0xFFFFFFFFu;
inline constexpr int SOCKET_ERROR = -1;

// Notification events of WSAAsyncSelect.
inline constexpr uint16_t FD_READ = 1;
inline constexpr uint16_t FD_WRITE = 2;
inline constexpr uint16_t FD_OOB = 4;
inline constexpr uint16_t FD_ACCEPT = 8;
inline constexpr uint16_t FD_CONNECT = 16;
inline constexpr uint16_t FD_CLOSE = 32;

// send/recv flags as WinSock numbers them.
inline constexpr int WSA_MSG_OOB = 1;
inline constexpr int WSA_MSG_PEEK = 2;

// shutdown directions.
inline constexpr int SD_RECEIVE = 0;
inline constexpr int SD_SEND = 1;
inline constexpr int SD_BOTH = 2;

// Socket option levels and names as WinSock numbers them.
inline constexpr int WSA_SOL_SOCKET = 0xFFFF;
inline constexpr int WSA_SO_REUSEADDR = 0x0004;
inline constexpr int WSA_SO_KEEPALIVE = 0x0008;
inline constexpr int WSA_SO_LINGER = 0x0080;
inline constexpr int WSA_SO_SNDBUF = 0x1001;
inline constexpr int WSA_SO_RCVBUF = 0x1002;
inline constexpr int WSA_SO_ERROR = 0x1007;
inline constexpr int WSA_SO_TYPE = 0x1008;
inline constexpr int WSA_IPPROTO_TCP = 6;
inline constexpr int WSA_TCP_NODELAY = 1;

// ioctlsocket commands.
inline constexpr long WSA_FIONREAD = 0x4004667F;
inline constexpr long WSA_FIONBIO = static_cast<long>(0x8004667Eu);
inline constexpr long WSA_SIOCATMARK = 0x40047307;

inline constexpr uint16_t WSA_AF_INET = 2;
inline constexpr uint32_t WSA_INADDR_ANY = 0;
inline constexpr uint32_t WSA_INADDR_NONE = 0xFFFFFFFFu;

// sockaddr_in as WinSock lays it out: port and address in network byte order.
struct TSockAddrIn {
    uint16_t sin_family = WSA_AF_INET;
    uint16_t sin_port = 0;
    uint32_t sin_addr = 0;
    std::array<uint8_t, 8> sin_zero{};
};

// What a host lookup found: the official name and the IPv4 addresses, each in
// network byte order.
struct THostEntry {
    std::string h_name;
    std::vector<uint32_t> h_addr_list;
};

uint16_t Htons(uint16_t host);
uint16_t Ntohs(uint16_t net);
uint32_t Htonl(uint32_t host);

// inet_addr: the network-order address of a dotted text, WSA_INADDR_NONE for
// text that is not one.
uint32_t InetAddr(const std::string& text);
// inet_ntoa: the dotted text of a network-order address.
std::string InetNtoa(uint32_t address);

// Packs a notification's lParam: event in the low 16 bits, error in the high.
inline int32_t MakeSelectLParam(uint16_t event, int error)
{
    return static_cast<int32_t>((static_cast<uint32_t>(error) << 16) | event);
}

} // namespace krn310::net
