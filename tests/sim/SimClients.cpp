#include "tests/sim/SimClients.h"

#include <array>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace krn310::sim::test {
namespace {

sockaddr_in Loopback(const std::string& ip, uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    return address;
}

int ConnectFd(uint16_t port, const std::string& ip)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(ip, port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int RemainingMs(std::chrono::steady_clock::time_point until)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

}  // namespace

Peer& Peer::operator=(Peer&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

Peer::~Peer()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void Peer::Send(const Bytes& bytes) const
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) {
            const ssize_t w = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (w <= 0)
                throw std::runtime_error("write to the pty failed");
            done += size_t(w);
            continue;
        }
        if (n <= 0)
            throw std::runtime_error("send to the simulator failed");
        done += size_t(n);
    }
}

Bytes Peer::Read(size_t count, int limitMs) const
{
    Bytes bytes;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (bytes.size() < count) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, RemainingMs(until)) <= 0)
            break;
        uint8_t buffer[512];
        const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

Bytes Peer::ReadFor(int waitMs) const
{
    return Read(SIZE_MAX, waitMs);
}

int Peer::WaitForEnd(int limitMs) const
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, RemainingMs(until)) <= 0)
            return -1;
        uint8_t buffer[512];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n == 0)
            return 0;
        if (n < 0)
            return errno;
    }
}

Peer ConnectTcp(uint16_t port, const std::string& ip)
{
    const int fd = ConnectFd(port, ip);
    if (fd < 0)
        throw std::runtime_error("cannot connect to the simulator at " + ip + ":" + std::to_string(port));
    return Peer(fd);
}

bool CanConnect(uint16_t port, const std::string& ip)
{
    const int fd = ConnectFd(port, ip);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

Peer OpenPtyRaw(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    return Peer(fd);
}

uint16_t FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback("127.0.0.1", 0);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes ToBytes(const std::array<uint8_t, 256>& block)
{
    return Bytes(block.begin(), block.end());
}

}  // namespace krn310::sim::test
