#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

// The simulator's few system calls: a loopback listener, a pseudo-terminal,
// writes and pauses that a stop request interrupts.
namespace krn310::sim::io {

void CloseFd(int& fd);

// Listens at ip:port (port 0: any free port). Returns the descriptor, or -1 with the reason in error.
int OpenListener(uint32_t ip, uint16_t port, uint16_t& boundPort, std::string& error);
int AcceptClient(int listenFd);
// Closes with SO_LINGER 0, so the peer sees a reset instead of an orderly end.
void ResetAndClose(int& fd);

struct Pty {
    int master = -1;
    int slave = -1;   // held open so the master never sees a hang-up between the configurator's opens
    std::string path;
};
bool OpenPty(Pty& pty, std::string& error);
// Raw mode, so the line discipline neither echoes nor edits what passes.
void MakeRaw(int ttyFd);
// Sets the line speed where termios has a constant for it; returns the speed termios now reports.
uint32_t SetSpeed(int ttyFd, uint32_t baud);
uint32_t CurrentSpeed(int ttyFd);   // 0 when unknown

// Both return false when wakeFd became readable (a stop) or the descriptor failed.
bool WriteAll(int fd, const uint8_t* data, size_t length, int wakeFd);
bool SleepUntil(std::chrono::steady_clock::time_point until, int wakeFd);
bool SleepFor(std::chrono::milliseconds duration, int wakeFd);

}  // namespace krn310::sim::io
