#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace krn310::sim {

enum class CommandKind {
    Identification,   // GS I n, selector 'A'..'D'
    Status,           // DLE EOT n, selector 1, 2, 4
    ReadBlock,        // GS ( E fn 6, selector 't', 'u', 'x'
    WriteBlock,       // GS ( E fn 5 't', 'u', 'x' and the 256 block bytes
    RestoreFactory,   // GS ( E fn 5, selector 'v' (set 1) or 'w' (set 2)
    Initialize,       // ESC @
    Restart,          // ESC B
};

struct Command {
    CommandKind kind;
    uint8_t selector = 0;
    std::vector<uint8_t> bytes;   // the whole command as received
};

// Cuts a byte stream into commands. Bytes that cannot begin a known command
// are skipped one at a time, so the parser finds its feet again after noise;
// a command cut across reads waits for its remaining bytes.
class CommandParser {
public:
    std::vector<Command> Feed(const uint8_t* data, size_t length);
    void Reset();
    size_t PendingBytes() const { return pending_.size(); }

private:
    std::vector<uint8_t> pending_;
};

}  // namespace krn310::sim
