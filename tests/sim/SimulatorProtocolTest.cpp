#include "tests/sim/SimClients.h"
#include "tools/sim/Simulator.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <sstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace krn310::sim {
namespace {

using test::Bytes;
using test::Concat;
using test::ToBytes;

const Bytes ModelName = {0x1D, 0x49, 0x43};
const Bytes ReadHead = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06};
const Bytes WriteHead = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05};
const Bytes Initialize = {0x1B, 0x40};
const Bytes Restart = {0x1B, 0x42};

Bytes ReadCommand(char letter)
{
    return Concat({ReadHead, {uint8_t(letter)}});
}

Bytes WriteCommand(char letter, const std::array<uint8_t, 256>& block)
{
    return Concat({WriteHead, {uint8_t(letter)}, ToBytes(block)});
}

std::array<uint8_t, 256> Pattern(uint8_t seed)
{
    std::array<uint8_t, 256> block;
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = uint8_t(seed + i * 7);
    return block;
}

Bytes Identification(const std::string& text)
{
    Bytes reply(text.size() + 2, 0x00);
    reply[0] = 0x5F;
    std::copy(text.begin(), text.end(), reply.begin() + 1);
    return reply;
}

enum class Link { Tcp, Pty };

// The printer answers ESC B before it restarts, so over a pty the restart shows only a little later.
bool WaitForRestarts(const Simulator& sim, int count)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (sim.Restarts() < count && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return sim.Restarts() >= count;
}

// The simulator and the configurator's end of one link to it.
class SimulatorLink : public ::testing::TestWithParam<Link> {
protected:
    void SetUp() override
    {
        Options options;
        options.tcp = GetParam() == Link::Tcp;
        options.pty = GetParam() == Link::Pty;
        options.pacing = false;
        sim = std::make_unique<Simulator>(options);
        sim->Start();
        Connect();
    }

    void Connect()
    {
        peer = GetParam() == Link::Tcp ? test::ConnectTcp(sim->TcpPort()) : test::OpenPtyRaw(sim->PtyPath());
    }

    Bytes Ask(const Bytes& command, size_t replyLength)
    {
        peer.Send(command);
        return peer.Read(replyLength);
    }

    void ExpectQuiet(int waitMs = 150)
    {
        EXPECT_EQ(peer.ReadFor(waitMs), Bytes{});
    }

    std::unique_ptr<Simulator> sim;
    test::Peer peer;
};

