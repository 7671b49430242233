#include "comm/Zcomm.h"

#include "tests/comm/PtyPair.h"
#include "tests/support/RunUntil.h"

#include <gtest/gtest.h>

#include <ctime>
#include <numeric>
#include <pthread.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>

namespace krn310 {
namespace {

using test::PtyPair;
using test::RunFor;
using test::RunUntil;
using test::WaitWithoutEvents;

std::vector<uint8_t> Bytes(size_t count)
{
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

class ZcommPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.Ok());
        comm.Port = pty.SlavePath();
        // The main window's values: no software flow control, so XON and
        // XOFF bytes are data.
        comm.CTSFlowCtl = true;
        comm.EnableParity = false;
        comm.XOuputFlowCtl = false;
        comm.XInputFlowCtl = false;
        comm.OnDataAvailable = [this](TZComm*) { ++notifications; };
    }
    void TearDown() override
    {
        if (comm.Connected())
            comm.CloseConnection();
    }

    // A handler that takes everything queued, as the sequencer's does.
    void CollectOnData()
    {
        comm.OnDataAvailable = [this](TZComm* sender) {
            ++notifications;
            unsigned char chunk[1024];
            long n;
            while ((n = sender->ReadComm(chunk, sizeof chunk)) > 0)
                received.insert(received.end(), chunk, chunk + n);
        };
    }

    termios MasterTermios() const
    {
        termios t{};
        EXPECT_EQ(tcgetattr(pty.Master(), &t), 0);
        return t;
    }

    PtyPair pty;
    TZComm comm;
    int notifications = 0;
    std::vector<uint8_t> received;
};

TEST_F(ZcommPty, OpensThePseudoTerminalAndStartsItsThread)
{
    EXPECT_NE(comm.OpenConnection(), 0);
    EXPECT_EQ(comm.Connected(), 1);
    EXPECT_NE(comm.EventThread(), nullptr);
    EXPECT_GE(comm.PortHandle(), 0);
    EXPECT_EQ(comm.CloseConnection(), 1);
    EXPECT_EQ(comm.Connected(), 0);
    EXPECT_EQ(comm.EventThread(), nullptr);
}

TEST_F(ZcommPty, TheThreadRunsOneStepBelowNormalPriority)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.EventThread()->ThreadId() != 0; }));
    const int mine = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(comm.EventThread()->ThreadId())), mine + 1);
}

TEST(ZcommOpen, RefusesWhatIsNoSerialDevice)
{
    for (const char* path : {"", "/dev/krn310-no-such-device", "/dev/null"}) {
        TZComm comm;
        comm.Port = path;
        EXPECT_EQ(comm.OpenConnection(), 0) << path;
        EXPECT_EQ(comm.Connected(), 0) << path;
        EXPECT_EQ(comm.EventThread(), nullptr) << path;
    }
}

TEST_F(ZcommPty, ASecondOpenerIsRefusedUntilTheFirstCloses)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    TZComm second;
    second.Port = pty.SlavePath();
    EXPECT_EQ(second.OpenConnection(), 0);
    EXPECT_EQ(second.Connected(), 0);
    comm.CloseConnection();
    EXPECT_NE(second.OpenConnection(), 0);
    second.CloseConnection();
}

TEST_F(ZcommPty, AcceptsAPathOfSixteenCharactersOrMore)
{
    ASSERT_GE(std::string("/dev/pts/../pts/").size(), 16u);
    comm.Port = "/dev/pts/../pts/" + pty.SlavePath().substr(std::string("/dev/pts/").size());
    EXPECT_NE(comm.OpenConnection(), 0);
}

struct LineCase {
    const char* name;
    int32_t baud;
    TDataBits dataBits;
    TParity parity;
    TStopBits stopBits;
    bool cts;
    bool xOut;
    bool xIn;
    speed_t speed;
    bool cstopb;
};

class ZcommLineSettings : public ZcommPty, public ::testing::WithParamInterface<LineCase> {};

