#pragma once

#include <cstdint>

namespace krn310::net {

// With KRN310_LOOPBACK_ONLY=1 in the environment the program may reach only
// this machine: connects, binds and name lookups outside 127.0.0.0/8 are
// refused before anything goes on the wire.
bool LoopbackOnly();

// address in network byte order.
bool IsLoopbackAddress(uint32_t address);

// True when the guard lets this address be used.
bool AddressAllowed(uint32_t address);

} // namespace krn310::net
