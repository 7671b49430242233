#include "platform/net/WinSock.h"

#include "platform/net/LoopbackGuard.h"
#include "platform/net/WinSockErrors.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace krn310::net {

namespace {

// A notifier may be dropped from inside its own activation: stop it at once,
// free it from the event loop.
struct NotifierDeleter {
    void operator()(QSocketNotifier* notifier) const
    {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
};
using NotifierPtr = std::unique_ptr<QSocketNotifier, NotifierDeleter>;

int Fd(TSocket s)
{
    return static_cast<int>(s);
}

sockaddr_in ToSystem(const TSockAddrIn& address)
{
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_port = address.sin_port;
    in.sin_addr.s_addr = address.sin_addr;
    return in;
}

TSockAddrIn FromSystem(const sockaddr_in& in)
{
    TSockAddrIn address;
    address.sin_family = static_cast<uint16_t>(in.sin_family);
    address.sin_port = in.sin_port;
    address.sin_addr = in.sin_addr.s_addr;
    return address;
}

int SystemFlags(int flags)
{
    int system = 0;
    if (flags & WSA_MSG_OOB)
        system |= MSG_OOB;
    if (flags & WSA_MSG_PEEK)
        system |= MSG_PEEK;
    return system;
}

// getsockname or getpeername into a WinSock record.
bool ReadName(int fd, TSockAddrIn& address, int (*call)(int, sockaddr*, socklen_t*))
{
    sockaddr_in in{};
    socklen_t length = sizeof in;
    if (call(fd, reinterpret_cast<sockaddr*>(&in), &length) != 0)
        return false;
    address = FromSystem(in);
    return true;
}

bool WouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK;
}

bool NonBlocking(int fd)
{
    return (fcntl(fd, F_GETFL) & O_NONBLOCK) != 0;
}

bool SetNonBlocking(int fd, bool on)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    return fcntl(fd, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) == 0;
}

// Socket options whose value is one int on both sides.
struct IntOption {
    int winsockLevel, winsockName, level, name;
};
constexpr IntOption kIntOptions[] = {
    {WSA_SOL_SOCKET, WSA_SO_REUSEADDR, SOL_SOCKET, SO_REUSEADDR},
    {WSA_SOL_SOCKET, WSA_SO_KEEPALIVE, SOL_SOCKET, SO_KEEPALIVE},
    {WSA_SOL_SOCKET, WSA_SO_SNDBUF, SOL_SOCKET, SO_SNDBUF},
    {WSA_SOL_SOCKET, WSA_SO_RCVBUF, SOL_SOCKET, SO_RCVBUF},
    {WSA_SOL_SOCKET, WSA_SO_ERROR, SOL_SOCKET, SO_ERROR},
    {WSA_SOL_SOCKET, WSA_SO_TYPE, SOL_SOCKET, SO_TYPE},
    {WSA_IPPROTO_TCP, WSA_TCP_NODELAY, IPPROTO_TCP, TCP_NODELAY},
};

const IntOption* FindIntOption(int level, int name)
{
    for (const IntOption& option : kIntOptions)
        if (option.winsockLevel == level && option.winsockName == name)
            return &option;
    return nullptr;
}

// WinSock's linger record: two 16-bit fields.
struct WinSockLinger {
    uint16_t l_onoff;
    uint16_t l_linger;
};

} // namespace

struct TWinSock::SocketState {
    TSocket socket = INVALID_SOCKET;
    uint64_t serial = 0;
    bool listening = false;
    bool connecting = false;   // its outcome is still to be told as FD_CONNECT
    bool connected = false;
    bool peerClosed = false;   // FD_CLOSE has been told
    int stickyError = 0;       // a reset stays the answer to every later call
    THiddenWindow* window = nullptr;
    uint32_t msg = 0;
    long events = 0;
    bool readArmed = true;     // FD_READ / FD_ACCEPT / FD_CLOSE may be told
    bool writeArmed = false;   // FD_WRITE may be told
    bool oobArmed = true;      // FD_OOB may be told
    NotifierPtr read, write, exception;
};