TEST_P(SimulatorLink, AnswersEveryReadCommand)
{
    sim->SetIdentification('B', "\xCF\xF0\xE8\xED\xF2\xE5\xF0");   // Cyrillic in Windows-1251
    sim->SetStatus(1, 0x04);
    sim->SetStatus(2, 0x40);
    sim->SetStatus(4, 0x60);
    const struct {
        Bytes command;
        Bytes reply;
    } cases[] = {
        {{0x1D, 0x49, 0x43}, Identification("KRN-310")},
        {{0x1D, 0x49, 0x42}, Identification("\xCF\xF0\xE8\xED\xF2\xE5\xF0")},
        {{0x1D, 0x49, 0x41}, Identification("1.01.05")},
        {{0x1D, 0x49, 0x44}, Identification("KRN31000012345")},
        {{0x10, 0x04, 0x01}, {0x04}},
        {{0x10, 0x04, 0x02}, {0x40}},
        {{0x10, 0x04, 0x04}, {0x60}},
        {ReadCommand('t'), ToBytes(sim->Block('t'))},
        {ReadCommand('u'), ToBytes(sim->Block('u'))},
        {ReadCommand('x'), ToBytes(sim->Block('x'))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ask(c.command, c.reply.size()), c.reply);
    ExpectQuiet();
    ASSERT_TRUE(sim->WaitForLog(std::size(cases), 1000));
    const auto log = sim->Log();
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(log[i].bytes, cases[i].command);
}

TEST_P(SimulatorLink, UserValuesAndItsOwnAddress)
{
    EXPECT_EQ(sim->Block('t')[0], 1);
    EXPECT_EQ(sim->Block('u')[0], 1);
    const auto x = sim->Block('x');
    EXPECT_EQ(x[11], 127);
    EXPECT_EQ(x[8], 1);
    if (GetParam() == Link::Tcp) {
        EXPECT_EQ(x[12] | x[13] << 8, sim->TcpPort());
    }
}

TEST_P(SimulatorLink, WrittenBlocksReadBack)
{
    for (char letter : {'t', 'u', 'x'}) {
        SCOPED_TRACE(letter);
        const auto block = Pattern(uint8_t(letter));
        const Bytes trailer = letter == 't' ? Initialize : Bytes{};
        peer.Send(Concat({WriteCommand(letter, block), trailer}));
        EXPECT_EQ(Ask(ReadCommand(letter), 256), ToBytes(block));
        EXPECT_EQ(sim->Block(letter), block);
    }
    ExpectQuiet();
}

TEST_P(SimulatorLink, FactoryRestoreOfSet1)
{
    const auto u = sim->Block('u');
    peer.Send(Concat({WriteHead, {'v'}, Initialize}));
    EXPECT_EQ(Ask(ReadCommand('t'), 256), ToBytes(FactoryBlock('t')));
    EXPECT_NE(sim->Block('t')[0], 1);
    EXPECT_EQ(sim->Block('u'), u);
}

TEST_P(SimulatorLink, FactoryRestoreOfSet2KeepsTheLinkWhereItIs)
{
    const auto t = sim->Block('t');
    const uint16_t port = sim->TcpPort();
    peer.Send(Concat({WriteHead, {'w'}, Restart}));
    EXPECT_EQ(peer.Read(2), Restart);
    if (GetParam() == Link::Tcp) {
        EXPECT_EQ(peer.WaitForEnd(), 0);
        EXPECT_EQ(sim->TcpPort(), port);
        Connect();
    }
    EXPECT_EQ(Ask(ReadCommand('u'), 256), ToBytes(FactoryBlock('u')));
    auto expectedX = FactoryBlock('x');
    if (GetParam() == Link::Tcp) {
        expectedX[12] = uint8_t(port);
        expectedX[13] = uint8_t(port >> 8);
    }
    EXPECT_EQ(Ask(ReadCommand('x'), 256), ToBytes(expectedX));
    EXPECT_EQ(sim->Block('t'), t);
    EXPECT_TRUE(WaitForRestarts(*sim, 1));
}

TEST_P(SimulatorLink, CommandsSplitAcrossWritesAndAmidNoise)
{
    const Bytes stream = Concat({{0x00, 0x55, 0x1D}, ModelName, {0x10, 0x04}, {0x01}, {0xEE}, ReadCommand('u')});
    for (uint8_t b : stream) {
        peer.Send({b});
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(peer.Read(9 + 1 + 256), Concat({Identification("KRN-310"), {0x16}, ToBytes(sim->Block('u'))}));
    ASSERT_TRUE(sim->WaitForLog(3, 1000));
    EXPECT_EQ(sim->Log().size(), 3u);
}

TEST_P(SimulatorLink, SeveralCommandsInOneWrite)
{
    peer.Send(Concat({ModelName, Initialize, {0x10, 0x04, 0x04}, {0x1D, 0x49, 0x44}}));
    EXPECT_EQ(peer.Read(9 + 1 + 16), Concat({Identification("KRN-310"), {0x12}, Identification("KRN31000012345")}));
    ExpectQuiet();
}

TEST_P(SimulatorLink, LogsEveryMessageWithItsTime)
{
    peer.Send(Initialize);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(Ask(ModelName, 9).size(), 9u);
    ASSERT_TRUE(sim->WaitForLog(2, 1000));
    const auto log = sim->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].bytes, Initialize);
    EXPECT_EQ(log[1].bytes, ModelName);
    EXPECT_GE(log[1].atMs - log[0].atMs, 50u);
    sim->ClearLog();
    EXPECT_TRUE(sim->Log().empty());
    EXPECT_FALSE(sim->WaitForLog(1, 50));
}

struct FaultCase {
    const char* name;
    Faults faults;
    Bytes expected;   // what reaches the configurator for the model-name request
};

TEST_P(SimulatorLink, FaultsShapeTheReply)
{
    const Bytes reply = Identification("KRN-310");
    const FaultCase cases[] = {
        {"Surplus", Faults{.surplus = {0x0D, 0x0A}}, Concat({reply, {0x0D, 0x0A}})},
        {"Garbage", Faults{.garbage = {0xAA, 0x55, 0x00}}, Concat({{0xAA, 0x55, 0x00}, reply})},
        {"Split", Faults{.splitAfter = 4, .splitPauseMs = 20}, reply},
        {"Slow", Faults{.slowReplyMs = 30}, reply},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim->SetFaults(c.faults);
        EXPECT_EQ(Ask(ModelName, c.expected.size()), c.expected);
        ExpectQuiet(50);
    }
}

