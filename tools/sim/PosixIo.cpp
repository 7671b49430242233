#include "tools/sim/PosixIo.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace krn310::sim::io {
namespace {

void SetNonBlocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

struct SpeedEntry {
    uint32_t baud;
    speed_t speed;
};

// 28800 and 14400 have no termios constant; the line then keeps its old speed.
constexpr SpeedEntry SpeedTable[] = {
    {115200, B115200}, {57600, B57600}, {38400, B38400}, {19200, B19200}, {9600, B9600},
    {4800, B4800},     {2400, B2400},   {1200, B1200},   {600, B600},     {230400, B230400},
    {300, B300},
};

bool IsSocket(int fd)
{
    int type = 0;
    socklen_t length = sizeof type;
    return getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) == 0;
}

// Waits for fd to become ready for events, or until the deadline; false on a stop.
bool WaitReady(int fd, short events, const timespec* timeout, int wakeFd)
{
    pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, events, 0}};
    const nfds_t count = fd >= 0 ? 2 : 1;
    for (;;) {
        const int n = ppoll(fds, count, timeout, nullptr);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        return (fds[0].revents & POLLIN) == 0;
    }
}

}  // namespace

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

int OpenListener(uint32_t ip, uint16_t port, uint16_t& boundPort, std::string& error)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(ip);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 4) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    boundPort = ntohs(address.sin_port);
    SetNonBlocking(fd);
    return fd;
}

int AcceptClient(int listenFd)
{
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd >= 0) {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    return fd;
}

void ResetAndClose(int& fd)
{
    if (fd < 0)
        return;
    linger option{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &option, sizeof option);
    CloseFd(fd);
}

bool OpenPty(Pty& pty, std::string& error)
{
    pty.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.master < 0 || grantpt(pty.master) != 0 || unlockpt(pty.master) != 0) {
        error = std::strerror(errno);
        CloseFd(pty.master);
        return false;
    }
    char name[128];
    if (ptsname_r(pty.master, name, sizeof name) != 0) {
        error = std::strerror(errno);
        CloseFd(pty.master);
        return false;
    }
    pty.path = name;
    pty.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.slave < 0) {
        error = std::strerror(errno);
        CloseFd(pty.master);
        return false;
    }
    MakeRaw(pty.slave);
    SetNonBlocking(pty.master);
    return true;
}

void MakeRaw(int ttyFd)
{
    termios t{};
    if (tcgetattr(ttyFd, &t) != 0)
        return;
    cfmakeraw(&t);
    tcsetattr(ttyFd, TCSANOW, &t);
}

uint32_t SetSpeed(int ttyFd, uint32_t baud)
{
    termios t{};
    if (tcgetattr(ttyFd, &t) != 0)
        return 0;
    for (const SpeedEntry& entry : SpeedTable) {
        if (entry.baud == baud) {
            cfsetispeed(&t, entry.speed);
            cfsetospeed(&t, entry.speed);
            tcsetattr(ttyFd, TCSANOW, &t);
            break;
        }
    }
    return CurrentSpeed(ttyFd);
}

uint32_t CurrentSpeed(int ttyFd)
{
    termios t{};
    if (tcgetattr(ttyFd, &t) != 0)
        return 0;
    const speed_t speed = cfgetospeed(&t);
    for (const SpeedEntry& entry : SpeedTable)
        if (entry.speed == speed)
            return entry.baud;
    return 0;
}

bool WriteAll(int fd, const uint8_t* data, size_t length, int wakeFd)
{
    const bool socket = IsSocket(fd);
    while (length > 0) {
        const ssize_t written = socket ? ::send(fd, data, length, MSG_NOSIGNAL) : ::write(fd, data, length);
        if (written > 0) {
            data += written;
            length -= size_t(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitReady(fd, POLLOUT, nullptr, wakeFd))
                return false;
            continue;
        }
        return false;
    }
    return true;
}

bool SleepUntil(std::chrono::steady_clock::time_point until, int wakeFd)
{
    auto left = until - std::chrono::steady_clock::now();
    if (left < std::chrono::nanoseconds(0))
        left = std::chrono::nanoseconds(0);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const timespec timeout{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
    return WaitReady(-1, 0, &timeout, wakeFd);
}

bool SleepFor(std::chrono::milliseconds duration, int wakeFd)
{
    return SleepUntil(std::chrono::steady_clock::now() + duration, wakeFd);
}

}  // namespace krn310::sim::io
