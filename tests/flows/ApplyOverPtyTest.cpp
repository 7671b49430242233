#include "tests/flows/FlowFixture.h"

namespace krn310::test {
namespace {

// The printer's new baud rate, chosen in "Параметры соединения"; with the
// line paced the printer really answers at that speed afterwards.
struct BaudChangeCase {
    const char* name;
    bool pacing;
    const char* newBaud;
};

class ApplyOverPty : public FlowFixture, public ::testing::WithParamInterface<BaudChangeCase> {};

TEST_P(ApplyOverPty, Set2WithANewBaudRateMovesTheConnectionToIt)
{
    const BaudChangeCase& c = GetParam();
    StartPtyPrinter(c.pacing);
    ConnectAndWaitForRead();
    ASSERT_EQ(form->ZComm1.BaudRate, 115200);
    ASSERT_EQ(printer->LineBaud(), 115200u);

    TComboBox* printerBaud = form->ConnectionParams.ComboBox14;
    ShowView(kConnectionParamsView);
    EXPECT_EQ(printerBaud->Text(), "115200");
    const int newIndex = static_cast<int>(printerBaud->Items().indexOf(c.newBaud));
    Choose(printerBaud, newIndex);
    ASSERT_EQ(printerBaud->Text(), c.newBaud);
    printer->ClearLog();

    Press(form->Apply.SpeedButton5);
    EXPECT_TRUE(AllViews(false));
    ASSERT_TRUE(RunUntil([&] { return printer->Restarts() == 1 && form->Sequencer.Idle(); }, kFlowLimitMs));
    const std::vector<Bytes> sent = Received();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], Message(UserSetup(kWrite, 'u'), form->Images.Set2Printer, {}));
    EXPECT_EQ(Joined(sent[1], sent[2]), Message(UserSetup(kWrite, 'x'), form->Images.Set2Network, kRestart));
    // BaudIndex counts from 1 for 115200.
    EXPECT_EQ(Le32(printer->Block('u'), 4), static_cast<uint32_t>(newIndex + 1));
    EXPECT_EQ(printer->LineBaud(), static_cast<uint32_t>(QString(c.newBaud).toUInt()));
    EXPECT_TRUE(form->Timer2.Enabled());
    EXPECT_EQ(form->Connection.ComboBox3->Text(), "115200");

    // The serial link is still open at Timer2, so the toggle closes it.
    ASSERT_TRUE(RunUntil([&] { return HeaderText() == Str(IDS_CONNECT); }, kFlowLimitMs));
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_EQ(form->Connection.ComboBox3->Text(), c.newBaud);
    EXPECT_EQ(form->Connection.ComboBox6->ItemIndex(), form->ConnectionParams.ComboBox17->ItemIndex());
    EXPECT_FALSE(form->Timer2.Enabled());
    EXPECT_TRUE(AllViews(false));
    EXPECT_TRUE(form->HeldPortPrinters == nullptr);
    EXPECT_TRUE(boxes.shown.empty());

    printer->ClearLog();
    ConnectAndWaitForRead();
    EXPECT_EQ(form->ZComm1.BaudRate, QString(c.newBaud).toInt());
    EXPECT_EQ(Received(), ReadCommands({'t', 'u', 'x'}));
    EXPECT_EQ(printerBaud->Text(), c.newBaud);
}

INSTANTIATE_TEST_SUITE_P(Line, ApplyOverPty,
                         ::testing::Values(BaudChangeCase{"Unpaced", false, "9600"},
                                           BaudChangeCase{"PacedFrom115200", true, "57600"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace krn310::test