TEST_P(SimulatorLink, SplitReplyPausesAfterItsFirstPart)
{
    sim->SetFaults(Faults{.splitAfter = 3, .splitPauseMs = 1000});
    peer.Send(ReadCommand('t'));
    const Bytes first = peer.Read(3);
    EXPECT_EQ(first.size(), 3u);
    EXPECT_EQ(peer.ReadFor(200), Bytes{});
    EXPECT_EQ(Concat({first, peer.Read(253)}), ToBytes(sim->Block('t')));
}

TEST_P(SimulatorLink, SlowReplyComesLate)
{
    sim->SetFaults(Faults{.slowReplyMs = 1000});
    peer.Send(ModelName);
    EXPECT_EQ(peer.ReadFor(200), Bytes{});
    EXPECT_EQ(peer.Read(9), Identification("KRN-310"));
}

TEST_P(SimulatorLink, SilenceLeavesCommandsUnanswered)
{
    const struct {
        const char* name;
        Faults faults;
        std::vector<bool> answered;   // for model name, paper status, model name, firmware
    } cases[] = {
        {"AllSilent", Faults{.silent = true}, {false, false, false, false}},
        {"ThirdCommand", Faults{.silentOnCommand = 2}, {true, true, false, true}},
        {"ByBytes", Faults{.silentOnBytes = ModelName}, {false, true, false, true}},
    };
    const Bytes commands[] = {ModelName, {0x10, 0x04, 0x04}, ModelName, {0x1D, 0x49, 0x41}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        sim->SetFaults(c.faults);
        for (size_t i = 0; i < std::size(commands); ++i) {
            peer.Send(commands[i]);
            if (c.answered[i])
                EXPECT_FALSE(peer.Read(1, 2000).empty()) << "command " << i;
            else
                EXPECT_EQ(peer.ReadFor(150), Bytes{}) << "command " << i;
            peer.ReadFor(20);
        }
        EXPECT_TRUE(sim->WaitForLog(4, 1000));
    }
}

TEST_P(SimulatorLink, DropMidReplyDeliversHalf)
{
    sim->SetFaults(Faults{.dropMidReply = true});
    peer.Send(ReadCommand('x'));
    const Bytes half = peer.Read(256, 300);
    const auto x = sim->Block('x');
    EXPECT_EQ(half, Bytes(x.begin(), x.begin() + 128));
    if (GetParam() == Link::Tcp) {
        EXPECT_EQ(peer.WaitForEnd(), 0);
    } else {
        ExpectQuiet();
    }
}

INSTANTIATE_TEST_SUITE_P(Links, SimulatorLink, ::testing::Values(Link::Tcp, Link::Pty),
                         [](const auto& info) { return info.param == Link::Tcp ? "Tcp" : "Pty"; });

class SimulatorTcp : public ::testing::Test {
protected:
    void SetUp() override
    {
        Options options;
        options.tcp = true;
        sim = std::make_unique<Simulator>(options);
        sim->Start();
        peer = test::ConnectTcp(sim->TcpPort());
    }

    void WriteNetworkAndRestart(uint32_t ip, uint16_t port)
    {
        auto x = sim->Block('x');
        for (int i = 0; i < 4; ++i)
            x[8 + i] = uint8_t(ip >> (8 * i));
        x[12] = uint8_t(port);
        x[13] = uint8_t(port >> 8);
        peer.Send(Concat({WriteCommand('x', x), Restart}));
        EXPECT_EQ(peer.Read(2), Restart);
        EXPECT_EQ(peer.WaitForEnd(), 0);
    }

    std::unique_ptr<Simulator> sim;
    test::Peer peer;
};

TEST_F(SimulatorTcp, RestartMovesToTheNewLoopbackAddress)
{
    const struct {
        uint32_t ip;
        const char* text;
    } targets[] = {{0x7F000001, "127.0.0.1"}, {0x7F000002, "127.0.0.2"}};
    int restarts = 0;
    for (const auto& target : targets) {
        SCOPED_TRACE(target.text);
        const uint16_t oldPort = sim->TcpPort();
        const uint16_t newPort = test::FreeLoopbackPort();
        WriteNetworkAndRestart(target.ip, newPort);
        EXPECT_EQ(sim->Restarts(), ++restarts);
        EXPECT_EQ(sim->TcpAddress(), target.text);
        EXPECT_EQ(sim->TcpPort(), newPort);
        EXPECT_FALSE(test::CanConnect(oldPort));
        peer = test::ConnectTcp(newPort, target.text);
        peer.Send(ModelName);
        EXPECT_EQ(peer.Read(9), Identification("KRN-310"));
    }
}