// A pseudo-terminal always keeps eight data bits without parity; those two
// are checked on the termios record itself (comm_termios_tests).
TEST_P(ZcommLineSettings, ReadBackFromTheTerminal)
{
    const LineCase& c = GetParam();
    comm.BaudRate = c.baud;
    comm.DataBits = c.dataBits;
    comm.Parity = c.parity;
    comm.StopBits = c.stopBits;
    comm.CTSFlowCtl = c.cts;
    comm.XOuputFlowCtl = c.xOut;
    comm.XInputFlowCtl = c.xIn;
    comm.XOnChar = 0x11;
    comm.XOffChar = 0x13;
    ASSERT_NE(comm.OpenConnection(), 0);

    const termios t = MasterTermios();
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ(cfgetispeed(&t), c.speed);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.cstopb);
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, c.cts);
    EXPECT_EQ((t.c_iflag & IXON) != 0, c.xOut);
    EXPECT_EQ((t.c_iflag & IXOFF) != 0, c.xIn);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    // Raw 8-bit line: nothing edited, echoed or translated.
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IGNPAR | PARMRK | ISTRIP), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, ZcommLineSettings, ::testing::Values(
    LineCase{"Design", 9600, databits8, no_parity, stop1, true, false, false, B9600, false},
    LineCase{"Odd7", 19200, databits7, odd_parity, stop1, false, true, true, B19200, false},
    LineCase{"Even", 115200, databits8, even_parity, stop2, false, true, false, B115200, true},
    LineCase{"Mark", 4800, databits6, mark_parity, stop1, false, false, true, B4800, false},
    LineCase{"Space", 38400, databits5, space_parity, stop1x5, false, false, false, B38400, true},
    LineCase{"Fast", 921600, databits8, no_parity, stop1, true, false, false, B921600, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZcommPty, ARateWithoutASystemConstantIsRefused)
{
    comm.BaudRate = 12345;
    EXPECT_EQ(comm.OpenConnection(), 0);
    EXPECT_EQ(comm.Connected(), 0);
    EXPECT_EQ(comm.EventThread(), nullptr);
    comm.BaudRate = 9600;
    EXPECT_NE(comm.OpenConnection(), 0);  // the failed open released the device
}

TEST_F(ZcommPty, CarriesDataBothWays)
{
    CollectOnData();
    ASSERT_NE(comm.OpenConnection(), 0);
    const std::vector<uint8_t> out{0x1D, 0x49, 0x43, 0x00, 0xFF, '\n', '\r', 0x11};
    EXPECT_EQ(comm.WriteComm(out.data(), static_cast<long>(out.size())), static_cast<long>(out.size()));
    EXPECT_EQ(pty.Receive(out.size()), out);

    const std::vector<uint8_t> in{'K', 'R', 'N', 0x00, 0x0D, 0x0A, 0x13, 0xFF};
    ASSERT_TRUE(pty.Send(in));
    EXPECT_TRUE(RunUntil([&] { return received.size() >= in.size(); }));
    EXPECT_EQ(received, in);
}

TEST_F(ZcommPty, ALongWriteGoesOnUntilEveryByteIsQueued)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    // Far more than the terminal takes at once: the write is continued as
    // the other end reads.
    std::vector<uint8_t> out(256 * 1024);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<uint8_t>(i * 7 + i / 256);
    std::vector<uint8_t> got;
    std::thread reader([&] { got = pty.Receive(out.size(), 10000); });
    EXPECT_EQ(comm.WriteComm(out.data(), static_cast<long>(out.size())), static_cast<long>(out.size()));
    reader.join();
    EXPECT_EQ(got, out);
}

TEST_F(ZcommPty, AWriteStillPendingAfterItsLimitGivesZero)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    // Far more than the terminal buffers while nobody reads the master.
    const std::vector<uint8_t> out(4 << 20, 'x');
    EXPECT_EQ(comm.WriteComm(out.data(), static_cast<long>(out.size())), 0);
}

TEST_F(ZcommPty, OneByteGivesOneNotification)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    comm.OnDataAvailable = [this](TZComm* sender) {
        ++notifications;
        unsigned char b[16];
        received.resize(received.size() + static_cast<size_t>(sender->ReadComm(b, sizeof b)));
    };
    ASSERT_TRUE(pty.Send({0x42}));
    EXPECT_TRUE(RunUntil([&] { return notifications >= 1; }));
    RunFor(200);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(ZcommPty, ABurstGivesFewerNotificationsThanBytes)
{
    CollectOnData();
    ASSERT_NE(comm.OpenConnection(), 0);
    const std::vector<uint8_t> burst = Bytes(600);
    for (uint8_t b : burst)
        ASSERT_TRUE(pty.Send({b}));
    EXPECT_TRUE(RunUntil([&] { return received.size() >= burst.size(); }));
    RunFor(100);
    EXPECT_EQ(received, burst);
    EXPECT_GE(notifications, 1);
    EXPECT_LT(notifications, static_cast<int>(burst.size()));
}

