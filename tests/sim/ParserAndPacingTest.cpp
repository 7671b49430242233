#include "tools/sim/CommandParser.h"
#include "tools/sim/LinePacing.h"
#include "tools/sim/PrinterBlocks.h"
#include "tools/sim/Simulator.h"

#include <gtest/gtest.h>

namespace krn310::sim {
namespace {

using Bytes = std::vector<uint8_t>;

struct ParseCase {
    const char* name;
    Bytes bytes;
    CommandKind kind;
    uint8_t selector;
};

Bytes WithBlock(Bytes head)
{
    head.resize(head.size() + 256, 0xA5);
    return head;
}

const ParseCase ParseCases[] = {
    {"ModelName", {0x1D, 0x49, 0x43}, CommandKind::Identification, 'C'},
    {"Firmware", {0x1D, 0x49, 0x41}, CommandKind::Identification, 'A'},
    {"PrinterStatus", {0x10, 0x04, 0x01}, CommandKind::Status, 1},
    {"PaperStatus", {0x10, 0x04, 0x04}, CommandKind::Status, 4},
    {"ReadSet1", {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74}, CommandKind::ReadBlock, 't'},
    {"ReadNetwork", {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x78}, CommandKind::ReadBlock, 'x'},
    {"WriteSet2Printer", WithBlock({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x75}), CommandKind::WriteBlock, 'u'},
    {"FactorySet1", {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x76}, CommandKind::RestoreFactory, 'v'},
    {"FactorySet2", {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x77}, CommandKind::RestoreFactory, 'w'},
    {"Initialize", {0x1B, 0x40}, CommandKind::Initialize, 0},
    {"Restart", {0x1B, 0x42}, CommandKind::Restart, 0},
};

TEST(CommandParser, EachCommandWholeAndByteByByte)
{
    for (const ParseCase& c : ParseCases) {
        SCOPED_TRACE(c.name);
        CommandParser whole;
        const auto commands = whole.Feed(c.bytes.data(), c.bytes.size());
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(commands[0].kind, c.kind);
        EXPECT_EQ(commands[0].selector, c.selector);
        EXPECT_EQ(commands[0].bytes, c.bytes);

        CommandParser split;
        for (size_t i = 0; i + 1 < c.bytes.size(); ++i)
            ASSERT_TRUE(split.Feed(&c.bytes[i], 1).empty()) << "complete after byte " << i;
        const auto last = split.Feed(&c.bytes.back(), 1);
        ASSERT_EQ(last.size(), 1u);
        EXPECT_EQ(last[0].bytes, c.bytes);
        EXPECT_EQ(split.PendingBytes(), 0u);
    }
}

TEST(CommandParser, AllCommandsInOneReadComeOutInOrder)
{
    Bytes stream;
    for (const ParseCase& c : ParseCases)
        stream.insert(stream.end(), c.bytes.begin(), c.bytes.end());
    CommandParser parser;
    const auto commands = parser.Feed(stream.data(), stream.size());
    ASSERT_EQ(commands.size(), std::size(ParseCases));
    for (size_t i = 0; i < commands.size(); ++i)
        EXPECT_EQ(commands[i].bytes, ParseCases[i].bytes) << ParseCases[i].name;
}

TEST(CommandParser, SkipsNoiseAndFindsTheNextCommand)
{
    const Bytes stream = {0x00, 0xFF, 0x1D, 0x49, 0x5A,            // GS I with an unknown selector
                          0x10, 0x04, 0x03,                        // DLE EOT 3 is not answered
                          0x1D, 0x28, 0x45, 0x03, 0x00,            // wrong pL
                          0x1B, 0x1B, 0x40,                        // a lone ESC, then ESC @
                          0x1D, 0x28, 0x45, 0x02, 0x00, 0x07, 0x74, // unknown function
                          0x1D, 0x49, 0x44};
    CommandParser parser;
    const auto commands = parser.Feed(stream.data(), stream.size());
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].kind, CommandKind::Initialize);
    EXPECT_EQ(commands[1].bytes, (Bytes{0x1D, 0x49, 0x44}));
}

