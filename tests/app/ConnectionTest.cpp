#include "PrinterFixture.h"

#include <termios.h>

#include <filesystem>

namespace krn310::test {
namespace {

using ConnectionTest = PrinterFixture;

size_t OpenDescriptors()
{
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// A loopback port that nobody listens on any more.
uint16_t RefusedPort()
{
    sim::Options options;
    options.tcp = true;
    sim::Simulator gone(options);
    gone.Start();
    const uint16_t port = gone.TcpPort();
    gone.Stop();
    return port;
}

TEST_F(ConnectionTest, EthernetConnectReadsEverythingThenAClickDisconnects)
{
    StartPrinter();
    GivePrinterDistinctValues();
    ChooseEthernet(printer->TcpPort());
    const ExpectedViews expected = ViewsFromPrinterBlocks();

    bool hiddenWhenTheSocketAnswered = false;
    const TZSocket::TNotifyEvent answer = form->ZSocket1.OnConnect;
    form->ZSocket1.OnConnect = [&, answer](TZSocket* sender) {
        hiddenWhenTheSocketAnswered = !Header()->isVisible();
        answer(sender);
    };

    ClickHeaderSection();
    EXPECT_FALSE(Header()->isVisible());
    ASSERT_TRUE(WaitForRead());
    EXPECT_TRUE(hiddenWhenTheSocketAnswered);
    ExpectConnectedHeader();
    EXPECT_EQ(Commands(), kReadAllCommands);
    ExpectEverythingRead(expected);
    EXPECT_TRUE(boxes.shown.empty());

    ClickHeaderSection();
    ExpectDisconnectedHeader();
    ExpectViewsEnabled(false);
    EXPECT_NE(form->ZSocket1.State(), kSocketConnected);
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConnectionTest, SerialConnectReleasesTheQueuesOpensAtTheBaudAndReadsEverything)
{
    StartPrinter(true);
    GivePrinterDistinctValues();
    const std::string portText = PtyName() + ":";
    BindQueuesTo(portText);
    ChooseSerialPort(PtyName(), QStringLiteral("38400"), 0);
    const ExpectedViews expected = ViewsFromPrinterBlocks();

    std::vector<bool> openAtRebinding;
    spooler.OnSetPrinterPort = [&](const std::string&, const std::string&) {
        openAtRebinding.push_back(form->ZComm1.Connected() != 0);
    };

    ClickHeaderSection();
    ASSERT_NE(form->ZComm1.Connected(), 0);
    EXPECT_EQ(form->ZComm1.Port, printer->PtyPath());
    EXPECT_EQ(spooler.Writes, (decltype(spooler.Writes){{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}}));
    EXPECT_EQ(openAtRebinding, (std::vector<bool>{false, false}));
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{"FILE:", "lp0:", "FILE:"}));

    termios line{};
    ASSERT_EQ(tcgetattr(form->ZComm1.PortHandle(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), speed_t(B38400));
    EXPECT_EQ(cfgetispeed(&line), speed_t(B38400));
    EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);

    ASSERT_TRUE(WaitForRead());
    ExpectConnectedHeader();
    EXPECT_EQ(Commands(), kReadAllCommands);
    ExpectEverythingRead(expected);

    spooler.Writes.clear();
    openAtRebinding.clear();
    ClickHeaderSection();
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_EQ(spooler.Writes, (decltype(spooler.Writes){{"Receipt", portText}, {"Kitchen", portText}}));
    // Given back while the program still holds the port.
    EXPECT_EQ(openAtRebinding, (std::vector<bool>{true, true}));
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{portText, "lp0:", portText}));
    EXPECT_EQ(form->HeldPortPrinters, nullptr);
    ExpectDisconnectedHeader();
    ExpectViewsEnabled(false);
    EXPECT_TRUE(boxes.shown.empty());
}

struct SilenceCase {
    const char* name;
    int interfaceType;
};

class SilentPrinterTest : public PrinterFixture, public ::testing::WithParamInterface<SilenceCase> {};

