#include "tools/sim/Simulator.h"

#include "tools/sim/CommandParser.h"
#include "tools/sim/LinePacing.h"
#include "tools/sim/PosixIo.h"
#include "tools/sim/PrinterBlocks.h"
#include "tools/sim/ProtocolBytes.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace krn310::sim {
namespace {

enum class Link { Tcp, Pty };

// What the I/O thread does with one command, decided under the lock and carried out without it.
struct Outcome {
    std::vector<uint8_t> reply;
    bool answer = false;
    bool restart = false;
    bool reset = false;
    Faults faults;
};

size_t IdentificationSlot(char which)
{
    if (which < 'A' || which > 'D')
        throw std::invalid_argument(std::string("no identification '") + which + "'");
    return size_t(which - 'A');
}

}  // namespace

struct Simulator::Impl {
    explicit Impl(Options o) : options(std::move(o)), pacing(options.pacing) {}

    // Everything below up to the I/O-thread part is shared and guarded by mutex.
    Options options;
    mutable std::mutex mutex;
    mutable std::condition_variable logGrew;
    BlockBytes set1{}, set2Printer{}, set2Network{};
    std::array<std::string, 4> identification{"1.01.05", "\xCE\xCE\xCE \xCA\xF0\xEE\xED\xEE\xF1", "KRN-310",
                                              "KRN31000012345"};
    std::array<uint8_t, 5> status{0, 0x16, 0x12, 0, 0x12};
    Faults faults;
    std::vector<LoggedMessage> log;
    uint64_t received = 0;
    int restarts = 0;
    uint32_t listenIp = 0;
    uint16_t listenPort = 0;
    std::string ptyPath;
    bool pacing;
    uint32_t lineBaud = 0;
    bool running = false;
    std::chrono::steady_clock::time_point startedAt;
    FILE* logFile = nullptr;

    // Owned by the I/O thread once it runs.
    int wakeRead = -1, wakeWrite = -1;
    int listenFd = -1, clientFd = -1;
    io::Pty pty;
    uint32_t speedWeSet = 0;
    CommandParser tcpParser, ptyParser;
    std::thread thread;

    BlockBytes& BlockFor(char letter)
    {
        switch (letter) {
        case 't':
            return set1;
        case 'u':
            return set2Printer;
        case 'x':
            return set2Network;
        }
        throw std::invalid_argument(std::string("no settings block '") + letter + "'");
    }

    // The network block always names where this printer really listens.
    void PutOwnAddressInto(BlockBytes& x) const
    {
        if (options.tcp)
            WriteNetworkAddress(x, {listenIp, listenPort});
    }

