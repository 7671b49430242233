#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "exchange/ServiceInfo.h"
#include "platform/QtTimer.h"
#include "socket/Zsocket.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/RunUntil.h"
#include "tools/sim/Simulator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace krn310 {
namespace {

// The window's part of the exchange, with the Ethernet link through a real
// TZSocket connected to the simulator on loopback.
class EthernetHost : public test::FakeExchangeHost {
public:
    explicit EthernetHost(TZSocket& socket) : socket_(socket) { interfaceType = kInterfaceEthernet; }

    int SocketSend(const uint8_t* bytes, long length) override
    {
        return socket_.ZSend(socket_.SocketHandle, bytes, length);
    }
    int SocketReceive(uint8_t* buffer, long maxLength) override
    {
        return socket_.ZReceive(socket_.SocketHandle, buffer, maxLength);
    }
    int SocketState() const override { return socket_.State(); }
    void SocketClose() override
    {
        events.push_back("SocketClose");
        socket_.ZClose();
    }

private:
    TZSocket& socket_;
};

TEST(ReadAllOverTcp, RunsToTheEndAgainstTheSimulator)
{
    sim::Options options;
    options.tcp = true;
    sim::Simulator printer(options);
    printer.Start();
    printer.SetIdentification('C', "KRN-310");
    printer.SetIdentification('B', "Test Maker");

    TZSocket ZSocket1;
    EthernetHost host(ZSocket1);
    TQtTimer Timer1(TSequencer::kWatchdogTickMs);
    TSequencer sequencer(host, Timer1);
    TReadScripts scripts(sequencer, host);
    Timer1.OnTimer = [&] { sequencer.Timer1Timer(); };
    std::vector<int> errors;
    bool connected = false;
    ZSocket1.OnDataAvailable = [&](TZSocket*) { sequencer.ZSocket1DataAvailable(); };
    ZSocket1.OnError = [&](TZSocket*, int error, std::string, uint32_t) { errors.push_back(error); };
    ZSocket1.OnConnect = [&](TZSocket* sender) {
        connected = true;
        if (sender->State() == kSocketConnected)
            sequencer.RunScript(scripts.ReadAllScript);
        sequencer.ArmWatchdog();
    };

    ZSocket1.RemoteAddr = printer.TcpAddress();
    ZSocket1.RemotePort = std::to_string(printer.TcpPort());
    ZSocket1.ZConnect();
    EXPECT_TRUE(test::RunUntil([&] { return connected && (sequencer.Idle() || !host.messages.empty()); }, 30000));

    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_GE(host.enables, 1);
    EXPECT_FALSE(Timer1.Enabled());
    EXPECT_EQ(host.Cell(kValueColumn, kModelNameRow), "KRN-310");
    EXPECT_EQ(host.Cell(kValueColumn, kMakerNameRow), "Test Maker");
    ASSERT_EQ(host.decoded.size(), 3u);
    for (const auto& [letter, block] : host.decoded) {
        const auto expected = printer.Block(letter);
        EXPECT_TRUE(std::equal(block.begin(), block.end(), expected.begin(), expected.end())) << letter;
    }
    ZSocket1.ZClose();
    EXPECT_EQ(ZSocket1.State(), socket_closed);
}

} // namespace
} // namespace krn310
