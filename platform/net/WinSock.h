#pragma once

#include "platform/MessageWindow.h"
#include "platform/net/WinSockTypes.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace krn310::net {

// WinSock 1.1 with window-message notification, over Linux sockets on Qt's
// event loop. One instance serves one component, on the user-interface
// thread; it touches only the sockets it made (any other handle gives
// WSAENOTSOCK), and WSACleanup closes those still open.
//
// Notifications keep WinSock's re-enabling rules: FD_READ again only after a
// receive, FD_ACCEPT again only after an accept, FD_OOB again only after an
// out-of-band receive; FD_CONNECT once with the connect's outcome; FD_WRITE
// once the connection stands and again after a send that would block;
// FD_CLOSE once, when the peer has closed and its data has been taken.
// Each arrives at the window procedure as the selected message with
// wParam = socket, lParam = event | error << 16.
class TWinSock {
public:
    TWinSock();
    ~TWinSock();
    TWinSock(const TWinSock&) = delete;
    TWinSock& operator=(const TWinSock&) = delete;

    int WSAStartup(uint16_t version);
    int WSACleanup();
    int WSAGetLastError() const { return lastError_; }

    TSocket Socket();
    // Under the loopback guard an address outside 127.0.0.0/8 gives
    // WSAENETUNREACH and nothing is sent.
    int Connect(TSocket s, const TSockAddrIn& address);
    // Under the loopback guard an address outside 127.0.0.0/8 (any address
    // included) gives WSAEADDRNOTAVAIL.
    int Bind(TSocket s, const TSockAddrIn& address);
    int Listen(TSocket s, int backlog);
    TSocket Accept(TSocket s, TSockAddrIn* peer);
    int Shutdown(TSocket s, int how);
    int CloseSocket(TSocket s);

    int Send(TSocket s, const uint8_t* buf, int len, int flags);
    int Recv(TSocket s, uint8_t* buf, int len, int flags);

    int GetSockName(TSocket s, TSockAddrIn& address);
    int GetPeerName(TSocket s, TSockAddrIn& address);
    // Options by their WinSock level and name; values in WinSock's layout.
    int SetSockOpt(TSocket s, int level, int optname, const char* optval, int optlen);
    int GetSockOpt(TSocket s, int level, int optname, char* optval, int* optlen);
    int IoctlSocket(TSocket s, long cmd, unsigned long* argp);

    // Selects the events to notify, and makes the socket non-blocking; an
    // empty set stops the notifications.
    int AsyncSelect(TSocket s, THiddenWindow* window, uint32_t msg, long events);

    // The blocking lookup. It waits at most limitMs (negative: until the
    // lookup ends); when the limit passes, onLimit runs as a message handled
    // during the blocking call would, and the lookup is given up.
    int GetHostByName(const std::string& name, THostEntry& entry, int limitMs,
                      const std::function<void()>& onLimit);
    bool IsBlocking() const { return blocking_; }
    int CancelBlockingCall();

    // The background lookup: when it ends, msg is posted to window with
    // wParam = the handle and the error in the high 16 bits of lParam.
    // 0 when it cannot start.
    uint32_t AsyncGetHostByName(THiddenWindow* window, uint32_t msg, const std::string& name);
    // The entry a finished background lookup found; false when it found none.
    bool TakeAsyncHostEntry(uint32_t handle, THostEntry& entry);
    int CancelAsyncRequest(uint32_t handle);

    int GetHostName(std::string& name);
    // getservbyname: the port (network byte order) of a service name.
    std::optional<uint16_t> GetServByName(const std::string& name, const std::string& protocol);

private:
    struct SocketState;
    struct AsyncLookup;

    SocketState* Find(TSocket s);
    SocketState* FindSerial(TSocket s, uint64_t serial);
    int Fail(int winsockError);
    int FailErrno();
    TSocket Track(int fd, bool connected);
    void UpdateNotifiers(SocketState& state);
    void OnReadable(TSocket s, uint64_t serial);
    void OnWritable(TSocket s, uint64_t serial);
    void OnException(TSocket s, uint64_t serial);
    void Notify(SocketState& state, uint16_t event, int error);
    void ForgetLookups();

    std::map<TSocket, std::unique_ptr<SocketState>> sockets_;
    std::map<uint32_t, std::shared_ptr<AsyncLookup>> lookups_;
    uint64_t nextSerial_ = 1;
    uint32_t nextLookup_ = 1;
    int lastError_ = 0;
    bool blocking_ = false;
    bool blockingCancelled_ = false;
};

} // namespace krn310::net
