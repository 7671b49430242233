#include "settings/BlockDecodeResult.h"
#include "tests/flows/FlowFixture.h"

namespace krn310::test {
namespace {

using ApplyOverTcp = FlowFixture;

TEST_F(ApplyOverTcp, Set2WithANewPortMovesThePrinterAndTheWindowReadsItThere)
{
    StartTcpPrinter();
    ConnectAndWaitForRead();
    const uint16_t oldPort = printer->TcpPort();
    const uint16_t newPort = FreePort();
    ASSERT_NE(newPort, oldPort);

    ConnectionParamsView& p = form->ConnectionParams;
    ShowView(kConnectionParamsView);
    EXPECT_EQ(QStringList({p.Edit11->text(), p.Edit12->text(), p.Edit13->text(), p.Edit14->text()}),
              QStringList({"127", "0", "0", "1"}));
    EXPECT_EQ(p.Edit23->text(), QString::number(oldPort));
    Type(p.Edit23, QString::number(newPort));
    ASSERT_EQ(p.Edit23->text(), QString::number(newPort));
    printer->ClearLog();

    Press(form->Apply.SpeedButton5);
    EXPECT_TRUE(AllViews(false));
    ASSERT_TRUE(WaitForReceived(1));
    EXPECT_EQ(Received()[0], Message(UserSetup(kWrite, 'u'), form->Images.Set2Printer, {}));
    EXPECT_EQ(Received()[0].size(), 263u);
    EXPECT_TRUE(form->Timer4.Enabled());
    EXPECT_TRUE(AllViews(false));

    // The 'x' write ends in ESC B: the printer answers and starts again at
    // the port of its new block.
    ASSERT_TRUE(RunUntil([&] { return printer->Restarts() == 1; }, kFlowLimitMs));
    const std::vector<Bytes> sent = Received();
    ASSERT_EQ(sent.size(), 3u);
    const Bytes networkWrite = Joined(sent[1], sent[2]);
    EXPECT_EQ(networkWrite, Message(UserSetup(kWrite, 'x'), form->Images.Set2Network, kRestart));
    ASSERT_EQ(networkWrite.size(), 265u);
    EXPECT_EQ(networkWrite[7 + 12], newPort & 0xFF);
    EXPECT_EQ(networkWrite[7 + 13], newPort >> 8);
    EXPECT_EQ(printer->TcpPort(), newPort);
    EXPECT_TRUE(AllViews(false));
    // Until Timer2 the connection view keeps the old port.
    EXPECT_EQ(form->Connection.Edit9->text(), QString::number(oldPort));

    // The socket still counts as connected, so the toggle only closes it.
    ASSERT_TRUE(RunUntil([&] { return HeaderText() == Str(IDS_CONNECT); }, kFlowLimitMs));
    EXPECT_EQ(form->Connection.Edit8->text(), "127.0.0.1");
    EXPECT_EQ(form->Connection.Edit9->text(), QString::number(newPort));
    EXPECT_EQ(form->ZSocket1.State(), socket_closed);
    EXPECT_FALSE(form->Timer2.Enabled());
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_TRUE(AllViews(false));
    EXPECT_TRUE(boxes.shown.empty());

    printer->ClearLog();
    ConnectAndWaitForRead();
    EXPECT_EQ(Received(), ReadCommands({'t', 'u', 'x'}));
    EXPECT_EQ(printer->TcpPort(), newPort);
    EXPECT_EQ(p.Edit23->text(), QString::number(newPort));
    EXPECT_EQ(GridValue(kSet2GridRow), Str(IDS_USER_VALUES));
}

// A printer that restarts without answering ESC B: the watchdog closes the
// link, and Timer2, still running, then opens it at the new port itself.
TEST_F(ApplyOverTcp, Set2WithoutARestartReplyReconnectsAtTheNewPortAfterTheWatchdog)
{
    StartTcpPrinter();
    ConnectAndWaitForRead();
    sim::Faults noRestartReply;
    noRestartReply.silentOnBytes = kRestart;
    printer->SetFaults(noRestartReply);
    const uint16_t newPort = FreePort();
    ShowView(kConnectionParamsView);
    Type(form->ConnectionParams.Edit23, QString::number(newPort));
    printer->ClearLog();

    Press(form->Apply.SpeedButton5);
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, kFlowLimitMs));
    EXPECT_EQ(boxes.shown[0].text, LoadStr(IDS_PRINTER_SILENT));
    EXPECT_EQ(printer->Restarts(), 1);
    EXPECT_EQ(printer->TcpPort(), newPort);
    EXPECT_EQ(form->ZSocket1.State(), socket_closed);
    EXPECT_EQ(HeaderText(), Str(IDS_CONNECT));
    EXPECT_TRUE(form->Timer2.Enabled());
    printer->ClearLog();