TWinSock::TWinSock() = default;

TWinSock::~TWinSock()
{
    WSACleanup();
}

int TWinSock::WSAStartup(uint16_t version)
{
    if ((version & 0xFF) < 1)
        return WSAVERNOTSUPPORTED;
    return 0;
}

int TWinSock::WSACleanup()
{
    while (!sockets_.empty())
        CloseSocket(sockets_.begin()->first);
    ForgetLookups();
    return 0;
}

int TWinSock::Fail(int winsockError)
{
    lastError_ = winsockError;
    return SOCKET_ERROR;
}

int TWinSock::FailErrno()
{
    return Fail(WinSockErrorFromErrno(errno));
}

TWinSock::SocketState* TWinSock::Find(TSocket s)
{
    auto it = sockets_.find(s);
    return it == sockets_.end() ? nullptr : it->second.get();
}

TWinSock::SocketState* TWinSock::FindSerial(TSocket s, uint64_t serial)
{
    SocketState* state = Find(s);
    return state && state->serial == serial ? state : nullptr;
}

TSocket TWinSock::Track(int fd, bool connected)
{
    auto state = std::make_unique<SocketState>();
    state->socket = static_cast<TSocket>(fd);
    state->serial = nextSerial_++;
    state->connected = connected;
    sockets_[state->socket] = std::move(state);
    return static_cast<TSocket>(fd);
}

TSocket TWinSock::Socket()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        FailErrno();
        return INVALID_SOCKET;
    }
    return Track(fd, false);
}

int TWinSock::Connect(TSocket s, const TSockAddrIn& address)
{
    SocketState* state = Find(s);
    if (!state)
        return Fail(WSAENOTSOCK);
    if (address.sin_family != WSA_AF_INET)
        return Fail(WSAEAFNOSUPPORT);
    if (!AddressAllowed(address.sin_addr))
        return Fail(WSAENETUNREACH);
    const sockaddr_in in = ToSystem(address);
    const int result = ::connect(Fd(s), reinterpret_cast<const sockaddr*>(&in), sizeof in);
    const int error = errno;
    if (result == 0 || error == EINPROGRESS) {
        // A non-blocking connect always ends as FD_CONNECT, even one that
        // stood at once.
        state->connecting = NonBlocking(Fd(s));
        state->connected = !state->connecting;
        UpdateNotifiers(*state);
        return result == 0 ? 0 : Fail(WSAEWOULDBLOCK);
    }
    return Fail(WinSockErrorFromErrno(error));
}