    void Log(const std::vector<uint8_t>& bytes)
    {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                               startedAt)
                            .count();
        log.push_back({uint64_t(ms), bytes});
        if (logFile) {
            std::fprintf(logFile, "%llu", static_cast<unsigned long long>(ms));
            for (uint8_t b : bytes)
                std::fprintf(logFile, " %02X", b);
            std::fputc('\n', logFile);
            std::fflush(logFile);
        }
        logGrew.notify_all();
    }

    Outcome Handle(const Command& command, Link link)
    {
        std::lock_guard lock(mutex);
        const uint64_t index = received++;
        Log(command.bytes);
        Outcome outcome;
        outcome.faults = faults;
        if (link == Link::Tcp && faults.resetConnection) {
            faults.resetConnection = false;
            outcome.reset = true;
            return outcome;
        }
        switch (command.kind) {
        case CommandKind::Identification: {
            const std::string& text = identification[IdentificationSlot(char(command.selector))];
            outcome.reply.push_back(wire::IdentificationHeader);
            outcome.reply.insert(outcome.reply.end(), text.begin(), text.end());
            outcome.reply.push_back(wire::IdentificationEnd);
            break;
        }
        case CommandKind::Status:
            outcome.reply.push_back(status[command.selector]);
            break;
        case CommandKind::ReadBlock: {
            const BlockBytes& block = BlockFor(char(command.selector));
            outcome.reply.assign(block.begin(), block.end());
            break;
        }
        case CommandKind::WriteBlock: {
            BlockBytes& block = BlockFor(char(command.selector));
            std::copy(command.bytes.begin() + wire::UserSetupHeadLength, command.bytes.end(), block.begin());
            break;
        }
        case CommandKind::RestoreFactory:
            if (command.selector == wire::SelectorFactorySet1) {
                set1 = FactoryBlock('t');
            } else {
                set2Printer = FactoryBlock('u');
                set2Network = FactoryBlock('x');
                PutOwnAddressInto(set2Network);
            }
            break;
        case CommandKind::Initialize:
            break;
        case CommandKind::Restart:
            outcome.reply.assign(wire::RestartReply.begin(), wire::RestartReply.end());
            outcome.restart = true;
            break;
        }
        const bool chosenSilent = faults.silentOnCommand >= 0 && index == uint64_t(faults.silentOnCommand);
        const bool patternSilent = !faults.silentOnBytes.empty() && faults.silentOnBytes == command.bytes;
        outcome.answer = !outcome.reply.empty() && !faults.silent && !chosenSilent && !patternSilent;
        return outcome;
    }

    bool SendPaced(const uint8_t* data, size_t length)
    {
        uint32_t baud = 0;
        {
            std::lock_guard lock(mutex);
            if (!pacing)
                return io::WriteAll(pty.master, data, length, wakeRead);
            baud = lineBaud;
        }
        // A speed the other side set on its end wins over the block's.
        const uint32_t termiosSpeed = io::CurrentSpeed(pty.slave);
        if (termiosSpeed != 0 && termiosSpeed != speedWeSet)
            baud = termiosSpeed;
        const auto start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < length; ++i) {
            if (!io::SleepUntil(start + ByteDue(baud, i), wakeRead))
                return false;
            if (!io::WriteAll(pty.master, data + i, 1, wakeRead))
                return false;
        }
        return true;
    }

    bool Send(Link link, const uint8_t* data, size_t length)
    {
        if (length == 0)
            return true;
        if (link == Link::Pty)
            return SendPaced(data, length);
        if (clientFd < 0)
            return false;
        if (!io::WriteAll(clientFd, data, length, wakeRead)) {
            CloseClient();
            return false;
        }
        return true;
    }

    void CloseClient()
    {
        io::CloseFd(clientFd);
        tcpParser.Reset();
    }

    void Respond(Link link, const Outcome& outcome)
    {
        const Faults& f = outcome.faults;
        if (outcome.reset) {
            io::ResetAndClose(clientFd);
            tcpParser.Reset();
            return;
        }
        if (outcome.answer) {
            if (f.slowReplyMs > 0 && !io::SleepFor(std::chrono::milliseconds(f.slowReplyMs), wakeRead))
                return;
            std::vector<uint8_t> out = f.garbage;
            out.insert(out.end(), outcome.reply.begin(), outcome.reply.end());
            if (f.dropMidReply) {
                Send(link, out.data(), f.garbage.size() + outcome.reply.size() / 2);
                if (link == Link::Tcp)
                    CloseClient();
            } else {
                out.insert(out.end(), f.surplus.begin(), f.surplus.end());
                const size_t split = f.splitAfter > 0 ? size_t(f.splitAfter) : 0;
                if (split > 0 && split < out.size()) {
                    if (!Send(link, out.data(), split))
                        return;
                    if (!io::SleepFor(std::chrono::milliseconds(f.splitPauseMs), wakeRead))
                        return;
                    Send(link, out.data() + split, out.size() - split);
                } else {
                    Send(link, out.data(), out.size());
                }
            }
        }
        if (outcome.restart)
            Restart();
    }

    // ESC B: the printer starts again with the parameters of its blocks.
    void Restart()
    {
        NetworkAddress target;
        uint32_t baud;
        {
            std::lock_guard lock(mutex);
            target = ReadNetworkAddress(set2Network);
            baud = BaudForIndex(ReadLe32(set2Printer, BaudIndexOffset));
        }
        if (options.tcp)
            MoveListener(target);
        if (options.pty && baud != 0)
            speedWeSet = io::SetSpeed(pty.slave, baud);
        {
            std::lock_guard lock(mutex);
            if (baud != 0)
                lineBaud = baud;
            ++restarts;
        }
        // Only now, so whoever sees the connection end finds the printer already up again.
        CloseClient();
        ptyParser.Reset();
    }

    void MoveListener(NetworkAddress target)
    {
        uint32_t ip;
        uint16_t port;
        {
            std::lock_guard lock(mutex);
            ip = listenIp;
            port = listenPort;
        }
        const std::string here = FormatIpv4(ip) + ":" + std::to_string(port);
        const std::string there = FormatIpv4(target.ip) + ":" + std::to_string(target.port);
        if (!IsLoopback(target.ip)) {
            std::cerr << "krn310-sim: restart: " << there << " is not a loopback address, still listening at "
                      << here << std::endl;
            return;
        }
        if (target.ip == ip && target.port == port)
            return;
        uint16_t bound = 0;
        std::string error;
        const int fd = io::OpenListener(target.ip, target.port, bound, error);
        if (fd < 0) {
            std::cerr << "krn310-sim: restart: cannot listen at " << there << " (" << error
                      << "), still listening at " << here << std::endl;
            return;
        }
        io::CloseFd(listenFd);
        listenFd = fd;
        std::cerr << "krn310-sim: restart: now listening at " << FormatIpv4(target.ip) << ":" << bound << std::endl;
        std::lock_guard lock(mutex);
        listenIp = target.ip;
        listenPort = bound;
        PutOwnAddressInto(set2Network);
    }

    void Serve(Link link, CommandParser& parser, const uint8_t* data, size_t length)
    {
        const int connection = clientFd;
        for (const Command& command : parser.Feed(data, length)) {
            const Outcome outcome = Handle(command, link);
            Respond(link, outcome);
            // A restart, drop or reset ends the connection and what it still carried.
            if (outcome.restart || (link == Link::Tcp && clientFd != connection))
                break;
        }
    }

    void Run()
    {
        uint8_t buffer[4096];
        for (;;) {
            pollfd fds[4];
            nfds_t count = 0;
            fds[count++] = {wakeRead, POLLIN, 0};
            const nfds_t listenAt = listenFd >= 0 ? count : 0;
            if (listenFd >= 0)
                fds[count++] = {listenFd, POLLIN, 0};
            const nfds_t clientAt = clientFd >= 0 ? count : 0;
            if (clientFd >= 0)
                fds[count++] = {clientFd, POLLIN, 0};
            const nfds_t ptyAt = pty.master >= 0 ? count : 0;
            if (pty.master >= 0)
                fds[count++] = {pty.master, POLLIN, 0};
            if (::poll(fds, count, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (fds[0].revents)
                return;
            if (listenAt && (fds[listenAt].revents & POLLIN)) {
                const int fd = io::AcceptClient(listenFd);
                if (fd >= 0) {
                    // One configurator at a time: a new connection replaces a stale one.
                    CloseClient();
                    clientFd = fd;
                }
            } else if (clientAt && fds[clientAt].revents) {
                const ssize_t n = ::read(clientFd, buffer, sizeof buffer);
                if (n > 0)
                    Serve(Link::Tcp, tcpParser, buffer, size_t(n));
                else if (n == 0 || (errno != EAGAIN && errno != EINTR))
                    CloseClient();
            }
            if (ptyAt && fds[ptyAt].revents) {
                const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
                if (n > 0)
                    Serve(Link::Pty, ptyParser, buffer, size_t(n));
            }
        }
    }

    void CloseAll()
    {
        CloseClient();
        io::CloseFd(listenFd);
        io::CloseFd(pty.master);
        io::CloseFd(pty.slave);
        io::CloseFd(wakeRead);
        io::CloseFd(wakeWrite);
        if (logFile)
            std::fclose(logFile);
        logFile = nullptr;
    }
};

Simulator::Simulator(Options options) : impl_(std::make_unique<Impl>(std::move(options)))
{
    const bool factory = impl_->options.factory;
    for (char letter : {'t', 'u', 'x'})
        impl_->BlockFor(letter) = factory ? FactoryBlock(letter) : UserBlock(letter);
    impl_->lineBaud = BaudForIndex(ReadLe32(impl_->set2Printer, BaudIndexOffset));
}

Simulator::~Simulator()
{
    Stop();
}

void Simulator::Start()
{
    Impl& d = *impl_;
    std::lock_guard lock(d.mutex);
    if (d.running)
        return;
    uint32_t ip = 0;
    if (d.options.tcp && (!ParseIpv4(d.options.tcpAddress, ip) || !IsLoopback(ip)))
        throw std::runtime_error("krn310-sim listens on loopback only (127.0.0.0/8), not at \"" +
                                 d.options.tcpAddress + "\"");
    if (!d.options.tcp && !d.options.pty)
        throw std::runtime_error("krn310-sim needs --tcp or --pty");
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("krn310-sim: cannot create a pipe");
    d.wakeRead = pipeFds[0];
    d.wakeWrite = pipeFds[1];
    std::string error;
    if (d.options.tcp) {
        d.listenFd = io::OpenListener(ip, d.options.tcpPort, d.listenPort, error);
        if (d.listenFd < 0) {
            d.CloseAll();
            throw std::runtime_error("krn310-sim cannot listen at " + d.options.tcpAddress + ":" +
                                     std::to_string(d.options.tcpPort) + ": " + error);
        }
        d.listenIp = ip;
        d.PutOwnAddressInto(d.set2Network);
    }
    if (d.options.pty) {
        if (!io::OpenPty(d.pty, error)) {
            d.CloseAll();
            throw std::runtime_error("krn310-sim cannot open a pseudo-terminal: " + error);
        }
        d.ptyPath = d.pty.path;
        d.speedWeSet = io::SetSpeed(d.pty.slave, d.lineBaud);
    }
    if (!d.options.logPath.empty()) {
        d.logFile = std::fopen(d.options.logPath.c_str(), "w");
        if (!d.logFile) {
            d.CloseAll();
            throw std::runtime_error("krn310-sim cannot write the log " + d.options.logPath);
        }
    }
    d.tcpParser.Reset();
    d.ptyParser.Reset();
    d.startedAt = std::chrono::steady_clock::now();
    d.running = true;
    d.thread = std::thread([&d] { d.Run(); });
}

void Simulator::Stop()
{
    Impl& d = *impl_;
    {
        std::lock_guard lock(d.mutex);
        if (!d.running)
            return;
        d.running = false;
    }
    const uint8_t wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(d.wakeWrite, &wake, 1);
    d.thread.join();
    std::lock_guard lock(d.mutex);
    d.CloseAll();
}

std::string Simulator::TcpAddress() const
{
    std::lock_guard lock(impl_->mutex);
    return FormatIpv4(impl_->listenIp);
}

uint16_t Simulator::TcpPort() const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->listenPort;
}