    ASSERT_TRUE(RunUntil([&] { return ShowsConnected() && form->Sequencer.Idle() && AllViews(true); },
                         kFlowLimitMs));
    EXPECT_EQ(Received(), ReadCommands({'u', 'x'}));
    EXPECT_EQ(form->Connection.Edit9->text(), QString::number(newPort));
    EXPECT_EQ(form->ConnectionParams.Edit23->text(), QString::number(newPort));
    EXPECT_FALSE(form->Timer2.Enabled());
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(ApplyOverTcp, Set1WritesTheBlockAndReadsSet1AgainASecondLater)
{
    StartTcpPrinter();
    ConnectAndWaitForRead();
    ShowView(kFontView);
    Type(form->FontParams.Edit7, "3");
    Choose(form->FontParams.ComboBox12, 2);
    ASSERT_EQ(form->FontParams.ComboBox12->ItemIndex(), 2);
    printer->ClearLog();

    Press(form->Apply.SpeedButton3);
    EXPECT_TRUE(AllViews(false));
    EXPECT_TRUE(form->Sequencer.Idle());
    EXPECT_TRUE(form->Timer3.Enabled());

    const std::vector<Bytes> reread = ReadCommands({'t'});
    ASSERT_TRUE(RunUntil([&] { return Received().size() >= 2 + reread.size() && form->Sequencer.Idle() &&
                                      AllViews(true); },
                         kFlowLimitMs));
    const std::vector<Bytes> sent = Received();
    const Bytes write = Joined(sent[0], sent[1]);
    EXPECT_EQ(write, Message(UserSetup(kWrite, 't'), form->Images.Set1, kInitialize));
    EXPECT_EQ(write.size(), 265u);
    EXPECT_EQ(std::vector<Bytes>(sent.begin() + 2, sent.end()), reread);

    const auto stored = printer->Block('t');
    EXPECT_EQ(Le32(stored, 0), 1u);
    EXPECT_EQ(Le32(stored, 4), 3u);
    EXPECT_EQ(Le32(stored, 8), 2u);
    EXPECT_EQ(form->FontParams.Edit7->text(), "3");
    EXPECT_EQ(form->FontParams.ComboBox12->ItemIndex(), 2);
    EXPECT_EQ(GridValue(kSet1GridRow), Str(IDS_USER_VALUES));
    EXPECT_FALSE(form->Timer3.Enabled());
    EXPECT_TRUE(ShowsConnected());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ApplyOverTcp, Set1FactoryValuesReadEverythingAtOnceThenSet1)
{
    StartTcpPrinter();
    ConnectAndWaitForRead();
    EXPECT_EQ(form->Barcode.Edit4->text(), "100");
    ShowView(kFontView);
    printer->ClearLog();

    Press(form->Apply.SpeedButton4);
    EXPECT_TRUE(AllViews(false));
    EXPECT_TRUE(form->Timer3.Enabled());
    // The full read has started at once: its first request is out and its
    // first reply awaited.
    EXPECT_EQ(form->Sequencer.ScriptCursor, form->Reads.ReadAllScript.data() + 1);

    ASSERT_TRUE(RunUntil([&] { return !form->Timer3.Enabled() && form->Sequencer.Idle() && AllViews(true); },
                         kFlowLimitMs));
    const std::vector<Bytes> sent = Received();
    const std::vector<Bytes> readAll = ReadCommands({'t', 'u', 'x'});
    const std::vector<Bytes> reread = ReadCommands({'t'});
    ASSERT_GE(sent.size(), 2 + 1 + reread.size());
    EXPECT_EQ(Joined(sent[0], sent[1]), Joined(UserSetup(kWrite, 'v'), kInitialize));
    // Whatever the full read reached in its second is followed by the
    // re-read of set 1, which ends the flow.
    const std::vector<Bytes> between(sent.begin() + 2, sent.end() - static_cast<std::ptrdiff_t>(reread.size()));
    ASSERT_LE(between.size(), readAll.size());
    EXPECT_FALSE(between.empty());
    EXPECT_TRUE(std::equal(between.begin(), between.end(), readAll.begin()));
    EXPECT_EQ(std::vector<Bytes>(sent.end() - static_cast<std::ptrdiff_t>(reread.size()), sent.end()), reread);

    EXPECT_EQ(printer->Block('t'), sim::FactoryBlock('t'));
    EXPECT_EQ(GridValue(kSet1GridRow), Str(IDS_FACTORY_VALUES));
    EXPECT_EQ(form->FontParams.Edit7->text(), "0");
    EXPECT_EQ(form->Positioning.Edit2->text(), "576");
    EXPECT_EQ(form->Barcode.Edit4->text(), "160");
    EXPECT_TRUE(ShowsConnected());
    EXPECT_TRUE(boxes.shown.empty());
}

// After a restore of set 2 the printer restarts; the window's toggle either
// closes the link it still holds, or, when the operator has disconnected in
// the pause, opens it again itself and reads only set 2.
struct Set2FactoryCase {
    const char* name;
    bool disconnectInThePause;
};

class Set2FactoryOverTcp : public FlowFixture, public ::testing::WithParamInterface<Set2FactoryCase> {};

TEST_P(Set2FactoryOverTcp, RestartsThePrinterAndReadsItsFactoryValues)
{
    StartTcpPrinter();
    ConnectAndWaitForRead();
    EXPECT_EQ(form->PrinterSettings1.TrackBar1->Position(), 80);
    const uint16_t port = printer->TcpPort();
    ShowView(kPrinterSettings1View);
    printer->ClearLog();

    Press(form->Apply.SpeedButton6);
    EXPECT_TRUE(AllViews(false));
    EXPECT_TRUE(form->Timer2.Enabled());
    ASSERT_TRUE(RunUntil([&] { return printer->Restarts() == 1 && form->Sequencer.Idle(); }, kFlowLimitMs));
    const std::vector<Bytes> sent = Received();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Joined(sent[0], sent[1]), Joined(UserSetup(kWrite, 'w'), kRestart));
    EXPECT_EQ(printer->Block('u'), sim::FactoryBlock('u'));
    EXPECT_EQ(printer->TcpPort(), port);
    EXPECT_TRUE(form->Timer2.Enabled());
    EXPECT_TRUE(AllViews(false));
    printer->ClearLog();

