#include "tests/exchange/ExchangeFixture.h"

namespace krn310::test {
namespace {

class WatchdogTest : public ExchangeTest {
protected:
    void StartReadOn(int link)
    {
        host.interfaceType = link;
        sequencer.ArmWatchdog();
        sequencer.RunScript(scripts.ReadAllScript);
    }
};

TEST_F(WatchdogTest, ExpiresOnTheEleventhTickAfterASendThatStartedIt)
{
    StartReadOn(kInterfaceRs232);
    timer1->SetEnabled(false);
    const uint8_t cmd[] = {0x10, 0x04, 0x01};
    sequencer.SendToPrinter(cmd, 3);
    clock.Advance(1099);
    EXPECT_TRUE(host.messages.empty());
    clock.Advance(1);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(WatchdogTest, AReloadWhileRunningExpiresBetweenOneAndOnePointOneSecondsLater)
{
    StartReadOn(kInterfaceRs232);
    clock.Advance(50);
    sequencer.ArmWatchdog();  // the information request while a tick is pending
    clock.Advance(999);
    EXPECT_TRUE(host.messages.empty());
    clock.Advance(51);
    EXPECT_EQ(host.messages.size(), 1u) << "expired " << clock.Now() - 50 << " ms after the reload";
}

struct ExpiryCase {
    const char* name;
    int link;
    bool linkOpen;
    const char* closeEvent;  // nullptr: nothing is closed
};

class WatchdogExpiry : public WatchdogTest, public ::testing::WithParamInterface<ExpiryCase> {};

TEST_P(WatchdogExpiry, ClosesTheSelectedLinkResetsTheHeaderAndTellsTheOperator)
{
    const ExpiryCase& c = GetParam();
    host.serialConnected = c.linkOpen;
    host.socketState = c.linkOpen ? kSocketConnected : 1;
    StartReadOn(c.link);
    host.headerText = "Разорвать соединение";
    host.headerImage = 1;
    host.headerVisible = false;
    host.events.clear();
    clock.Advance(1100);

    std::vector<std::string> expected;
    if (c.closeEvent)
        expected.push_back(c.closeEvent);
    expected.insert(expected.end(), {"DisableSettings", "Header", "Message", "ShowHeader"});
    EXPECT_EQ(host.events, expected);
    EXPECT_EQ(host.headerText, "Установить соединение");
    EXPECT_EQ(host.headerImage, 0);
    EXPECT_TRUE(host.headerVisible);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Принтер не отвечает!!!!"});
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_FALSE(timer1->Enabled());

    // Arrivals after the expiry find the engine idle.
    Arrive(ToBytes({0x5F, 0x00}));
    EXPECT_TRUE(host.Cell(1, 0).empty());
}

INSTANTIATE_TEST_SUITE_P(Links, WatchdogExpiry,
    ::testing::Values(ExpiryCase{"SerialOpen", kInterfaceRs232, true, "SerialDisconnect"},
                      ExpiryCase{"SerialClosed", kInterfaceRs232, false, nullptr},
                      ExpiryCase{"SocketOpen", kInterfaceEthernet, true, "SocketClose"},
                      ExpiryCase{"SocketClosed", kInterfaceEthernet, false, nullptr},
                      ExpiryCase{"NoInterface", -1, true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WatchdogTest, AReplyThatNeverCompletesKeepsItsBytesAfterTheExpiry)
{
    StartReadOn(kInterfaceRs232);
    Arrive(ToBytes({0x5F, 'K', 'R'}));
    clock.Advance(1100);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(sequencer.ReplyLength, 3u);
    EXPECT_TRUE(host.Cell(1, 0).empty());
}

TEST_F(WatchdogTest, APrinterThatAnswersInTimeNeverTriggersIt)
{
    StartReadOn(kInterfaceRs232);
    while (AnswerNext())
        clock.Advance(900);
    clock.Advance(10000);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.serialWritten.size(), 10u);
}

} // namespace
} // namespace krn310::test
