#include "settings/ApplyFlows.h"

#include "platform/StrToInt.h"
#include "tests/exchange/ExchangeFixture.h"

namespace krn310::test {
namespace {

// The window as the flows see it.
struct FakeFlowHost : IApplyFlowHost {
    FakeExchangeHost& exchangeHost;
    bool set1Accepted = true;
    bool set2Converts = true;
    std::string baudText = "115200";
    int encodes1 = 0, encodes2 = 0, copies = 0, toggles = 0;
    std::vector<uint64_t> toggleTimes;
    const ManualClock* clock = nullptr;

    explicit FakeFlowHost(FakeExchangeHost& h) : exchangeHost(h) {}

    int InterfaceType() const override { return exchangeHost.interfaceType; }
    bool EncodeSet1Block() override
    {
        ++encodes1;
        return set1Accepted;
    }
    void EncodeSet2Blocks() override
    {
        ++encodes2;
        if (!set2Converts)
            StrToInt("");
    }
    void DisableSettings() override { exchangeHost.DisableSettings(); }
    std::string ConnectionBaudText() const override { return baudText; }
    void CopyPrinterSettingsToConnectionView() override
    {
        ++copies;
        exchangeHost.events.push_back("Copy");
    }
    void ReconnectToggle() override
    {
        ++toggles;
        toggleTimes.push_back(clock->Now());
        exchangeHost.events.push_back("Toggle");
    }
};

class ApplyFlowsTest : public ExchangeTest {
protected:
    std::unique_ptr<TManualTimer> timer2 = clock.CreateTimer(1000);
    std::unique_ptr<TManualTimer> timer3 = clock.CreateTimer(1000);
    std::unique_ptr<TManualTimer> timer4 = clock.CreateTimer(1000);
    std::array<uint8_t, 256> image1{}, imageU{}, imageX{};
    FakeFlowHost flowHost{host};
    TApplyFlows flows{sequencer, scripts, flowHost, *timer2, *timer3, *timer4, image1, imageU, imageX};

    void SetUp() override
    {
        ExchangeTest::SetUp();
        flowHost.clock = &clock;
        timer2->OnTimer = [this] { flows.Timer2Timer(); };
        timer3->OnTimer = [this] { flows.Timer3Timer(); };
        timer4->OnTimer = [this] { flows.Timer4Timer(); };
        for (size_t i = 0; i < 256; ++i) {
            image1[i] = static_cast<uint8_t>(i);
            imageU[i] = static_cast<uint8_t>(255 - i);
            imageX[i] = static_cast<uint8_t>(i ^ 0x5A);
        }
    }

    static Bytes Message(std::initializer_list<int> head, const std::array<uint8_t, 256>* block,
                         std::initializer_list<int> trailer)
    {
        Bytes m = ToBytes(head);
        if (block)
            m.insert(m.end(), block->begin(), block->end());
        const Bytes t = ToBytes(trailer);
        m.insert(m.end(), t.begin(), t.end());
        return m;
    }
};

TEST_F(ApplyFlowsTest, ApplySet1WritesTheBlockAndRereadsSet1ASecondLater)
{
    flows.SpeedButton3Click();
    ASSERT_EQ(host.serialWritten.size(), 1u);
    const Bytes& m = host.serialWritten[0];
    EXPECT_EQ(m, Message({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x74}, &image1, {0x1B, 0x40}));
    EXPECT_EQ(m.size(), 265u);
    EXPECT_TRUE(sequencer.Idle()) << "the one-step script has ended before its message went out";
    EXPECT_EQ(host.disables, 1);

    clock.Advance(999);
    EXPECT_EQ(host.serialWritten.size(), 1u);
    clock.Advance(1);
    ASSERT_EQ(host.serialWritten.size(), 2u);
    EXPECT_EQ(host.serialWritten[1], ToBytes({0x1D, 0x49, 0x43}));
    answered = 1;
    AnswerAll();
    EXPECT_EQ(host.serialWritten.back(), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74}));
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_EQ(host.events.back(), "EnableSettings");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(timer3->Enabled());
}

TEST_F(ApplyFlowsTest, RejectedSet1SendsNothingAndStartsNoTimer)
{
    flowHost.set1Accepted = false;
    flows.SpeedButton3Click();
    EXPECT_TRUE(host.serialWritten.empty());
    EXPECT_FALSE(timer3->Enabled());
    EXPECT_EQ(host.disables, 0);
}