int TWinSock::Bind(TSocket s, const TSockAddrIn& address)
{
    if (!Find(s))
        return Fail(WSAENOTSOCK);
    if (address.sin_family != WSA_AF_INET)
        return Fail(WSAEAFNOSUPPORT);
    if (!AddressAllowed(address.sin_addr))
        return Fail(WSAEADDRNOTAVAIL);
    // As on Windows, a port whose old connections linger in TIME_WAIT can be
    // bound again.
    const int on = 1;
    setsockopt(Fd(s), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in in = ToSystem(address);
    if (::bind(Fd(s), reinterpret_cast<const sockaddr*>(&in), sizeof in) != 0)
        return FailErrno();
    return 0;
}

int TWinSock::Listen(TSocket s, int backlog)
{
    SocketState* state = Find(s);
    if (!state)
        return Fail(WSAENOTSOCK);
    if (::listen(Fd(s), backlog) != 0)
        return FailErrno();
    state->listening = true;
    state->readArmed = true;
    UpdateNotifiers(*state);
    return 0;
}

TSocket TWinSock::Accept(TSocket s, TSockAddrIn* peer)
{
    SocketState* state = Find(s);
    if (!state) {
        Fail(WSAENOTSOCK);
        return INVALID_SOCKET;
    }
    sockaddr_in in{};
    socklen_t length = sizeof in;
    const int fd = ::accept4(Fd(s), reinterpret_cast<sockaddr*>(&in), &length, SOCK_CLOEXEC);
    const int error = errno;
    state->readArmed = true;
    UpdateNotifiers(*state);
    if (fd < 0) {
        Fail(WinSockErrorFromErrno(error));
        return INVALID_SOCKET;
    }
    if (peer)
        *peer = FromSystem(in);
    return Track(fd, true);
}

int TWinSock::Shutdown(TSocket s, int how)
{
    if (!Find(s))
        return Fail(WSAENOTSOCK);
    const int system = how == SD_RECEIVE ? SHUT_RD : how == SD_SEND ? SHUT_WR : SHUT_RDWR;
    if (::shutdown(Fd(s), system) != 0)
        return FailErrno();
    return 0;
}

int TWinSock::CloseSocket(TSocket s)
{
    auto it = sockets_.find(s);
    if (it == sockets_.end())
        return Fail(WSAENOTSOCK);
    sockets_.erase(it);
    if (::close(Fd(s)) != 0 && errno != EINTR)
        return FailErrno();
    return 0;
}

int TWinSock::Send(TSocket s, const uint8_t* buf, int len, int flags)
{
    SocketState* state = Find(s);
    if (!state)
        return Fail(WSAENOTSOCK);
    if (state->stickyError)
        return Fail(state->stickyError);
    if (len < 0 || (len > 0 && buf == nullptr))
        return Fail(WSAEFAULT);
    const ssize_t n = ::send(Fd(s), buf, static_cast<size_t>(len), SystemFlags(flags) | MSG_NOSIGNAL);
    if (n < 0) {
        const int error = errno;
        if (WouldBlock(error)) {
            state->writeArmed = true;
            UpdateNotifiers(*state);
        }
        return Fail(WinSockErrorFromErrno(error));
    }
    return static_cast<int>(n);
}

int TWinSock::Recv(TSocket s, uint8_t* buf, int len, int flags)
{
    SocketState* state = Find(s);
    if (!state)
        return Fail(WSAENOTSOCK);
    if (state->stickyError)
        return Fail(state->stickyError);
    if (len < 0 || (len > 0 && buf == nullptr))
        return Fail(WSAEFAULT);
    const ssize_t n = ::recv(Fd(s), buf, static_cast<size_t>(len), SystemFlags(flags));
    const int error = errno;
    if (flags & WSA_MSG_OOB)
        state->oobArmed = true;
    else
        state->readArmed = true;
    UpdateNotifiers(*state);
    if (n < 0) {
        const int winsockError = WinSockErrorFromErrno(error);
        if (winsockError == WSAECONNRESET)
            state->stickyError = winsockError;
        return Fail(winsockError);
    }
    return static_cast<int>(n);
}

int TWinSock::GetSockName(TSocket s, TSockAddrIn& address)
{
    if (!Find(s))
        return Fail(WSAENOTSOCK);
    return ReadName(Fd(s), address, ::getsockname) ? 0 : FailErrno();
}

int TWinSock::GetPeerName(TSocket s, TSockAddrIn& address)
{
    if (!Find(s))
        return Fail(WSAENOTSOCK);
    return ReadName(Fd(s), address, ::getpeername) ? 0 : FailErrno();
}

int TWinSock::SetSockOpt(TSocket s, int level, int optname, const char* optval, int optlen)
{
    if (!Find(s))
        return Fail(WSAENOTSOCK);
    if (optval == nullptr)
        return Fail(WSAEFAULT);
    if (level == WSA_SOL_SOCKET && optname == WSA_SO_LINGER) {
        if (optlen < static_cast<int>(sizeof(WinSockLinger)))
            return Fail(WSAEFAULT);
        WinSockLinger record;
        std::memcpy(&record, optval, sizeof record);
        const linger system{record.l_onoff, record.l_linger};
        if (::setsockopt(Fd(s), SOL_SOCKET, SO_LINGER, &system, sizeof system) != 0)
            return FailErrno();
        return 0;
    }
    const IntOption* option = FindIntOption(level, optname);
    if (!option)
        return Fail(WSAENOPROTOOPT);
    if (optlen < static_cast<int>(sizeof(int)))
        return Fail(WSAEFAULT);
    int value = 0;
    std::memcpy(&value, optval, sizeof value);
    if (::setsockopt(Fd(s), option->level, option->name, &value, sizeof value) != 0)
        return FailErrno();
    return 0;
}

int TWinSock::GetSockOpt(TSocket s, int level, int optname, char* optval, int* optlen)
{
    if (!Find(s))
        return Fail(WSAENOTSOCK);
    if (optval == nullptr || optlen == nullptr)
        return Fail(WSAEFAULT);
    if (level == WSA_SOL_SOCKET && optname == WSA_SO_LINGER) {
        if (*optlen < static_cast<int>(sizeof(WinSockLinger)))
            return Fail(WSAEFAULT);
        linger system{};
        socklen_t length = sizeof system;
        if (::getsockopt(Fd(s), SOL_SOCKET, SO_LINGER, &system, &length) != 0)
            return FailErrno();
        const WinSockLinger record{static_cast<uint16_t>(system.l_onoff),
                                   static_cast<uint16_t>(system.l_linger)};
        std::memcpy(optval, &record, sizeof record);
        *optlen = sizeof record;
        return 0;
    }
    const IntOption* option = FindIntOption(level, optname);
    if (!option)
        return Fail(WSAENOPROTOOPT);
    if (*optlen < static_cast<int>(sizeof(int)))
        return Fail(WSAEFAULT);
    int value = 0;
    socklen_t length = sizeof value;
    if (::getsockopt(Fd(s), option->level, option->name, &value, &length) != 0)
        return FailErrno();
    if (option->name == SO_ERROR && option->level == SOL_SOCKET)
        value = WinSockErrorFromErrno(value);
    std::memcpy(optval, &value, sizeof value);
    *optlen = sizeof value;
    return 0;
}

int TWinSock::IoctlSocket(TSocket s, long cmd, unsigned long* argp)
{
    SocketState* state = Find(s);
    if (!state)
        return Fail(WSAENOTSOCK);
    if (argp == nullptr)
        return Fail(WSAEFAULT);
    if (cmd == WSA_FIONREAD) {
        int waiting = 0;
        if (::ioctl(Fd(s), FIONREAD, &waiting) != 0)
            return FailErrno();
        *argp = static_cast<unsigned long>(waiting);
        return 0;
    }
    if (cmd == WSA_FIONBIO) {
        // As in WinSock, a socket with selected notifications stays non-blocking.
        if (*argp == 0 && state->events != 0)
            return Fail(WSAEINVAL);
        if (!SetNonBlocking(Fd(s), *argp != 0))
            return FailErrno();
        return 0;
    }
    return Fail(WSAEINVAL);
}

int TWinSock::AsyncSelect(TSocket s, THiddenWindow* window, uint32_t msg, long events)
{
    SocketState* state = Find(s);
    if (!state)
        return Fail(WSAENOTSOCK);
    if (events != 0 && window == nullptr)
        return Fail(WSAEINVAL);
    if (!SetNonBlocking(Fd(s), true))
        return FailErrno();
    state->window = window;
    state->msg = msg;
    state->events = events;
    state->readArmed = true;
    state->oobArmed = true;
    // A connection that stands already is writable at once.
    state->writeArmed = state->connected;
    UpdateNotifiers(*state);
    return 0;
}

void TWinSock::UpdateNotifiers(SocketState& state)
{
    const long events = state.window ? state.events : 0;
    const bool open = state.connected && !state.peerClosed;
    const bool wantRead = state.readArmed &&
                          (state.listening ? (events & FD_ACCEPT) != 0
                                           : open && (events & (FD_READ | FD_CLOSE)) != 0);
    const bool wantWrite = events != 0 &&
                           (state.connecting || (state.connected && state.writeArmed && (events & FD_WRITE)));
    const bool wantException = open && state.oobArmed && (events & FD_OOB) != 0;

    const TSocket s = state.socket;
    const uint64_t serial = state.serial;
    auto apply = [&](NotifierPtr& notifier, QSocketNotifier::Type type, bool want,
                     void (TWinSock::*handler)(TSocket, uint64_t)) {
        if (want && !notifier) {
            notifier.reset(new QSocketNotifier(Fd(s), type));
            QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(),
                             [this, s, serial, handler] { (this->*handler)(s, serial); });
        }
        if (notifier)
            notifier->setEnabled(want);
    };
    apply(state.read, QSocketNotifier::Read, wantRead, &TWinSock::OnReadable);
    apply(state.write, QSocketNotifier::Write, wantWrite, &TWinSock::OnWritable);
    apply(state.exception, QSocketNotifier::Exception, wantException, &TWinSock::OnException);
}