    if (GetParam().disconnectInThePause) {
        ClickHeaderSection();
        EXPECT_EQ(HeaderText(), Str(IDS_CONNECT));
        EXPECT_EQ(form->ZSocket1.State(), socket_closed);
        // Timer2 finds the link closed and opens it with the copied values.
        ASSERT_TRUE(RunUntil([&] { return ShowsConnected() && form->Sequencer.Idle() && AllViews(true); },
                             kFlowLimitMs));
        EXPECT_EQ(Received(), ReadCommands({'u', 'x'}));
    } else {
        ASSERT_TRUE(RunUntil([&] { return HeaderText() == Str(IDS_CONNECT); }, kFlowLimitMs));
        EXPECT_EQ(form->ZSocket1.State(), socket_closed);
        EXPECT_TRUE(AllViews(false));
        EXPECT_TRUE(Received().empty());
        ConnectAndWaitForRead();
        EXPECT_EQ(Received(), ReadCommands({'t', 'u', 'x'}));
    }
    EXPECT_FALSE(form->Timer2.Enabled());
    EXPECT_EQ(form->Connection.Edit8->text(), "127.0.0.1");
    EXPECT_EQ(form->Connection.Edit9->text(), QString::number(port));
    EXPECT_EQ(GridValue(kSet2GridRow), Str(IDS_FACTORY_VALUES));
    EXPECT_EQ(form->PrinterSettings1.TrackBar1->Position(), 100);
    EXPECT_EQ(form->ConnectionParams.ComboBox17->ItemIndex(), 1);
    EXPECT_EQ(form->ConnectionParams.Edit26->text(), "00");
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Toggle, Set2FactoryOverTcp,
                         ::testing::Values(Set2FactoryCase{"LinkLeftOpen", false},
                                           Set2FactoryCase{"OperatorDisconnected", true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace krn310::test
