// krn310-sim: a virtual KRN-310 for developing and demonstrating the configurator without a printer.
#include "tools/sim/PrinterBlocks.h"
#include "tools/sim/Simulator.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

using krn310::sim::Faults;
using krn310::sim::Options;

constexpr int ExitUsage = 2;

const char* const HelpText =
    "Usage: krn310-sim [options]\n"
    "A virtual KRN-310 receipt printer on loopback TCP and/or a pseudo-terminal.\n"
    "\n"
    "  --tcp 127.0.0.1:PORT     listen on a loopback address (PORT 0: any free port);\n"
    "                           prints \"tcp ADDRESS:PORT\" once listening\n"
    "  --pty                    open a pseudo-terminal; prints \"pty /dev/pts/N\"\n"
    "  --factory                start from factory values instead of user values\n"
    "  --log FILE               write every received command (ms since start, hex bytes)\n"
    "  --no-pacing              pty: send at full speed instead of at the line's baud rate\n"
    "  --help                   show this text\n"
    "\n"
    "Faults:\n"
    "  --silent                 answer nothing\n"
    "  --silent-on N            leave the N-th received command (0-based) unanswered\n"
    "  --split N:MS             send each reply as its first N bytes, a pause of MS ms, the rest\n"
    "  --surplus HEX            send these bytes after each reply (e.g. 0D0A)\n"
    "  --garbage HEX            send these bytes before each reply\n"
    "  --drop-mid-reply         send half of each reply, then close the connection\n"
    "  --reset-connection       reset the TCP connection at the first command\n"
    "  --slow MS                wait MS ms before each reply\n"
    "\n"
    "Runs until SIGINT or SIGTERM. A --tcp address outside 127.0.0.0/8 is refused (exit 2).\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int ToInt(const std::string& text, const std::string& option)
{
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < 0)
        throw UsageError(option + " needs a non-negative number, not \"" + text + "\"");
    return value;
}

std::vector<uint8_t> FromHex(const std::string& text, const std::string& option)
{
    std::vector<uint8_t> bytes;
    if (text.size() % 2 != 0)
        throw UsageError(option + " needs hex bytes, e.g. 0D0A");
    for (size_t i = 0; i < text.size(); i += 2) {
        const std::string pair = text.substr(i, 2);
        if (pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            throw UsageError(option + " needs hex bytes, e.g. 0D0A");
        bytes.push_back(uint8_t(std::stoul(pair, nullptr, 16)));
    }
    return bytes;
}

void ParseTcp(const std::string& text, Options& options)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        throw UsageError("--tcp needs ADDRESS:PORT, e.g. 127.0.0.1:0");
    options.tcp = true;
    options.tcpAddress = text.substr(0, colon);
    const int port = ToInt(text.substr(colon + 1), "--tcp");
    if (port > 65535)
        throw UsageError("--tcp port " + std::to_string(port) + " is out of range");
    options.tcpPort = uint16_t(port);
    uint32_t ip = 0;
    if (!krn310::sim::ParseIpv4(options.tcpAddress, ip) || !krn310::sim::IsLoopback(ip))
        throw UsageError("--tcp " + text + ": the simulator listens on loopback only (127.0.0.0/8)");
}

struct CommandLine {
    Options options;
    Faults faults;
    bool help = false;
};

CommandLine Parse(int argc, char** argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--tcp") {
            ParseTcp(value(), line.options);
        } else if (arg == "--pty") {
            line.options.pty = true;
        } else if (arg == "--factory") {
            line.options.factory = true;
        } else if (arg == "--log") {
            line.options.logPath = value();
        } else if (arg == "--no-pacing") {
            line.options.pacing = false;
        } else if (arg == "--silent") {
            line.faults.silent = true;
        } else if (arg == "--silent-on") {
            line.faults.silentOnCommand = ToInt(value(), arg);
        } else if (arg == "--split") {
            const std::string text = value();
            const size_t colon = text.find(':');
            if (colon == std::string::npos)
                throw UsageError("--split needs N:MS");
            line.faults.splitAfter = ToInt(text.substr(0, colon), arg);
            line.faults.splitPauseMs = ToInt(text.substr(colon + 1), arg);
        } else if (arg == "--surplus") {
            line.faults.surplus = FromHex(value(), arg);
        } else if (arg == "--garbage") {
            line.faults.garbage = FromHex(value(), arg);
        } else if (arg == "--drop-mid-reply") {
            line.faults.dropMidReply = true;
        } else if (arg == "--reset-connection") {
            line.faults.resetConnection = true;
        } else if (arg == "--slow") {
            line.faults.slowReplyMs = ToInt(value(), arg);
        } else {
            throw UsageError("unknown option " + arg + " (see --help)");
        }
    }
    if (!line.help && !line.options.tcp && !line.options.pty)
        throw UsageError("give --tcp 127.0.0.1:PORT, --pty or both (see --help)");
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    try {
        line = Parse(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "krn310-sim: " << error.what() << std::endl;
        return ExitUsage;
    }
    if (line.help) {
        std::cout << HelpText;
        return 0;
    }
    // Blocked before the simulator's thread starts, so only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    krn310::sim::Simulator simulator(line.options);
    simulator.SetFaults(line.faults);
    try {
        simulator.Start();
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
    if (line.options.tcp)
        std::cout << "tcp " << simulator.TcpAddress() << ":" << simulator.TcpPort() << "\n";
    if (line.options.pty)
        std::cout << "pty " << simulator.PtyPath() << "\n";
    std::cout.flush();

    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.Stop();
    return 0;
}