TEST_F(SimulatorTcp, RestartRefusesANonLoopbackAddress)
{
    const uint16_t port = sim->TcpPort();
    ::testing::internal::CaptureStderr();
    WriteNetworkAndRestart(0xC0A80064, 62002);   // 192.168.0.100
    ASSERT_EQ(sim->Restarts(), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("192.168.0.100:62002 is not a loopback address"), std::string::npos) << said;
    EXPECT_EQ(sim->TcpAddress(), "127.0.0.1");
    EXPECT_EQ(sim->TcpPort(), port);
    peer = test::ConnectTcp(port);
    peer.Send(ModelName);
    EXPECT_EQ(peer.Read(9), Identification("KRN-310"));
}

TEST_F(SimulatorTcp, ResetConnectionHappensOnce)
{
    sim->SetFaults(Faults{.resetConnection = true});
    peer.Send(ModelName);
    EXPECT_EQ(peer.WaitForEnd(), ECONNRESET);
    peer = test::ConnectTcp(sim->TcpPort());
    peer.Send(ModelName);
    EXPECT_EQ(peer.Read(9), Identification("KRN-310"));
}

TEST_F(SimulatorTcp, NewConnectionReplacesTheOldOne)
{
    test::Peer second = test::ConnectTcp(sim->TcpPort());
    EXPECT_EQ(peer.WaitForEnd(), 0);
    second.Send(ModelName);
    EXPECT_EQ(second.Read(9), Identification("KRN-310"));
}

TEST(Simulator, RefusesToListenOutsideLoopback)
{
    for (const char* address : {"192.168.0.100", "0.0.0.0", "localhost", "10.1.2.3"}) {
        Options options;
        options.tcp = true;
        options.tcpAddress = address;
        Simulator sim(options);
        EXPECT_THROW(sim.Start(), std::runtime_error) << address;
    }
}

TEST(Simulator, FactoryStartAndFileLog)
{
    const std::string logPath = ::testing::TempDir() + "krn310-sim-log.txt";
    Options options;
    options.tcp = true;
    options.factory = true;
    options.logPath = logPath;
    Simulator sim(options);
    sim.Start();
    EXPECT_EQ(sim.Block('t'), FactoryBlock('t'));
    EXPECT_EQ(sim.Block('u'), FactoryBlock('u'));
    const auto x = sim.Block('x');
    EXPECT_EQ(x[11], 127);
    EXPECT_EQ(x[12] | x[13] << 8, sim.TcpPort());
    test::Peer peer = test::ConnectTcp(sim.TcpPort());
    peer.Send(Concat({ModelName, Initialize}));
    EXPECT_EQ(peer.Read(9).size(), 9u);
    ASSERT_TRUE(sim.WaitForLog(2, 1000));
    sim.Stop();
    std::ifstream file(logPath);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find(" 1D 49 43\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find(" 1B 40\n"), std::string::npos) << text.str();
    ::unlink(logPath.c_str());
}

class SimulatorPty : public ::testing::Test {
protected:
    void Start(bool pacing)
    {
        Options options;
        options.pty = true;
        options.pacing = pacing;
        sim = std::make_unique<Simulator>(options);
        sim->Start();
        peer = test::OpenPtyRaw(sim->PtyPath());
    }

    std::unique_ptr<Simulator> sim;
    test::Peer peer;
};

TEST_F(SimulatorPty, RestartTakesTheBaudRateOfTheBlock)
{
    Start(false);
    EXPECT_EQ(sim->LineBaud(), 115200u);
    auto u = sim->Block('u');
    u[4] = 7;   // 9600
    peer.Send(WriteCommand('u', u));
    peer.Send(Restart);
    EXPECT_EQ(peer.Read(2), Restart);
    ASSERT_TRUE(WaitForRestarts(*sim, 1));
    EXPECT_EQ(sim->LineBaud(), 9600u);
    termios t{};
    ASSERT_EQ(tcgetattr(peer.Fd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
    peer.Send(ModelName);
    EXPECT_EQ(peer.Read(9), Identification("KRN-310"));
}

TEST_F(SimulatorPty, PacedRepliesArriveWholeAndInOrder)
{
    Start(true);
    for (speed_t speed : {speed_t(0), speed_t(B38400)}) {
        if (speed != 0) {   // the configurator's own line speed wins over the block's
            termios t{};
            tcgetattr(peer.Fd(), &t);
            cfsetispeed(&t, speed);
            cfsetospeed(&t, speed);
            tcsetattr(peer.Fd(), TCSANOW, &t);
        }
        peer.Send(Concat({ModelName, ReadCommand('t')}));
        EXPECT_EQ(peer.Read(9 + 256), Concat({Identification("KRN-310"), ToBytes(sim->Block('t'))}));
    }
}

}  // namespace
}  // namespace krn310::sim