std::string Simulator::PtyPath() const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->ptyPath;
}

std::array<uint8_t, 256> Simulator::Block(char letter) const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->BlockFor(letter);
}

void Simulator::SetBlock(char letter, const std::array<uint8_t, 256>& block)
{
    std::lock_guard lock(impl_->mutex);
    impl_->BlockFor(letter) = block;
}

void Simulator::SetIdentification(char which, std::string text)
{
    std::lock_guard lock(impl_->mutex);
    impl_->identification[IdentificationSlot(which)] = std::move(text);
}

void Simulator::SetStatus(int n, uint8_t statusByte)
{
    if (n != 1 && n != 2 && n != 4)
        throw std::invalid_argument("DLE EOT " + std::to_string(n) + " has no status byte");
    std::lock_guard lock(impl_->mutex);
    impl_->status[size_t(n)] = statusByte;
}

void Simulator::SetFaults(const Faults& faults)
{
    std::lock_guard lock(impl_->mutex);
    impl_->faults = faults;
}

void Simulator::SetPacing(bool on)
{
    std::lock_guard lock(impl_->mutex);
    impl_->pacing = on;
}

uint32_t Simulator::LineBaud() const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->lineBaud;
}

std::vector<LoggedMessage> Simulator::Log() const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->log;
}

void Simulator::ClearLog()
{
    std::lock_guard lock(impl_->mutex);
    impl_->log.clear();
}

bool Simulator::WaitForLog(size_t count, int timeoutMs) const
{
    std::unique_lock lock(impl_->mutex);
    return impl_->logGrew.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return impl_->log.size() >= count; });
}

int Simulator::Restarts() const
{
    std::lock_guard lock(impl_->mutex);
    return impl_->restarts;
}

}  // namespace krn310::sim
