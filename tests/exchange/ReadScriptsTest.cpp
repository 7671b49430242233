#include "tests/exchange/ExchangeFixture.h"

#include "exchange/Commands.h"

namespace krn310::test {
namespace {

template <size_t N>
Bytes B(const std::array<uint8_t, N>& command)
{
    return Bytes(command.begin(), command.end());
}

const std::vector<Bytes> kReadAllCommands = {
    ToBytes({0x1D, 0x49, 0x43}), ToBytes({0x1D, 0x49, 0x42}), ToBytes({0x1D, 0x49, 0x41}),
    ToBytes({0x1D, 0x49, 0x44}), ToBytes({0x10, 0x04, 0x01}), ToBytes({0x10, 0x04, 0x02}),
    ToBytes({0x10, 0x04, 0x04}), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74}),
    ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x75}), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x78}),
};

TEST(Commands, WriteAndRestoreHeadsAndTrailers)
{
    EXPECT_EQ(B(WriteSet1Command), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x74}));
    EXPECT_EQ(B(WriteSet2PrinterCommand), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x75}));
    EXPECT_EQ(B(WriteSet2NetworkCommand), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x78}));
    EXPECT_EQ(B(FactorySet1Command), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x76}));
    EXPECT_EQ(B(FactorySet2Command), ToBytes({0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x77}));
    EXPECT_EQ(B(InitializeCommand), ToBytes({0x1B, 0x40}));
    EXPECT_EQ(B(RestartCommand), ToBytes({0x1B, 0x42}));
}

struct LinkCase {
    const char* name;
    int interfaceType;
};

class ReadAllOverEachLink : public ExchangeTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(ReadAllOverEachLink, SendsTheTenCommandsEachAfterThePreviousReplyAndFillsEverything)
{
    host.interfaceType = GetParam().interfaceType;
    host.socketState = kSocketConnected;
    sequencer.ArmWatchdog();
    sequencer.RunScript(scripts.ReadAllScript);
    for (size_t i = 0; i < kReadAllCommands.size(); ++i) {
        ASSERT_EQ(host.Sent().size(), i + 1) << "command " << i << " went out before its turn";
        EXPECT_EQ(host.Sent()[i], kReadAllCommands[i]);
        ASSERT_TRUE(AnswerNext());
    }
    EXPECT_EQ(host.Sent().size(), kReadAllCommands.size());

    EXPECT_EQ(host.Cell(1, 0), "KRN-310");
    EXPECT_EQ(host.Cell(1, 1), "Maker");
    EXPECT_EQ(host.Cell(1, 2), "1.07");
    EXPECT_EQ(host.Cell(1, 3), "SN0001");
    EXPECT_EQ(host.Cell(0, 8), "Денежный ящик");
    EXPECT_EQ(host.Cell(1, 8), "Закрыт");
    EXPECT_EQ(host.Cell(0, 9), "Крышка бумажного отсека");
    EXPECT_EQ(host.Cell(1, 9), "Закрыт");
    EXPECT_EQ(host.Cell(0, 10), "Состояние принтера");
    EXPECT_EQ(host.Cell(1, 10), "Норма");
    EXPECT_EQ(host.Cell(0, 11), "Датчик близкого конца бумаги");
    EXPECT_EQ(host.Cell(1, 11), "Норма");
    EXPECT_EQ(host.Cell(0, 12), "Датчик наличия бумаги");
    EXPECT_EQ(host.Cell(1, 12), "Норма");

    ASSERT_EQ(host.decoded.size(), 3u);
    const char letters[] = {'t', 'u', 'x'};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(host.decoded[i].first, letters[i]);
        const auto& block = printer.blocks.at(letters[i]);
        EXPECT_EQ(host.decoded[i].second, Bytes(block.begin(), block.end()));
    }
    // Once by the 't' step, once at the end.
    EXPECT_EQ(host.enables, 2);
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_FALSE(timer1->Enabled());
    EXPECT_EQ(sequencer.ReplyLength, 0u);
}

INSTANTIATE_TEST_SUITE_P(Links, ReadAllOverEachLink,
    ::testing::Values(LinkCase{"Serial", kInterfaceRs232}, LinkCase{"Socket", kInterfaceEthernet}),
    [](const auto& info) { return std::string(info.param.name); });

struct ScriptCase {
    const char* name;
    const StepScript TReadScripts::*script;
    std::vector<size_t> commandsOfReadAll;  // indices into the ten commands
    std::string decodedLetters;
};

class EachReadScript : public ExchangeTest, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(EachReadScript, SendsItsCommandsInOrderAndEndsWithTheViewsEnabled)
{
    sequencer.RunScript(scripts.*(GetParam().script));
    AnswerAll();
    std::vector<Bytes> expected;
    for (size_t i : GetParam().commandsOfReadAll)
        expected.push_back(kReadAllCommands[i]);
    EXPECT_EQ(host.serialWritten, expected);
    std::string letters;
    for (const auto& d : host.decoded)
        letters += d.first;
    EXPECT_EQ(letters, GetParam().decodedLetters);
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_FALSE(timer1->Enabled());
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(host.events.back(), "EnableSettings");
}

