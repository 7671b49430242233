#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace krn310::sim::test {

using Bytes = std::vector<uint8_t>;

// The configurator's end of a link to the simulator: a loopback socket or the pty's slave side.
class Peer {
public:
    Peer() = default;
    explicit Peer(int fd) : fd_(fd) {}
    Peer(Peer&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Peer& operator=(Peer&& other) noexcept;
    ~Peer();

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    void Send(const Bytes& bytes) const;
    // Up to count bytes; fewer when limitMs passes or the other side closes.
    Bytes Read(size_t count, int limitMs = 5000) const;
    // Whatever arrives within waitMs.
    Bytes ReadFor(int waitMs) const;
    // errno of the read that ended the stream (0 for an orderly end), or -1 if it stays open.
    int WaitForEnd(int limitMs = 5000) const;

private:
    int fd_ = -1;
};

Peer ConnectTcp(uint16_t port, const std::string& ip = "127.0.0.1");
bool CanConnect(uint16_t port, const std::string& ip = "127.0.0.1");
Peer OpenPtyRaw(const std::string& path);
uint16_t FreeLoopbackPort();

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes ToBytes(const std::array<uint8_t, 256>& block);

}  // namespace krn310::sim::test
