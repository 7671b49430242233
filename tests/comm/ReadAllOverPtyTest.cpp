#include "comm/Zcomm.h"

#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "exchange/ServiceInfo.h"
#include "platform/QtTimer.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/RunUntil.h"
#include "tools/sim/Simulator.h"

#include <gtest/gtest.h>

namespace krn310 {
namespace {

// The window's part of the exchange, with the serial link through a real
// TZComm on the simulator's pseudo-terminal.
class SerialHost : public test::FakeExchangeHost {
public:
    explicit SerialHost(TZComm& comm) : comm_(comm) {}

    long SerialWrite(const uint8_t* bytes, long length) override { return comm_.WriteComm(bytes, length); }
    long SerialRead(uint8_t* buffer, long maxLength) override { return comm_.ReadComm(buffer, maxLength); }
    bool SerialConnected() const override { return comm_.Connected() != 0; }
    void SerialDisconnect() override
    {
        events.push_back("SerialDisconnect");
        comm_.CloseConnection();
    }

private:
    TZComm& comm_;
};

TEST(ReadAllOverPty, RunsToTheEndAgainstTheSimulator)
{
    sim::Options options;
    options.pty = true;
    sim::Simulator printer(options);
    printer.Start();
    printer.SetIdentification('C', "KRN-310");
    printer.SetIdentification('B', "Test Maker");

    TZComm ZComm1;
    ZComm1.Port = printer.PtyPath();
    ZComm1.CTSFlowCtl = true;
    ZComm1.EnableParity = false;
    ZComm1.XOuputFlowCtl = false;
    ZComm1.XInputFlowCtl = false;
    SerialHost host(ZComm1);
    TQtTimer Timer1(TSequencer::kWatchdogTickMs);
    TSequencer sequencer(host, Timer1);
    TReadScripts scripts(sequencer, host);
    Timer1.OnTimer = [&] { sequencer.Timer1Timer(); };
    ZComm1.OnDataAvailable = [&](TZComm*) { sequencer.ZComm1DataAvailable(); };

    ASSERT_NE(ZComm1.OpenConnection(), 0);
    sequencer.ArmWatchdog();
    sequencer.RunScript(scripts.ReadAllScript);
    EXPECT_TRUE(test::RunUntil([&] { return sequencer.Idle() || !host.messages.empty(); }, 30000));

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
    EXPECT_EQ(ZComm1.CloseConnection(), 1);
}

} // namespace
} // namespace krn310
