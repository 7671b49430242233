#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace krn310::sim {

using BlockBytes = std::array<uint8_t, 256>;

// Where the 'x' block says the printer listens: IpAddress o1*2^24+..+o4
// little-endian at 8..11, the low 16 bits of TcpPort at 12..13.
struct NetworkAddress {
    uint32_t ip = 0;       // o1 in the top byte
    uint16_t port = 0;
};

BlockBytes UserBlock(char letter);     // the values a configured printer holds (UserFlag 1)
NetworkAddress ReadNetworkAddress(const BlockBytes& x);
void WriteNetworkAddress(BlockBytes& x, NetworkAddress address);
uint32_t ReadLe32(const BlockBytes& block, size_t offset);
void WriteLe32(BlockBytes& block, size_t offset, uint32_t value);

bool IsLoopback(uint32_t ip);
// Numeric dotted IPv4 only; false for anything else, names included.
bool ParseIpv4(const std::string& text, uint32_t& ip);
std::string FormatIpv4(uint32_t ip);

inline constexpr size_t BaudIndexOffset = 4;   // 'u' block, 1 = 115200 .. 11 = 600

}  // namespace krn310::sim