TEST(CommandParser, BlockBytesThatLookLikeCommandsStayInTheBlock)
{
    Bytes write = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x74};
    for (int i = 0; i < 128; ++i)
        write.insert(write.end(), {0x1B, 0x42});
    CommandParser parser;
    const auto commands = parser.Feed(write.data(), write.size());
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].kind, CommandKind::WriteBlock);
    EXPECT_EQ(commands[0].bytes.size(), 263u);
}

TEST(LinePacing, BaudIndexSelectsTheLineSpeed)
{
    const uint32_t expected[] = {0, 115200, 57600, 38400, 28800, 19200, 14400, 9600, 4800, 2400, 1200, 600, 0};
    for (uint32_t index = 0; index < std::size(expected); ++index)
        EXPECT_EQ(BaudForIndex(index), expected[index]) << "BaudIndex " << index;
}

TEST(LinePacing, ByteTakesTenBitTimes)
{
    using std::chrono::nanoseconds;
    EXPECT_EQ(ByteTime(9600), nanoseconds(1'041'666));
    EXPECT_EQ(ByteTime(115200), nanoseconds(86'805));
    EXPECT_EQ(ByteTime(600), nanoseconds(16'666'666));
    EXPECT_EQ(ByteTime(0), nanoseconds(0));
    // Due times accumulate without the rounding of one byte's time.
    EXPECT_EQ(ByteDue(9600, 0), nanoseconds(0));
    EXPECT_EQ(ByteDue(9600, 96), nanoseconds(100'000'000));
    EXPECT_EQ(ByteDue(115200, 265), nanoseconds(23'003'472));
}

TEST(PrinterBlocks, NetworkAddressLayout)
{
    BlockBytes x{};
    WriteNetworkAddress(x, {0xC0A80064, 62002});   // 192.168.0.100
    EXPECT_EQ(x[8], 0x64);
    EXPECT_EQ(x[11], 0xC0);
    EXPECT_EQ(x[12], 0x32);
    EXPECT_EQ(x[13], 0xF2);
    x[14] = 0x01;   // only the low 16 bits of TcpPort name the port
    EXPECT_EQ(ReadNetworkAddress(x).port, 62002);
    EXPECT_EQ(ReadNetworkAddress(x).ip, 0xC0A80064u);
}

TEST(PrinterBlocks, Ipv4TextAndLoopback)
{
    uint32_t ip = 0;
    ASSERT_TRUE(ParseIpv4("127.0.0.1", ip));
    EXPECT_TRUE(IsLoopback(ip));
    ASSERT_TRUE(ParseIpv4("127.255.3.4", ip));
    EXPECT_TRUE(IsLoopback(ip));
    EXPECT_EQ(FormatIpv4(ip), "127.255.3.4");
    ASSERT_TRUE(ParseIpv4("192.168.0.100", ip));
    EXPECT_FALSE(IsLoopback(ip));
    for (const char* bad : {"localhost", "127.0.0", "127.0.0.1.", "256.0.0.1", "127.0.0.1 ", "", "1270.0.0.1"})
        EXPECT_FALSE(ParseIpv4(bad, ip)) << bad;
}

TEST(PrinterBlocks, UserAndFactoryValues)
{
    for (char letter : {'t', 'u'}) {
        EXPECT_EQ(ReadLe32(UserBlock(letter), 0), 1u) << letter;
        EXPECT_NE(ReadLe32(FactoryBlock(letter), 0), 1u) << letter;
    }
    for (const BlockBytes& x : {UserBlock('x'), FactoryBlock('x')})
        EXPECT_TRUE(IsLoopback(ReadNetworkAddress(x).ip));
    EXPECT_EQ(ReadLe32(FactoryBlock('t'), 104), 160u);        // barcode height
    EXPECT_EQ(ReadLe32(FactoryBlock('u'), BaudIndexOffset), 1u);
    EXPECT_THROW(FactoryBlock('q'), std::invalid_argument);
}

}  // namespace
}  // namespace krn310::sim
