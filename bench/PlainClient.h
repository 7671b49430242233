#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace krn310::bench {

struct PlainRead {
    bool ok = false;
    double ms = 0;             // connect, ten commands, each reply whole
    size_t bytesSent = 0;
    size_t bytesReceived = 0;
};

// The baseline: a blocking client that connects, sends the ten commands of a
// full read one after the other and reads each reply until it is whole by
// the exchange's own completeness tests. No event loop, no window.
PlainRead PlainReadAllOverTcp(const std::string& dottedAddress, uint16_t port);

} // namespace krn310::bench
