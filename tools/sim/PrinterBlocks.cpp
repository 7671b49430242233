#include "tools/sim/PrinterBlocks.h"

#include "tools/sim/Simulator.h"

#include <stdexcept>

namespace krn310::sim {
namespace {

constexpr uint32_t Loopback = 0x7F000001;   // 127.0.0.1
constexpr uint16_t DefaultPort = 62002;

struct Set1Values {
    uint32_t userFlag, charSpacing, font, height, width, bold, underline, negative, lineSpacing,
        alignment, leftMargin, printWidth, upsideDown, hriPosition, hriFont, barcodeHeight, moduleWidth;
};

BlockBytes Set1(const Set1Values& v)
{
    BlockBytes b{};
    WriteLe32(b, 0, v.userFlag);
    WriteLe32(b, 4, v.charSpacing);
    WriteLe32(b, 8, v.font);
    WriteLe32(b, 12, v.height);
    WriteLe32(b, 16, v.width);
    WriteLe32(b, 20, v.bold);
    WriteLe32(b, 24, v.underline);
    WriteLe32(b, 32, v.negative);
    WriteLe32(b, 36, v.lineSpacing);
    WriteLe32(b, 40, v.alignment);
    WriteLe32(b, 44, v.leftMargin);
    WriteLe32(b, 48, v.printWidth);
    WriteLe32(b, 52, v.upsideDown);
    WriteLe32(b, 56, 1);
    WriteLe32(b, 60, 1);
    const uint8_t tabs[] = {8, 16, 24, 32, 40, 48};
    for (size_t i = 0; i < sizeof tabs; ++i)
        b[64 + i] = tabs[i];
    WriteLe32(b, 96, v.hriPosition);
    WriteLe32(b, 100, v.hriFont);
    WriteLe32(b, 104, v.barcodeHeight);
    WriteLe32(b, 108, v.moduleWidth);
    return b;
}

struct Set2PrinterValues {
    uint32_t userFlag, baudIndex, flow, contrast, autoLineFeed, powerOnMessage, autoCutter, maxSpeed,
        noPreload, buzzer, nearEndOff;
};

BlockBytes Set2Printer(const Set2PrinterValues& v)
{
    BlockBytes b{};
    const uint32_t fields[] = {v.userFlag, v.baudIndex, v.flow, v.contrast, v.autoLineFeed, v.powerOnMessage,
                               v.autoCutter, v.maxSpeed, v.noPreload, v.buzzer, v.nearEndOff};
    for (size_t i = 0; i < std::size(fields); ++i)
        WriteLe32(b, 4 * i, fields[i]);
    return b;
}

BlockBytes Set2Network(const std::array<uint8_t, 6>& mac, uint32_t gateway, uint32_t mask)
{
    BlockBytes b{};
    b[0] = mac[1];
    b[1] = mac[0];
    b[4] = mac[5];
    b[5] = mac[4];
    b[6] = mac[3];
    b[7] = mac[2];
    WriteNetworkAddress(b, {Loopback, DefaultPort});
    WriteLe32(b, 16, gateway);
    WriteLe32(b, 20, mask);
    return b;
}

}  // namespace

uint32_t ReadLe32(const BlockBytes& block, size_t offset)
{
    return uint32_t(block[offset]) | uint32_t(block[offset + 1]) << 8 | uint32_t(block[offset + 2]) << 16 |
           uint32_t(block[offset + 3]) << 24;
}

void WriteLe32(BlockBytes& block, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        block[offset + i] = uint8_t(value >> (8 * i));
}

NetworkAddress ReadNetworkAddress(const BlockBytes& x)
{
    return {ReadLe32(x, 8), uint16_t(x[12] | x[13] << 8)};
}

void WriteNetworkAddress(BlockBytes& x, NetworkAddress address)
{
    WriteLe32(x, 8, address.ip);
    WriteLe32(x, 12, address.port);
}

namespace {

// Factory values are those of a fresh printer; user values are deliberately unlike
// them in most fields, so a test can tell the two apart. Both network blocks hold a
// loopback address, so a simulator restored to them still listens where tests reach it.
BlockBytes Values(char letter, bool factory)
{
    switch (letter) {
    case 't':
        return factory ? Set1({0, 0, 0, 1, 1, 0, 0, 0, 24, 0, 0, 576, 0, 0, 0, 160, 1})
                       : Set1({1, 2, 1, 2, 1, 1, 0, 0, 30, 1, 8, 512, 0, 2, 1, 100, 3});
    case 'u':
        return factory ? Set2Printer({0, 1, 1, 100, 1, 0, 1, 125, 0, 0, 0})
                       : Set2Printer({1, 1, 0, 80, 0, 0, 1, 100, 0, 17, 0});
    case 'x':
        return factory ? Set2Network({0x4B, 0x52, 0x4E, 0x00, 0x00, 0x00}, Loopback, 0xFFFFFF00)
                       : Set2Network({0x4B, 0x52, 0x4E, 0x01, 0x02, 0x03}, Loopback, 0xFF000000);
    }
    throw std::invalid_argument(std::string("no settings block '") + letter + "'");
}

}  // namespace

BlockBytes FactoryBlock(char letter)
{
    return Values(letter, true);
}

BlockBytes UserBlock(char letter)
{
    return Values(letter, false);
}

bool IsLoopback(uint32_t ip)
{
    return (ip >> 24) == 127;
}

bool ParseIpv4(const std::string& text, uint32_t& ip)
{
    uint32_t result = 0;
    size_t position = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0) {
            if (position >= text.size() || text[position] != '.')
                return false;
            ++position;
        }
        size_t digits = 0;
        uint32_t value = 0;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9' && digits < 3) {
            value = value * 10 + uint32_t(text[position] - '0');
            ++position;
            ++digits;
        }
        if (digits == 0 || value > 255)
            return false;
        result = result << 8 | value;
    }
    if (position != text.size())
        return false;
    ip = result;
    return true;
}

std::string FormatIpv4(uint32_t ip)
{
    return std::to_string(ip >> 24) + "." + std::to_string(ip >> 16 & 0xFF) + "." + std::to_string(ip >> 8 & 0xFF) +
           "." + std::to_string(ip & 0xFF);
}

}  // namespace krn310::sim
