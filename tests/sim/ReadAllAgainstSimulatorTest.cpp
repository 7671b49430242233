// The configurator's own exchange against the simulator: two independent
// readings of the protocol that must agree to the byte.
#include "exchange/ExchangeHost.h"
#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "platform/ManualClock.h"
#include "tests/sim/SimClients.h"
#include "tools/sim/Simulator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace krn310::sim {
namespace {

using test::Bytes;

// Both links of the host lead to the same real descriptor: a loopback socket or the pty's slave.
class LinkedHost : public IExchangeHost {
public:
    LinkedHost(int interfaceType, int fd) : interfaceType_(interfaceType), fd_(fd) {}

    int InterfaceType() const override { return interfaceType_; }
    long SerialWrite(const uint8_t* bytes, long length) override { return long(::write(fd_, bytes, size_t(length))); }
    long SerialRead(uint8_t* buffer, long maxLength) override { return Receive(buffer, maxLength); }
    bool SerialConnected() const override { return true; }
    void SerialDisconnect() override { closed = true; }
    int SocketSend(const uint8_t* bytes, long length) override
    {
        return int(::send(fd_, bytes, size_t(length), MSG_NOSIGNAL));
    }
    int SocketReceive(uint8_t* buffer, long maxLength) override { return int(Receive(buffer, maxLength)); }
    int SocketState() const override { return kSocketConnected; }
    void SocketClose() override { closed = true; }
    void SetServiceCell(int col, int row, const std::string& text) override { cells[{col, row}] = text; }
    void EnableSettings() override { ++enables; }
    void DisableSettings() override {}
    void SetConnectHeader(const std::string&, int) override {}
    void ShowConnectHeader() override {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void DecodeSet1Block(std::span<const uint8_t, 256> block) override { Keep('t', block); }
    void DecodeSet2PrinterBlock(std::span<const uint8_t, 256> block) override { Keep('u', block); }
    void DecodeSet2NetworkBlock(std::span<const uint8_t, 256> block) override { Keep('x', block); }

    std::string Value(int row) const
    {
        const auto it = cells.find({1, row});
        return it == cells.end() ? std::string() : it->second;
    }

    std::map<std::pair<int, int>, std::string> cells;
    std::map<char, std::array<uint8_t, 256>> decoded;
    std::vector<std::string> messages;
    int enables = 0;
    bool closed = false;

private:
    long Receive(uint8_t* buffer, long maxLength)
    {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0)
            return 0;
        return long(::read(fd_, buffer, size_t(maxLength)));
    }

    void Keep(char letter, std::span<const uint8_t, 256> block)
    {
        std::copy(block.begin(), block.end(), decoded[letter].begin());
    }

    int interfaceType_;
    int fd_;
};

class ReadAllAgainstSimulator : public ::testing::TestWithParam<int> {};

TEST_P(ReadAllAgainstSimulator, RunsToTheEndAndAgreesToTheByte)
{
    const bool ethernet = GetParam() == kInterfaceEthernet;
    Options options;
    options.tcp = ethernet;
    options.pty = !ethernet;
    options.pacing = false;
    Simulator sim(options);
    sim.SetStatus(1, 0x04);
    sim.SetStatus(4, 0x08);
    sim.Start();
    test::Peer peer = ethernet ? test::ConnectTcp(sim.TcpPort()) : test::OpenPtyRaw(sim.PtyPath());

    LinkedHost host(GetParam(), peer.Fd());
    ManualClock clock;
    auto timer1 = clock.CreateTimer(TSequencer::kWatchdogTickMs);
    TSequencer sequencer(host, *timer1);
    TReadScripts scripts(sequencer, host);
    sequencer.ArmWatchdog();
    sequencer.RunScript(scripts.ReadAllScript);

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!sequencer.Idle() && std::chrono::steady_clock::now() < until) {
        pollfd p{peer.Fd(), POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            if (ethernet)
                sequencer.ZSocket1DataAvailable();
            else
                sequencer.ZComm1DataAvailable();
        }
    }
    ASSERT_TRUE(sequencer.Idle());
    EXPECT_FALSE(host.closed);
    EXPECT_TRUE(host.messages.empty());

    EXPECT_EQ(host.Value(0), "KRN-310");
    EXPECT_EQ(host.Value(1), "ООО Кронос");   // sent in Windows-1251
    EXPECT_EQ(host.Value(2), "1.01.05");
    EXPECT_EQ(host.Value(3), "KRN31000012345");
    EXPECT_EQ(host.Value(8), "Закрыт");
    EXPECT_EQ(host.Value(11), "Скоро конец");
    for (char letter : {'t', 'u', 'x'})
        EXPECT_EQ(host.decoded[letter], sim.Block(letter)) << letter;

    const std::vector<Bytes> expected = {
        {0x1D, 0x49, 0x43}, {0x1D, 0x49, 0x42}, {0x1D, 0x49, 0x41}, {0x1D, 0x49, 0x44},
        {0x10, 0x04, 0x01}, {0x10, 0x04, 0x02}, {0x10, 0x04, 0x04},
        {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74}, {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x75},
        {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x78},
    };
    const auto log = sim.Log();
    ASSERT_EQ(log.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(log[i].bytes, expected[i]) << "command " << i;
}

INSTANTIATE_TEST_SUITE_P(Links, ReadAllAgainstSimulator, ::testing::Values(kInterfaceEthernet, kInterfaceRs232),
                         [](const auto& info) { return info.param == kInterfaceEthernet ? "Tcp" : "Pty"; });

}  // namespace
}  // namespace krn310::sim
