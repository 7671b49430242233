#include "platform/net/WinSockErrors.h"
#include "socket/Zsocket.h"

#include <gtest/gtest.h>

#include <netdb.h>

#include <cerrno>

namespace krn310 {
namespace {

TEST(SocketErrorText, GivesTheFixedTextOfEachCode)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "Not a WinSock error"},
        {1, "Not a WinSock error"},
        {4, "Not a WinSock error"},
        {10000, "Not a WinSock error"},
        {10003, "Not a WinSock error"},
        {10004, "Interrupted system call"},
        {10013, "Permission denied"},
        {10035, "Operation would block"},
        {10038, "Socket operation on non-socket"},
        {10047, "Address family not supported by protocol family"},
        {10049, "Cant assign requested address"},
        {10051, "Network is unreachable"},
        {10054, "Connection reset by peer"},
        {10059, "Too many references: cant splice"},
        {10061, "Connection refused"},
        {10071, "Too many levels of remote in path"},
        {10072, "Not a WinSock error"},
        {10091, "Network sub-system is unusable"},
        {10092, "WinSock DLL cannot support this application"},
        {10093, "WinSock not initialized"},
        {11001, "Host not found"},
        {11002, "Nonauthoritative host not found"},
        {11003, "Nonrecoverable error"},
        {11004, "No Data"},
        {11005, "Not a WinSock error"},
        {-10054, "Not a WinSock error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TZSocket::SocketErrorText(c.code), c.text) << c.code;
}

TEST(WinSockErrors, LinuxErrorNumbersBecomeWinSockCodes)
{
    const struct {
        int linuxError;
        int winsock;
    } cases[] = {
        {0, 0},
        {ECONNREFUSED, 10061},
        {ECONNRESET, 10054},
        {EPIPE, 10054},
        {EBADF, 10038},
        {ENOTSOCK, 10038},
        {EWOULDBLOCK, 10035},
        {EAGAIN, 10035},
        {EINPROGRESS, 10036},
        {EALREADY, 10037},
        {ETIMEDOUT, 10060},
        {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049},
        {EHOSTUNREACH, 10065},
        {ENETUNREACH, 10051},
        {ENOTCONN, 10057},
        {EACCES, 10013},
        {EINTR, 10004},
        {EMFILE, 10024},
    };
    for (const auto& c : cases)
        EXPECT_EQ(net::WinSockErrorFromErrno(c.linuxError), c.winsock) << c.linuxError;
}

TEST(WinSockErrors, LookupResultsBecomeHostCodes)
{
    EXPECT_EQ(net::WinSockErrorFromGai(0, 0), 0);
    EXPECT_EQ(net::WinSockErrorFromGai(EAI_NONAME, 0), 11001);
    EXPECT_EQ(net::WinSockErrorFromGai(EAI_AGAIN, 0), 11002);
    EXPECT_EQ(net::WinSockErrorFromGai(EAI_FAIL, 0), 11003);
    EXPECT_EQ(net::WinSockErrorFromGai(EAI_NODATA, 0), 11004);
    EXPECT_EQ(net::WinSockErrorFromGai(EAI_SYSTEM, ETIMEDOUT), 10060);
}

} // namespace
} // namespace krn310
