#include "settings/Set2NetworkBlock.h"

#include <cstdio>

#include "platform/StrToInt.h"

namespace krn310 {

namespace {

// The MAC bytes lie in the block out of display order.
constexpr std::size_t kMac1 = 0;
constexpr std::size_t kMac0 = 1;
constexpr std::size_t kMacReserved = 2;
constexpr std::size_t kMac5 = 4;
constexpr std::size_t kMac4 = 5;
constexpr std::size_t kMac3 = 6;
constexpr std::size_t kMac2 = 7;
constexpr std::size_t kIpAddress = 8;
constexpr std::size_t kTcpPort = 12;
constexpr std::size_t kGateway = 16;
constexpr std::size_t kSubnetMask = 20;
constexpr std::size_t kReservedTailFirst = 24;

// The maker's prefix, which the fields Edit10, Edit24 and Edit25 only show.
constexpr std::array<uint8_t, 3> kMacPrefix{0x4B, 0x52, 0x4E};

std::string HexByte(uint8_t value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

uint8_t HexField(const std::string& text)
{
    return static_cast<uint8_t>(StrToInt("0x" + text));
}

uint8_t Octet(const std::string& text)
{
    return static_cast<uint8_t>(StrToInt(text));
}

// An address is o1*2^24 + o2*2^16 + o3*2^8 + o4, so o4 comes first in the block.
void DecodeAddress(SettingsBlockView block, std::size_t offset, std::string& o1, std::string& o2, std::string& o3,
                   std::string& o4)
{
    o4 = std::to_string(block[offset]);
    o3 = std::to_string(block[offset + 1]);
    o2 = std::to_string(block[offset + 2]);
    o1 = std::to_string(block[offset + 3]);
}

void EncodeAddress(SettingsBlock& image, std::size_t offset, const std::string& o1, const std::string& o2,
                   const std::string& o3, const std::string& o4)
{
    // Converted in field order, so that the first bad field is the one reported.
    const uint32_t b1 = Octet(o1);
    const uint32_t b2 = Octet(o2);
    const uint32_t b3 = Octet(o3);
    const uint32_t b4 = Octet(o4);
    WriteU32(image, offset, b1 << 24 | b2 << 16 | b3 << 8 | b4);
}

} // namespace

void DecodeSet2NetworkBlock(SettingsBlockView block, Set2NetworkView& view)
{
    view.Edit10 = HexByte(block[kMac0]);
    view.Edit24 = HexByte(block[kMac1]);
    view.Edit25 = HexByte(block[kMac2]);
    view.Edit26 = HexByte(block[kMac3]);
    view.Edit27 = HexByte(block[kMac4]);
    view.Edit28 = HexByte(block[kMac5]);
    DecodeAddress(block, kIpAddress, view.Edit11, view.Edit12, view.Edit13, view.Edit14);
    view.Edit23 = std::to_string(ReadU16(block, kTcpPort));
    DecodeAddress(block, kGateway, view.Edit15, view.Edit16, view.Edit17, view.Edit18);
    DecodeAddress(block, kSubnetMask, view.Edit22, view.Edit21, view.Edit19, view.Edit20);
}

void EncodeSet2NetworkBlock(const Set2NetworkView& view, SettingsBlock& image)
{
    image[kMac0] = kMacPrefix[0];
    image[kMac1] = kMacPrefix[1];
    image[kMac2] = kMacPrefix[2];
    image[kMac3] = HexField(view.Edit26);
    image[kMac4] = HexField(view.Edit27);
    image[kMac5] = HexField(view.Edit28);
    image[kMacReserved] = 0;
    image[kMacReserved + 1] = 0;
    EncodeAddress(image, kIpAddress, view.Edit11, view.Edit12, view.Edit13, view.Edit14);
    EncodeAddress(image, kSubnetMask, view.Edit22, view.Edit21, view.Edit19, view.Edit20);
    EncodeAddress(image, kGateway, view.Edit15, view.Edit16, view.Edit17, view.Edit18);
    WriteI32(image, kTcpPort, StrToInt(view.Edit23));
    ClearBytes(image, kReservedTailFirst, kSettingsBlockSize - 1);
}

void FillFactoryNetworkValues(Set2NetworkView& view)
{
    view.Edit10 = "4B";
    view.Edit24 = "52";
    view.Edit25 = "4E";
    view.Edit26 = "00";
    view.Edit27 = "00";
    view.Edit28 = "00";
    view.Edit11 = "192";
    view.Edit12 = "168";
    view.Edit13 = "0";
    view.Edit14 = "100";
    view.Edit22 = "255";
    view.Edit21 = "255";
    view.Edit19 = "255";
    view.Edit20 = "0";
    view.Edit15 = "192";
    view.Edit16 = "168";
    view.Edit17 = "0";
    view.Edit18 = "1";
    view.Edit23 = "62002";
}

} // namespace krn310
