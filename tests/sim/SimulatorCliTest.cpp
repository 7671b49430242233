#include "tests/sim/SimClients.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace krn310::sim {
namespace {

using test::Bytes;

// The built krn310-sim, run as the operator or a script would run it.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args)
    {
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            std::vector<char*> argv;
            args.insert(args.begin(), KRN310_SIM_EXECUTABLE);
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }

    ~SimProcess()
    {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
        ::close(err_);
    }

    std::string Line(int limitMs = 10000) { return ReadLine(out_, limitMs); }
    std::string Errors(int limitMs = 10000) { return ReadAll(err_, limitMs); }
    std::string Output(int limitMs = 10000) { return ReadAll(out_, limitMs); }

    void Signal(int signal) const { ::kill(pid_, signal); }

    // The exit code, or -1 when it did not exit normally within the limit.
    int Wait(int limitMs = 10000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10000);
        }
        return -1;
    }

private:
    static std::string ReadLine(int fd, int limitMs)
    {
        std::string line;
        char c = 0;
        while (WaitReadable(fd, limitMs) && ::read(fd, &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }

    static std::string ReadAll(int fd, int limitMs)
    {
        std::string text;
        char buffer[512];
        ssize_t n = 0;
        while (WaitReadable(fd, limitMs) && (n = ::read(fd, buffer, sizeof buffer)) > 0)
            text.append(buffer, size_t(n));
        return text;
    }

    static bool WaitReadable(int fd, int limitMs)
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, limitMs) > 0;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    int status_ = -1;
};

uint16_t PortOf(const std::string& line)
{
    return uint16_t(std::stoi(line.substr(line.rfind(':') + 1)));
}

TEST(SimulatorCli, PrintsWhereItListensAndStopsCleanlyOnSignals)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        SimProcess sim({"--tcp", "127.0.0.1:0", "--pty", "--no-pacing"});
        const std::string tcp = sim.Line();
        ASSERT_EQ(tcp.rfind("tcp 127.0.0.1:", 0), 0u) << tcp;
        const std::string pty = sim.Line();
        ASSERT_EQ(pty.rfind("pty /dev/pts/", 0), 0u) << pty;

        test::Peer socket = test::ConnectTcp(PortOf(tcp));
        socket.Send({0x1D, 0x49, 0x43});
        EXPECT_EQ(socket.Read(9), (Bytes{0x5F, 'K', 'R', 'N', '-', '3', '1', '0', 0x00}));
        test::Peer serial = test::OpenPtyRaw(pty.substr(4));
        serial.Send({0x10, 0x04, 0x01});
        EXPECT_EQ(serial.Read(1).size(), 1u);

        sim.Signal(signal);
        EXPECT_EQ(sim.Wait(), 0);
    }
}

TEST(SimulatorCli, FixedPortAndFaultOptions)
{
    const uint16_t port = test::FreeLoopbackPort();
    SimProcess sim({"--tcp", "127.0.0.1:" + std::to_string(port), "--surplus", "0D0A", "--garbage", "FF"});
    EXPECT_EQ(sim.Line(), "tcp 127.0.0.1:" + std::to_string(port));
    test::Peer socket = test::ConnectTcp(port);
    socket.Send({0x10, 0x04, 0x04});
    EXPECT_EQ(socket.Read(4), (Bytes{0xFF, 0x12, 0x0D, 0x0A}));
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST(SimulatorCli, WritesTheLogFile)
{
    const std::string path = ::testing::TempDir() + "krn310-sim-cli-log.txt";
    {
        SimProcess sim({"--tcp", "127.0.0.1:0", "--factory", "--log", path});
        test::Peer socket = test::ConnectTcp(PortOf(sim.Line()));
        socket.Send({0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74});
        const Bytes block = socket.Read(256);
        ASSERT_EQ(block.size(), 256u);
        EXPECT_EQ(block[0], 0);   // factory values
        sim.Signal(SIGTERM);
        EXPECT_EQ(sim.Wait(), 0);
    }
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find(" 1D 28 45 02 00 06 74\n"), std::string::npos) << text.str();
    ::unlink(path.c_str());
}

TEST(SimulatorCli, RefusesNonLoopbackAndBadOptionsWithExitCode2)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--tcp", "192.168.0.100:62002"}, {"--tcp", "0.0.0.0:0"}, {"--tcp", "localhost:0"},
        {"--tcp", "127.0.0.1"},           {"--bogus"},            {},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.empty() ? "no options" : args.back());
        SimProcess sim(args);
        EXPECT_EQ(sim.Wait(), 2);
        EXPECT_NE(sim.Errors().find("krn310-sim: "), std::string::npos);
        EXPECT_EQ(sim.Output(), "");
    }
    SimProcess sim({"--tcp", "192.168.0.100:62002"});
    EXPECT_NE(sim.Errors().find("loopback"), std::string::npos);
}

TEST(SimulatorCli, HelpListsEveryOption)
{
    SimProcess sim({"--help"});
    const std::string help = sim.Output();
    EXPECT_EQ(sim.Wait(), 0);
    for (const char* option : {"--tcp", "--pty", "--factory", "--log", "--no-pacing", "--silent", "--silent-on",
                               "--split", "--surplus", "--garbage", "--drop-mid-reply", "--reset-connection",
                               "--slow", "--help"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace krn310::sim