TEST_P(SilentPrinterTest, WatchdogTellsTheOperatorAndLeavesTheLinkClosed)
{
    StartPrinter(true);
    printer->SetFaults(sim::Faults{.silent = true});
    const std::string portText = PtyName() + ":";
    BindQueuesTo(portText);
    if (GetParam().interfaceType == kInterfaceEthernet)
        ChooseEthernet(printer->TcpPort());
    else
        ChooseSerialPort(PtyName());

    ClickHeaderSection();
    ASSERT_TRUE(RunUntil([&] { return !boxes.shown.empty(); }, 20000));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Принтер не отвечает!!!!");
    EXPECT_EQ(boxes.shown[0].kind, MessageBoxKind::Plain);
    EXPECT_EQ(Commands(), std::vector<Bytes>{kModelName});

    ExpectDisconnectedHeader();
    ExpectViewsEnabled(false);
    EXPECT_TRUE(form->Sequencer.Idle());
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_NE(form->ZSocket1.State(), kSocketConnected);
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_EQ(form->HeldPortPrinters, nullptr);
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{portText, "lp0:", portText}));

    // Once the printer answers again, the next click connects and reads.
    printer->SetFaults(sim::Faults{});
    printer->ClearLog();
    ClickHeaderSection();
    ASSERT_TRUE(WaitForRead());
    EXPECT_EQ(Commands(), kReadAllCommands);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Interfaces, SilentPrinterTest,
                         ::testing::Values(SilenceCase{"Ethernet", kInterfaceEthernet},
                                           SilenceCase{"Rs232", kInterfaceRs232}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectionTest, RefusedPortShowsTheDisconnectedStateAndTheNextClickConnectsAfresh)
{
    StartPrinter();
    ChooseEthernet(RefusedPort());

    const auto refusedClick = [&] {
        ClickHeaderSection();
        ASSERT_TRUE(RunUntil([&] { return Header()->isVisible(); }));
        EXPECT_NE(form->ZSocket1.State(), kSocketConnected);
        ExpectDisconnectedHeader();
        ExpectViewsEnabled(false);
    };
    refusedClick();
    const size_t afterFirstRefusal = OpenDescriptors();
    for (int attempt = 0; attempt < 3; ++attempt)
        refusedClick();
    // Each attempt gives the failed socket of the one before back.
    EXPECT_EQ(OpenDescriptors(), afterFirstRefusal);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(form->Sequencer.Idle());

    form->Connection.Edit9->setText(QString::number(printer->TcpPort()));
    ClickHeaderSection();
    ASSERT_TRUE(WaitForRead());
    EXPECT_EQ(form->ZSocket1.State(), kSocketConnected);
    EXPECT_EQ(Commands(), kReadAllCommands);
    EXPECT_TRUE(boxes.shown.empty());
}

struct OpenFailureCase {
    const char* name;
    const char* port;  // null: the port list is empty
};

class SerialOpenFailureTest : public PrinterFixture, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(SerialOpenFailureTest, TellsTheOperatorAndGivesTheQueuesBack)
{
    std::string portText = ":";
    if (GetParam().port) {
        portText = std::string(GetParam().port) + ":";
        ChooseSerialPort(GetParam().port);
    } else {
        ChooseInterface(kInterfaceRs232);
        ASSERT_EQ(form->Connection.ComboBox2->ItemIndex(), -1);
    }
    BindQueuesTo(portText);

    ClickHeaderSection();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Невозможно установить соединение!!!!");
    EXPECT_EQ(boxes.shown[0].kind, MessageBoxKind::Plain);
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_EQ(form->HeldPortPrinters, nullptr);
    EXPECT_EQ(spooler.Writes, (decltype(spooler.Writes){{"Receipt", "FILE:"},
                                                         {"Kitchen", "FILE:"},
                                                         {"Receipt", portText},
                                                         {"Kitchen", portText}}));
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{portText, "lp0:", portText}));
    // The header keeps its state; nothing is read.
    EXPECT_EQ(HeaderText(), QStringLiteral("Установить Соединение"));
    EXPECT_EQ(Header()->SectionImageIndex(0), 0);
    EXPECT_TRUE(form->Sequencer.Idle());
    EXPECT_FALSE(form->Timer1.Enabled());
}