TEST_F(ApplyFlowsTest, RestoreSet1ReadsAllAtOnceAndSet1TakesOverAfterASecond)
{
    flows.SpeedButton4Click();
    ASSERT_EQ(host.serialWritten.size(), 2u);
    EXPECT_EQ(host.serialWritten[0], ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x76, 0x1B, 0x40}));
    EXPECT_EQ(host.serialWritten[1], ToBytes({0x1D, 0x49, 0x43}));
    answered = 1;
    AnswerNext();
    AnswerNext();
    Arrive(ToBytes({0x5F, 'x'}));  // part of the firmware reply
    clock.Advance(1000);
    EXPECT_EQ(host.serialWritten.back(), ToBytes({0x1D, 0x49, 0x43})) << "ReadSet1Script started";
    EXPECT_EQ(sequencer.ReplyLength, 0u);
    answered = host.serialWritten.size() - 1;
    AnswerAll();
    EXPECT_EQ(host.serialWritten.back(), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74}));
    ASSERT_FALSE(host.decoded.empty());
    EXPECT_EQ(host.decoded.back().first, 't');
}

TEST_F(ApplyFlowsTest, ApplySet2WritesUThenXExactlyOneSecondLater)
{
    flows.SpeedButton5Click();
    ASSERT_EQ(host.serialWritten.size(), 1u);
    EXPECT_EQ(host.serialWritten[0], Message({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x75}, &imageU, {}));
    EXPECT_EQ(host.serialWritten[0].size(), 263u);
    clock.Advance(999);
    EXPECT_EQ(host.serialWritten.size(), 1u);
    clock.Advance(1);
    ASSERT_EQ(host.serialWritten.size(), 2u);
    EXPECT_EQ(host.serialWritten[1], Message({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x78}, &imageX, {0x1B, 0x42}));
    EXPECT_EQ(host.serialWritten[1].size(), 265u);
}

TEST_F(ApplyFlowsTest, BytesInThePauseSendTheUBlockAgainWithoutMovingTimer4)
{
    flows.SpeedButton5Click();
    clock.Advance(400);
    Arrive(ToBytes({0x00}));
    EXPECT_EQ(host.serialWritten.size(), 2u);
    EXPECT_EQ(host.serialWritten[1], host.serialWritten[0]);
    clock.Advance(600);
    ASSERT_EQ(host.serialWritten.size(), 3u);
    EXPECT_EQ(host.serialWritten[2].size(), 265u);
}

TEST_F(ApplyFlowsTest, ConversionErrorInSet2SendsNothing)
{
    flowHost.set2Converts = false;
    EXPECT_THROW(flows.SpeedButton5Click(), EConvertError);
    EXPECT_TRUE(host.serialWritten.empty());
    EXPECT_EQ(host.disables, 0);
    clock.Advance(10000);
    EXPECT_TRUE(host.serialWritten.empty());
}

TEST_F(ApplyFlowsTest, RestoreSet2SendsTheRestoreWithRestart)
{
    flows.SpeedButton6Click();
    ASSERT_EQ(host.serialWritten.size(), 1u);
    EXPECT_EQ(host.serialWritten[0], ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x77, 0x1B, 0x42}));
}

struct BaudCase {
    int baud;
    unsigned afterNetworkWrite;
    unsigned afterRestore;
};

class Timer2OnRs232 : public ApplyFlowsTest, public ::testing::WithParamInterface<BaudCase> {};

TEST_P(Timer2OnRs232, WithoutAReplyTheMoveWaitsItsFirstInterval)
{
    flowHost.baudText = std::to_string(GetParam().baud);
    flows.SpeedButton5Click();
    clock.Advance(1000);
    const uint64_t sent = clock.Now();
    host.serialConnected = false;  // the watchdog closed the silent link meanwhile
    clock.Advance(GetParam().afterNetworkWrite - 1);
    EXPECT_EQ(flowHost.toggles, 0);
    clock.Advance(1);
    ASSERT_EQ(flowHost.toggleTimes.size(), 1u);
    EXPECT_EQ(flowHost.toggleTimes[0] - sent, GetParam().afterNetworkWrite);
}

TEST_P(Timer2OnRs232, RestoreWithoutAReplyWaitsItsFirstInterval)
{
    flowHost.baudText = std::to_string(GetParam().baud);
    flows.SpeedButton6Click();
    clock.Advance(GetParam().afterRestore);
    ASSERT_EQ(flowHost.toggleTimes.size(), 1u);
    EXPECT_EQ(flowHost.toggleTimes[0], GetParam().afterRestore);
}