INSTANTIATE_TEST_SUITE_P(Scripts, EachReadScript,
    ::testing::Values(
        ScriptCase{"ReadAll", &TReadScripts::ReadAllScript, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "tux"},
        ScriptCase{"ReadSet1", &TReadScripts::ReadSet1Script, {0, 1, 2, 3, 4, 5, 6, 7}, "t"},
        ScriptCase{"ReadSet2", &TReadScripts::ReadSet2Script, {0, 1, 2, 3, 4, 5, 6, 8, 9}, "ux"},
        ScriptCase{"ReadInfoMakerFirst", &TReadScripts::ReadInfoScript, {1, 0, 2, 3, 4, 5, 6}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadScriptLengths, EntriesIncludingTheNullEnd)
{
    ManualClock clock;
    auto timer = clock.CreateTimer(100);
    FakeExchangeHost host;
    TSequencer sequencer(host, *timer);
    TReadScripts scripts(sequencer, host);
    EXPECT_EQ(scripts.ReadAllScript.size(), 22u);
    EXPECT_EQ(scripts.ReadSet1Script.size(), 18u);
    EXPECT_EQ(scripts.ReadSet2Script.size(), 20u);
    EXPECT_EQ(scripts.ReadInfoScript.size(), 16u);
    EXPECT_FALSE(scripts.ReadAllScript.back());
}

TEST_F(ExchangeTest, IdentificationReplyIsDecodedOnlyWhenItsZeroByteArrives)
{
    sequencer.RunScript(scripts.ReadAllScript);
    Arrive(ToBytes({0x5F, 'A', 'B'}));
    Arrive(ToBytes({'C'}));
    EXPECT_EQ(host.Cell(1, 0), "");
    EXPECT_EQ(sequencer.ReplyLength, 4u);
    EXPECT_EQ(host.serialWritten.size(), 1u);
    Arrive(ToBytes({0x00}));
    EXPECT_EQ(host.Cell(1, 0), "ABC");
    EXPECT_EQ(sequencer.ReplyLength, 0u);
    EXPECT_EQ(host.serialWritten.size(), 2u);
}

TEST_F(ExchangeTest, SurplusBytesAfterAStatusByteAreDiscarded)
{
    sequencer.RunScript(scripts.ReadAllScript);
    for (int i = 0; i < 4; ++i)
        AnswerNext();
    ASSERT_EQ(host.serialWritten.back(), kReadAllCommands[4]);
    answered = host.serialWritten.size();
    Arrive(Bytes(12, 0x04));
    EXPECT_EQ(host.Cell(1, 8), "Закрыт");
    EXPECT_EQ(sequencer.ReplyLength, 0u);
    EXPECT_EQ(host.serialWritten.back(), kReadAllCommands[5]);
}

TEST_F(ExchangeTest, A300ByteBlockAnswerIsDecodedFromItsFirst256)
{
    sequencer.RunScript(scripts.ReadSet1Script);
    for (int i = 0; i < 7; ++i)
        AnswerNext();
    ASSERT_EQ(host.serialWritten.back(), kReadAllCommands[7]);
    answered = host.serialWritten.size();
    Bytes reply(300);
    for (size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<uint8_t>(i);
    Arrive(Bytes(reply.begin(), reply.begin() + 200));
    EXPECT_TRUE(host.decoded.empty());
    Arrive(Bytes(reply.begin() + 200, reply.end()));
    ASSERT_EQ(host.decoded.size(), 1u);
    EXPECT_EQ(host.decoded[0].second, Bytes(reply.begin(), reply.begin() + 256));
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_EQ(sequencer.ReplyLength, 0u);
}

TEST_F(ExchangeTest, StatusReadsAlwaysWriteRows8To12)
{
    sequencer.RunScript(scripts.ReadInfoScript);
    AnswerAll();
    sequencer.RunScript(scripts.ReadInfoScript);
    AnswerAll();
    for (int row = 8; row <= 12; ++row) {
        EXPECT_EQ((host.cellWrites[{0, row}]), 2) << row;
        EXPECT_EQ((host.cellWrites[{1, row}]), 2) << row;
    }
    for (int row = 13; row < 18; ++row)
        EXPECT_EQ(host.cells.count({0, row}), 0u) << row;
}

TEST_F(ExchangeTest, InformationRequestDoesNothingWithoutAnOpenLink)
{
    struct Case {
        int interfaceType;
        bool serialConnected;
        int socketState;
    } cases[] = {{kInterfaceRs232, false, kSocketConnected}, {kInterfaceEthernet, true, 1}, {-1, true, kSocketConnected}};
    for (const Case& c : cases) {
        host.interfaceType = c.interfaceType;
        host.serialConnected = c.serialConnected;
        host.socketState = c.socketState;
        scripts.SpeedButton2Click();
        EXPECT_TRUE(host.serialWritten.empty());
        EXPECT_TRUE(host.socketSent.empty());
        EXPECT_FALSE(timer1->Enabled());
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST_F(ExchangeTest, InformationRequestDuringTheFirstReadTakesOverAndStillEnablesTheViews)
{
    sequencer.RunScript(scripts.ReadAllScript);
    AnswerNext();
    AnswerNext();
    scripts.SpeedButton2Click();
    EXPECT_EQ(host.serialWritten.back(), kReadAllCommands[1]) << "the information read asks for the maker first";
    answered = host.serialWritten.size() - 1;
    AnswerAll();
    EXPECT_TRUE(host.decoded.empty());
    EXPECT_EQ(host.enables, 1);
    EXPECT_TRUE(sequencer.Idle());
    EXPECT_FALSE(timer1->Enabled());
}

} // namespace
} // namespace krn310::test