void TWinSock::Notify(SocketState& state, uint16_t event, int error)
{
    if (state.window && (state.events & event))
        state.window->Send(state.msg, state.socket, MakeSelectLParam(event, error));
}

// Every handler below settles the socket's state before it tells the window:
// the window's procedure may close or re-select the socket, or open a modal
// box whose event loop comes back here.
void TWinSock::OnReadable(TSocket s, uint64_t serial)
{
    SocketState* state = FindSerial(s, serial);
    if (!state)
        return;
    state->readArmed = false;
    if (state->listening) {
        UpdateNotifiers(*state);
        Notify(*state, FD_ACCEPT, 0);
        return;
    }
    // Data comes before the close: the kernel gives waiting bytes before it
    // gives the end of the stream or a reset.
    uint8_t byte = 0;
    const ssize_t n = ::recv(Fd(s), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    const int error = errno;
    if (n > 0) {
        UpdateNotifiers(*state);
        Notify(*state, FD_READ, 0);
        return;
    }
    if (n < 0 && (WouldBlock(error) || error == EINTR)) {
        state->readArmed = true;
        return;
    }
    if (n < 0)
        state->stickyError = WinSockErrorFromErrno(error);
    state->peerClosed = true;
    UpdateNotifiers(*state);
    Notify(*state, FD_CLOSE, state->stickyError);
}

void TWinSock::OnWritable(TSocket s, uint64_t serial)
{
    SocketState* state = FindSerial(s, serial);
    if (!state)
        return;
    if (state->connecting) {
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(Fd(s), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            error = errno;
        state->connecting = false;
        if (error == 0) {
            state->connected = true;
            state->readArmed = true;
            state->writeArmed = true;
        }
        UpdateNotifiers(*state);
        Notify(*state, FD_CONNECT, WinSockErrorFromErrno(error));
        return;
    }
    state->writeArmed = false;
    UpdateNotifiers(*state);
    Notify(*state, FD_WRITE, 0);
}

void TWinSock::OnException(TSocket s, uint64_t serial)
{
    SocketState* state = FindSerial(s, serial);
    if (!state)
        return;
    state->oobArmed = false;
    UpdateNotifiers(*state);
    Notify(*state, FD_OOB, 0);
}

int TWinSock::GetHostName(std::string& name)
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return FailErrno();
    name = buffer;
    return 0;
}

std::optional<uint16_t> TWinSock::GetServByName(const std::string& name, const std::string& protocol)
{
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (getservbyname_r(name.c_str(), protocol.c_str(), &entry, buffer, sizeof buffer, &found) != 0 ||
        found == nullptr)
        return std::nullopt;
    return static_cast<uint16_t>(found->s_port);
}

} // namespace krn310::net