TEST_P(Timer2OnRs232, AReplyBeforeTheFirstIntervalMovesSevenSecondsAfterIt)
{
    if (GetParam().afterNetworkWrite == 7000)
        GTEST_SKIP();
    flowHost.baudText = std::to_string(GetParam().baud);
    flows.SpeedButton5Click();
    clock.Advance(1000);
    clock.Advance(15);
    Arrive(ToBytes({0x1B, 0x42, 0x0D, 0x0A}));
    const uint64_t replied = clock.Now();
    EXPECT_TRUE(sequencer.Idle());
    clock.Advance(20000);
    ASSERT_EQ(flowHost.toggleTimes.size(), 1u);
    EXPECT_EQ(flowHost.toggleTimes[0] - replied, 7000u);
}

INSTANTIATE_TEST_SUITE_P(Table, Timer2OnRs232, ::testing::Values(
    BaudCase{115200, 7023, 7000}, BaudCase{57600, 7047, 7001}, BaudCase{38400, 7071, 7002},
    BaudCase{28800, 7095, 7003}, BaudCase{19200, 7142, 7004}, BaudCase{14400, 7190, 7006},
    BaudCase{9600, 7285, 7009}, BaudCase{4800, 7570, 7018}, BaudCase{2400, 8141, 7037},
    BaudCase{1200, 9283, 7075}, BaudCase{600, 11566, 7150}),
    [](const auto& info) { return std::to_string(info.param.baud); });

TEST_F(ApplyFlowsTest, RestoreAt115200CountsFromTheSendEvenWhenTheReplyComesLater)
{
    flows.SpeedButton6Click();
    clock.Advance(3000);
    Arrive(ToBytes({0x1B, 0x42}));
    clock.Advance(3999);
    EXPECT_EQ(flowHost.toggles, 0);
    clock.Advance(1);
    ASSERT_EQ(flowHost.toggleTimes, std::vector<uint64_t>{7000});
}

TEST_F(ApplyFlowsTest, OnEthernetTheMoveComesSevenSecondsAfterTheXMessageWithOrWithoutAReply)
{
    for (bool reply : {false, true}) {
        host.interfaceType = kInterfaceEthernet;
        flowHost.toggleTimes.clear();
        flowHost.baudText = "";  // never read on Ethernet
        flows.SpeedButton5Click();
        clock.Advance(1000);
        const uint64_t sent = clock.Now();
        if (reply) {
            clock.Advance(300);
            Arrive(ToBytes({0x1B, 0x42}));
        }
        clock.Advance(20000);
        ASSERT_EQ(flowHost.toggleTimes.size(), 1u) << reply;
        EXPECT_EQ(flowHost.toggleTimes[0] - sent, 7000u) << reply;
    }
}

TEST_F(ApplyFlowsTest, OnlyAReplyBeginning1B42CountsAsTheRestartReply)
{
    flows.SpeedButton6Click();
    Arrive(ToBytes({0x42, 0x1B}));
    EXPECT_FALSE(sequencer.Idle());
    EXPECT_EQ(sequencer.ReplyLength, 2u);
}

TEST_F(ApplyFlowsTest, TheMoveStopsTheWatchdogCopiesTheParametersAndTogglesOnce)
{
    flows.SpeedButton6Click();
    Arrive(ToBytes({0x1B, 0x42}));
    clock.Advance(6950);
    sequencer.ArmWatchdog();
    host.events.clear();
    clock.Advance(50);
    EXPECT_EQ(host.events, (std::vector<std::string>{"Copy", "Toggle"}));
    EXPECT_FALSE(timer1->Enabled());
    EXPECT_FALSE(timer2->Enabled());
    clock.Advance(60000);
    EXPECT_EQ(flowHost.toggles, 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST(RestartWait, IntegerDivisionOfTheWireTime)
{
    EXPECT_EQ(TApplyFlows::RestartWaitMs(kInterfaceRs232, 265, 9600), 7285u);
    EXPECT_EQ(TApplyFlows::RestartWaitMs(kInterfaceRs232, 0, 9600), 7009u);
    EXPECT_EQ(TApplyFlows::RestartWaitMs(kInterfaceEthernet, 265, 9600), 7000u);
    EXPECT_EQ(TApplyFlows::RestartWaitMs(-1, 265, 600), 11566u);
}

} // namespace
} // namespace krn310::test
