#pragma once

#include "platform/net/WinSockTypes.h"

#include <memory>
#include <string>

namespace krn310::net {

// Turns a host name into IPv4 addresses. Resolve runs on worker threads, so
// an implementation must be safe to call from any thread.
class IHostResolver {
public:
    virtual ~IHostResolver() = default;
    // 0 and the entry filled, or a WinSock code (11001..11004, ...).
    virtual int Resolve(const std::string& name, THostEntry& entry) = 0;
};

// The system's resolver (getaddrinfo, IPv4 only).
std::shared_ptr<IHostResolver> SystemHostResolver();

// The resolver the socket layer uses now: the system's unless a test has
// installed one. Read and installed on the user-interface thread only.
std::shared_ptr<IHostResolver> CurrentHostResolver();

// Installs a resolver for the lifetime of the object, restoring the previous one.
class ScopedHostResolver {
public:
    explicit ScopedHostResolver(std::shared_ptr<IHostResolver> resolver);
    ~ScopedHostResolver();
    ScopedHostResolver(const ScopedHostResolver&) = delete;
    ScopedHostResolver& operator=(const ScopedHostResolver&) = delete;

private:
    std::shared_ptr<IHostResolver> previous_;
};

} // namespace krn310::net