INSTANTIATE_TEST_SUITE_P(Ports, SerialOpenFailureTest,
                         ::testing::Values(OpenFailureCase{"NoSuchDevice", "ttyKRN-none"},
                                           OpenFailureCase{"NoPortSelected", nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConnectionTest, QueuesReleasedAtTheConnectComeBackWhenThePortListChangedMeanwhile)
{
    StartPrinter(true);
    const std::string portText = PtyName() + ":";
    spooler.Printers = {{"Receipt", portText}, {"Office", "ttyS0:"}};
    ChooseSerialPort(PtyName());
    ClickHeaderSection();
    ASSERT_TRUE(WaitForRead());
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{"FILE:", "ttyS0:"}));

    TComboBox* ports = form->Connection.ComboBox2;
    ports->AddItem(QStringLiteral("ttyS0"));
    ports->SetItemIndex(ports->Items().indexOf(QStringLiteral("ttyS0")));
    ClickHeaderSection();
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{portText, "ttyS0:"}));
    EXPECT_EQ(spooler.Writes,
              (decltype(spooler.Writes){{"Receipt", "FILE:"}, {"Receipt", portText}}));
    EXPECT_EQ(form->HeldPortPrinters, nullptr);
    ExpectDisconnectedHeader();
}

TEST_F(ConnectionTest, ReconnectToggleOverEthernetReadsOnlySet2)
{
    StartPrinter();
    ChooseEthernet(printer->TcpPort());
    form->ReconnectToggle();
    EXPECT_TRUE(Header()->isVisible());
    ASSERT_TRUE(WaitForRead());
    ExpectConnectedHeader();
    EXPECT_EQ(Commands(), (std::vector<Bytes>{kModelName, kMakerName, kFirmwareVersion, kSerialNumber,
                                              kPrinterStatus, kOfflineStatus, kPaperStatus, kReadSet2Printer,
                                              kReadSet2Network}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConnectionTest, EthernetConnectWhileTheSerialLinkIsOpenLeavesThePortOpen)
{
    StartPrinter(true);
    BindQueuesTo(PtyName() + ":");
    ChooseSerialPort(PtyName());
    ClickHeaderSection();
    ASSERT_TRUE(WaitForRead());
    printer->ClearLog();

    ChooseEthernet(printer->TcpPort());
    ClickHeaderSection();
    EXPECT_FALSE(Header()->isVisible());
    ASSERT_TRUE(WaitForRead());
    EXPECT_EQ(form->ZSocket1.State(), kSocketConnected);
    EXPECT_EQ(Commands(), kReadAllCommands);
    EXPECT_NE(form->ZComm1.Connected(), 0);
    EXPECT_NE(form->HeldPortPrinters, nullptr);
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{"FILE:", "lp0:", "FILE:"}));
}

TEST_F(ConnectionTest, ClosingWhileConnectedOverRs232GivesTheQueuesBackClosesThePortThenSaves)
{
    StartPrinter(true);
    const std::string portText = PtyName() + ":";
    BindQueuesTo(portText);
    ChooseSerialPort(PtyName());
    ClickHeaderSection();
    ASSERT_TRUE(WaitForRead());

    struct Rebinding {
        std::string port;
        bool portOpen;
        bool configSaved;
    };
    std::vector<Rebinding> rebindings;
    spooler.OnSetPrinterPort = [&](const std::string&, const std::string& port) {
        rebindings.push_back({port, form->ZComm1.Connected() != 0, std::filesystem::exists(ConfigFile())});
    };
    ASSERT_FALSE(std::filesystem::exists(ConfigFile()));
    EXPECT_TRUE(form->close());

    ASSERT_EQ(rebindings.size(), 2u);
    for (const Rebinding& r : rebindings) {
        EXPECT_EQ(r.port, portText);
        EXPECT_TRUE(r.portOpen);
        EXPECT_FALSE(r.configSaved);
    }
    EXPECT_EQ(QueuePorts(), (std::vector<std::string>{portText, "lp0:", portText}));
    EXPECT_EQ(form->HeldPortPrinters, nullptr);
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_TRUE(std::filesystem::exists(ConfigFile()));
}

} // namespace
} // namespace krn310::test
