#include "platform/net/HostResolver.h"

#include "platform/net/WinSockErrors.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>

namespace krn310::net {

namespace {

class TSystemHostResolver : public IHostResolver {
public:
    int Resolve(const std::string& name, THostEntry& entry) override
    {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_CANONNAME;
        addrinfo* found = nullptr;
        errno = 0;
        const int result = getaddrinfo(name.c_str(), nullptr, &hints, &found);
        if (result != 0)
            return WinSockErrorFromGai(result, errno);
        entry = THostEntry{};
        entry.h_name = found->ai_canonname ? found->ai_canonname : name;
        for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
            if (a->ai_family != AF_INET)
                continue;
            const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
            entry.h_addr_list.push_back(in->sin_addr.s_addr);
        }
        freeaddrinfo(found);
        return entry.h_addr_list.empty() ? WSANO_DATA : 0;
    }
};

std::shared_ptr<IHostResolver>& Installed()
{
    static std::shared_ptr<IHostResolver> installed;
    return installed;
}

} // namespace

std::shared_ptr<IHostResolver> SystemHostResolver()
{
    static const auto system = std::make_shared<TSystemHostResolver>();
    return system;
}

std::shared_ptr<IHostResolver> CurrentHostResolver()
{
    return Installed() ? Installed() : SystemHostResolver();
}

ScopedHostResolver::ScopedHostResolver(std::shared_ptr<IHostResolver> resolver)
    : previous_(std::move(Installed()))
{
    Installed() = std::move(resolver);
}

ScopedHostResolver::~ScopedHostResolver()
{
    Installed() = std::move(previous_);
}

} // namespace krn310::net