TEST_F(ZcommPty, ReadCommTakesOnlyWhatIsQueuedAndNeverWaits)
{
    comm.OnDataAvailable = nullptr;
    ASSERT_NE(comm.OpenConnection(), 0);
    unsigned char buffer[1024];
    EXPECT_EQ(comm.ReadComm(buffer, sizeof buffer), 0);

    const std::vector<uint8_t> in = Bytes(3000);
    ASSERT_TRUE(pty.Send(in));
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.GetQCountIn() == 3000; }));
    EXPECT_EQ(comm.ReadComm(buffer, 1024), 1024);
    EXPECT_TRUE(std::equal(buffer, buffer + 1024, in.begin()));
    EXPECT_EQ(comm.GetQCountIn(), 1976u);
}

TEST_F(ZcommPty, NothingArrivesAfterClose)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    comm.CloseConnection();
    pty.Send({1, 2, 3});
    RunFor(200);
    EXPECT_EQ(notifications, 0);
    unsigned char buffer[16];
    EXPECT_EQ(comm.ReadComm(buffer, sizeof buffer), 0);
    EXPECT_EQ(comm.WriteComm(buffer, 3), 0);
}

TEST_F(ZcommPty, ANotificationQueuedAtCloseIsIgnored)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    ASSERT_TRUE(pty.Send({0x42}));
    // The thread has posted; the event loop has not run yet.
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.EventThread()->NotificationOutstanding(); }));
    comm.CloseConnection();
    RunFor(100);
    EXPECT_EQ(notifications, 0);
}

TEST_F(ZcommPty, ClosingWhileTheThreadWaitsEndsIt)
{
    ASSERT_NE(comm.OpenConnection(), 0);
    RunFor(50);
    EXPECT_EQ(comm.CloseConnection(), 1);
    EXPECT_EQ(comm.EventThread(), nullptr);
    RunFor(50);
    EXPECT_EQ(notifications, 0);
}

double ThreadCpuMs(pthread_t thread)
{
    clockid_t clock{};
    if (pthread_getcpuclockid(thread, &clock) != 0)
        return -1;
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

TEST_F(ZcommPty, AVanishedDeviceDoesNotKeepTheThreadBusy)
{
    CollectOnData();
    ASSERT_NE(comm.OpenConnection(), 0);
    pty.CloseMaster();
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.EventThread()->DeviceLost(); }));

    const pthread_t thread = comm.EventThread()->NativeHandle();
    const double before = ThreadCpuMs(thread);
    ASSERT_GE(before, 0);
    RunFor(300);
    const double used = ThreadCpuMs(thread) - before;
    // A spinning thread would use most of the 300 ms.
    EXPECT_LT(used, 30.0);
    EXPECT_EQ(comm.CloseConnection(), 1);
}

TEST_F(ZcommPty, TextWithAZeroByteBothWays)
{
    comm.OnDataAvailable = nullptr;
    ASSERT_NE(comm.OpenConnection(), 0);
    comm.SetText(std::string("ab\0cd", 5));
    EXPECT_EQ(pty.Receive(5), (std::vector<uint8_t>{'a', 'b', 0, 0, 0}));

    ASSERT_TRUE(pty.Send({'x', 'y', 0, 'z', 'w'}));
    ASSERT_TRUE(WaitWithoutEvents([&] { return comm.GetQCountIn() == 5; }));
    EXPECT_EQ(comm.GetText(), "xy");
    EXPECT_EQ(comm.GetQCountIn(), 0u);
    // Nothing queued: empty text, and the last text is kept.
    EXPECT_EQ(comm.GetText(), "");
}

TEST_F(ZcommPty, ReopensWithANewThreadAfterClose)
{
    CollectOnData();
    for (int round = 0; round < 3; ++round) {
        ASSERT_NE(comm.OpenConnection(), 0);
        received.clear();
        ASSERT_TRUE(pty.Send({static_cast<uint8_t>(round)}));
        EXPECT_TRUE(RunUntil([&] { return !received.empty(); }));
        EXPECT_EQ(received, std::vector<uint8_t>{static_cast<uint8_t>(round)});
        comm.CloseConnection();
    }
}

} // namespace
} // namespace krn310
