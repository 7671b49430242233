#include "platform/net/WinSockErrors.h"

#include <netdb.h>

#include <cerrno>
#include <utility>

namespace krn310::net {

namespace {

// EAGAIN and EWOULDBLOCK (and ENOTSUP and EOPNOTSUPP) are one value on Linux,
// so the table is searched rather than switched on.
constexpr std::pair<int, int> kErrnoToWinSock[] = {
    {EINTR, WSAEINTR},
    {EBADF, WSAENOTSOCK},
    {EACCES, WSAEACCES},
    {EPERM, WSAEACCES},
    {EFAULT, WSAEFAULT},
    {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE},
    {ENFILE, WSAEMFILE},
    {EWOULDBLOCK, WSAEWOULDBLOCK},
    {EAGAIN, WSAEWOULDBLOCK},
    {EINPROGRESS, WSAEINPROGRESS},
    {EALREADY, WSAEALREADY},
    {ENOTSOCK, WSAENOTSOCK},
    {EDESTADDRREQ, WSAEDESTADDRREQ},
    {EMSGSIZE, WSAEMSGSIZE},
    {EPROTOTYPE, WSAEPROTOTYPE},
    {ENOPROTOOPT, WSAENOPROTOOPT},
    {EPROTONOSUPPORT, WSAEPROTONOSUPPORT},
    {ESOCKTNOSUPPORT, WSAESOCKTNOSUPPORT},
    {EOPNOTSUPP, WSAEOPNOTSUPP},
    {EPFNOSUPPORT, WSAEPFNOSUPPORT},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT},
    {EADDRINUSE, WSAEADDRINUSE},
    {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN},
    {ENETUNREACH, WSAENETUNREACH},
    {ENETRESET, WSAENETRESET},
    {ECONNABORTED, WSAECONNABORTED},
    {ECONNRESET, WSAECONNRESET},
    // Linux reports a send on a connection the peer has reset as EPIPE;
    // WinSock calls that a reset.
    {EPIPE, WSAECONNRESET},
    {ENOBUFS, WSAENOBUFS},
    {ENOMEM, WSAENOBUFS},
    {EISCONN, WSAEISCONN},
    {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN},
    {ETOOMANYREFS, WSAETOOMANYREFS},
    {ETIMEDOUT, WSAETIMEDOUT},
    {ECONNREFUSED, WSAECONNREFUSED},
    {ELOOP, WSAELOOP},
    {ENAMETOOLONG, WSAENAMETOOLONG},
    {EHOSTDOWN, WSAEHOSTDOWN},
    {EHOSTUNREACH, WSAEHOSTUNREACH},
    {ENOTEMPTY, WSAENOTEMPTY},
    {EUSERS, WSAEUSERS},
    {EDQUOT, WSAEDQUOT},
    {ESTALE, WSAESTALE},
    {EREMOTE, WSAEREMOTE},
};

} // namespace

int WinSockErrorFromErrno(int error)
{
    if (error == 0)
        return 0;
    for (const auto& [errnoValue, winsock] : kErrnoToWinSock)
        if (errnoValue == error)
            return winsock;
    return WSAEINVAL;
}

int WinSockErrorFromGai(int gaiResult, int errnoValue)
{
    switch (gaiResult) {
    case 0:
        return 0;
    case EAI_NONAME:
        return WSAHOST_NOT_FOUND;
    case EAI_AGAIN:
        return WSATRY_AGAIN;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        return WSANO_DATA;
    case EAI_MEMORY:
        return WSAENOBUFS;
    case EAI_SYSTEM:
        return errnoValue != 0 ? WinSockErrorFromErrno(errnoValue) : WSANO_RECOVERY;
    default:
        return WSANO_RECOVERY;
    }
}

} // namespace krn310::net
