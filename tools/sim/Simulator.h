#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace krn310::sim {

struct Options {
    bool tcp = false;
    std::string tcpAddress = "127.0.0.1";
    uint16_t tcpPort = 0;            // 0 = any free port
    bool pty = false;
    bool factory = false;            // start from factory values (UserFlag != 1)
    std::string logPath;             // optional file log of received messages
    bool pacing = true;              // pty: pace output at the line speed (off for fast tests)
};

struct LoggedMessage {
    uint64_t atMs;                   // ms since Start
    std::vector<uint8_t> bytes;      // one parsed command
};

struct Faults {                      // each switchable at any time
    bool silent = false;             // answer nothing
    int silentOnCommand = -1;        // 0-based index (since Start) of a received command to leave unanswered
    int splitAfter = 0;              // send a reply in two parts: first N bytes, pause, rest
    int splitPauseMs = 0;
    std::vector<uint8_t> surplus{};  // extra bytes after each reply
    std::vector<uint8_t> garbage{};  // bytes sent before each reply
    bool dropMidReply = false;       // TCP: close after half a reply; pty: go silent mid-reply
    bool resetConnection = false;    // TCP: RST (SO_LINGER 0) at the next command; clears itself once done
    int slowReplyMs = 0;             // delay before each reply
    std::vector<uint8_t> silentOnBytes{};  // leave every command with exactly these bytes unanswered
};

class Simulator {
public:
    explicit Simulator(Options options);
    ~Simulator();                    // stops
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    void Start();                    // throws std::runtime_error on failure (e.g. non-loopback address)
    void Stop();

    std::string TcpAddress() const;  // where it listens now (changes after ESC B)
    uint16_t TcpPort() const;
    std::string PtyPath() const;     // e.g. /dev/pts/7, the device the configurator opens

    std::array<uint8_t, 256> Block(char letter) const;          // 't', 'u', 'x'
    void SetBlock(char letter, const std::array<uint8_t, 256>& block);
    void SetIdentification(char which, std::string text);       // 'A' firmware, 'B' maker, 'C' model, 'D' serial
    void SetStatus(int n, uint8_t statusByte);                  // n = 1, 2, 4 (DLE EOT n)
    void SetFaults(const Faults& faults);
    void SetPacing(bool on);         // pty: pace output at the line speed
    uint32_t LineBaud() const;       // pty: the speed the 'u' block set at start or the last restart

    std::vector<LoggedMessage> Log() const;
    void ClearLog();
    bool WaitForLog(size_t count, int timeoutMs) const;         // true when at least count messages arrived
    int Restarts() const;                                        // ESC B restarts so far

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

std::array<uint8_t, 256> FactoryBlock(char letter);             // the factory values the sim restores ('t','u','x')

}  // namespace krn310::sim
