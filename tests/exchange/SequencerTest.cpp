#include "tests/exchange/ExchangeFixture.h"

namespace krn310::test {
namespace {

// A script of given steps that record their calls.
class SequencerTest : public ExchangeTest {
protected:
    std::vector<std::string> calls;

    StepRoutine Record(std::string name)
    {
        return [this, name] { calls.push_back(name); };
    }
    StepRoutine SendStep(std::string name, Bytes command)
    {
        return [this, name, command] {
            calls.push_back(name);
            sequencer.AdvanceStep();
            sequencer.SendToPrinter(command.data(), static_cast<int32_t>(command.size()));
        };
    }
    // A receive step that needs `need` bytes.
    StepRoutine ReceiveStep(std::string name, uint32_t need)
    {
        return [this, name, need] {
            calls.push_back(name + ":" + std::to_string(sequencer.ReplyLength));
            if (sequencer.ReplyLength < need)
                return;
            sequencer.ReplyLength = 0;
            sequencer.RunNextStep();
        };
    }
};

TEST_F(SequencerTest, EmptyScriptOnlyStopsTheWatchdog)
{
    StepScript running = {Record("a"), Record("b"), nullptr};
    sequencer.RunScript(running);
    sequencer.ArmWatchdog();
    sequencer.ReplyLength = 5;
    const StepRoutine* cursor = sequencer.ScriptCursor;
    const StepScript empty = {nullptr};
    sequencer.RunScript(empty);
    EXPECT_FALSE(timer1->Enabled());
    EXPECT_EQ(sequencer.ScriptCursor, cursor);
    EXPECT_EQ(sequencer.ReplyLength, 5u);
}

TEST_F(SequencerTest, OneSendStepScriptEndsBeforeItsMessageGoesOutAndTheWatchdogStillRuns)
{
    bool idleWhenSent = false;
    StepScript script = {[&] {
                             sequencer.AdvanceStep();
                             idleWhenSent = sequencer.Idle();
                             const Bytes m = ToBytes({1, 2, 3});
                             sequencer.SendToPrinter(m.data(), 3);
                         },
                         nullptr};
    sequencer.RunScript(script);
    EXPECT_TRUE(idleWhenSent);
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_EQ(host.serialWritten.size(), 1u);
    EXPECT_TRUE(timer1->Enabled());

    // A reply now is discarded and stops the watchdog.
    Arrive(ToBytes({0x55, 0x66}));
    EXPECT_EQ(sequencer.ReplyLength, 0u);
    EXPECT_FALSE(timer1->Enabled());
    clock.Advance(5000);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SequencerTest, OneSendStepScriptFollowedBySilenceEndsInTheWatchdogMessage)
{
    StepScript script = {SendStep("send", ToBytes({9})), nullptr};
    sequencer.RunScript(script);
    clock.Advance(1099);
    EXPECT_TRUE(host.messages.empty());
    clock.Advance(1);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Принтер не отвечает!!!!"});
}

TEST_F(SequencerTest, SplitSerialReplyIsSeenAccumulatedAndEachPartReloadsTheWatchdog)
{
    StepScript script = {SendStep("send", ToBytes({1})), ReceiveStep("recv", 6), Record("after"), nullptr};
    sequencer.RunScript(script);
    for (int part = 0; part < 3; ++part) {
        clock.Advance(1000);
        Arrive(ToBytes({part, part}));
    }
    EXPECT_TRUE(host.messages.empty()) << "each part reloaded the watchdog";
    EXPECT_EQ(calls, (std::vector<std::string>{"send", "recv:2", "recv:4", "recv:6", "after"}));
}

TEST_F(SequencerTest, SplitSocketReplyIsSeenAccumulated)
{
    host.interfaceType = kInterfaceEthernet;
    StepScript script = {SendStep("send", ToBytes({1})), ReceiveStep("recv", 4), Record("after"), nullptr};
    sequencer.RunScript(script);
    Arrive(ToBytes({1, 2}));
    clock.Advance(1000);
    Arrive(ToBytes({3, 4}));
    EXPECT_EQ(calls, (std::vector<std::string>{"send", "recv:2", "recv:4", "after"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SequencerTest, SocketReplyThatStopsHalfWayEndsInTheWatchdogMessage)
{
    host.interfaceType = kInterfaceEthernet;
    StepScript script = {SendStep("send", ToBytes({1})), ReceiveStep("recv", 4), nullptr};
    sequencer.RunScript(script);
    clock.Advance(500);
    Arrive(ToBytes({1, 2}));
    EXPECT_TRUE(timer1->Enabled());
    clock.Advance(1099);
    EXPECT_TRUE(host.messages.empty());
    clock.Advance(1);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Принтер не отвечает!!!!"});
    EXPECT_EQ(host.events.front(), "SocketClose");
}

TEST_F(SequencerTest, EmptySocketReadOnlyRearmsTheWatchdog)
{
    host.interfaceType = kInterfaceEthernet;
    StepScript script = {SendStep("send", ToBytes({1})), ReceiveStep("recv", 4), nullptr};
    sequencer.RunScript(script);
    clock.Advance(500);
    Arrive({});
    EXPECT_TRUE(timer1->Enabled());
    EXPECT_EQ(calls, std::vector<std::string>{"send"});
    clock.Advance(1099);
    EXPECT_TRUE(host.messages.empty());
    clock.Advance(1);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(SequencerTest, FailedSocketReceiveAppendsNothing)
{
    host.interfaceType = kInterfaceEthernet;
    StepScript script = {SendStep("send", ToBytes({1})), ReceiveStep("recv", 4), nullptr};
    sequencer.RunScript(script);
    Arrive(ToBytes({7}));
    host.socketFailure = -1;
    sequencer.ZSocket1DataAvailable();
    EXPECT_EQ(sequencer.ReplyLength, 1u);
    EXPECT_EQ(calls, (std::vector<std::string>{"send", "recv:1"}));
}

TEST_F(SequencerTest, BytesArrivingWhileIdleAreDiscardedAndStopTheWatchdog)
{
    for (int link : {kInterfaceRs232, kInterfaceEthernet}) {
        host.interfaceType = link;
        sequencer.ArmWatchdog();
        sequencer.ReplyLength = 3;
        Arrive(ToBytes({1, 2, 3}));
        EXPECT_EQ(sequencer.ReplyLength, 0u);
        EXPECT_FALSE(timer1->Enabled());
        EXPECT_TRUE(host.serialIn.empty());
        EXPECT_TRUE(host.socketIn.empty());
    }
}

TEST_F(SequencerTest, StartingAScriptMidScriptAbandonsTheFirstWithAnEmptyBuffer)
{
    StepScript first = {SendStep("first", ToBytes({1})), ReceiveStep("first-recv", 10), Record("first-after"), nullptr};
    StepScript second = {SendStep("second", ToBytes({2})), ReceiveStep("second-recv", 2), nullptr};
    sequencer.RunScript(first);
    Arrive(ToBytes({0xAA, 0xBB, 0xCC}));
    sequencer.RunScript(second);
    EXPECT_EQ(sequencer.ReplyLength, 0u);
    Arrive(ToBytes({0x01}));
    Arrive(ToBytes({0x02}));
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "first-recv:3", "second", "second-recv:1", "second-recv:2"}));
    EXPECT_TRUE(sequencer.Idle());
}

TEST_F(SequencerTest, AReplyGrowingPastTheBufferNeverOverflowsItAndTheEngineRecovers)
{
    StepScript script = {SendStep("send", ToBytes({1})), ReceiveStep("recv", 100000), nullptr};
    sequencer.RunScript(script);
    for (int i = 0; i < 5; ++i)
        Arrive(Bytes(700, 0x41));
    EXPECT_EQ(sequencer.ReplyLength, TSequencer::kReplyBufferSize);
    EXPECT_EQ(calls.back(), "recv:1024");

    clock.Advance(1100);
    EXPECT_EQ(host.messages.size(), 1u);
    calls.clear();
    StepScript next = {SendStep("send", ToBytes({2})), ReceiveStep("recv", 2), nullptr};
    host.serialConnected = true;
    sequencer.RunScript(next);
    Arrive(ToBytes({1, 2}));
    EXPECT_EQ(calls, (std::vector<std::string>{"send", "recv:2"}));
    EXPECT_TRUE(sequencer.Idle());
}

TEST_F(SequencerTest, SendToPrinterUsesTheInterfaceSelectedAtThatMoment)
{
    const Bytes m = ToBytes({0x1B, 0x40});
    host.interfaceType = kInterfaceRs232;
    sequencer.SendToPrinter(m.data(), 2);
    host.interfaceType = kInterfaceEthernet;
    sequencer.SendToPrinter(m.data(), 2);
    host.interfaceType = -1;
    sequencer.SendToPrinter(m.data(), 2);
    EXPECT_EQ(host.serialWritten, std::vector<Bytes>{m});
    EXPECT_EQ(host.socketSent, std::vector<Bytes>{m});
    EXPECT_TRUE(timer1->Enabled()) << "the watchdog is armed even when nothing was sent";
    EXPECT_EQ(sequencer.WatchdogTicks, 10);
}

} // namespace
} // namespace krn310::test
