#pragma once

#include "platform/WindowMessage.h"
#include "platform/net/WinSockTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace krn310 {

class THiddenWindow;
namespace net {
class TWinSock;
}

using net::INVALID_SOCKET;
using net::TSocket;

// Values of TZSocket::State().
inline constexpr int socket_closed = 1;
inline constexpr int socket_listening = 3;
inline constexpr int socket_resolving = 5;
inline constexpr int socket_resolved = 6;
inline constexpr int socket_connecting = 7;
inline constexpr int socket_connected = 8;
inline constexpr int socket_error = 9;
inline constexpr int socket_lookup_cancelled = 10;
inline constexpr int socket_accepting = 11;

// The component's own error codes, beside the WinSock ones.
inline constexpr int ZSOCKET_NO_PORT = 1;
inline constexpr int ZSOCKET_NO_ADDRESS = 2;
inline constexpr int ZSOCKET_HOST_NOT_FOUND = 3;
inline constexpr int ZSOCKET_CALL_CANCELLED = 4;

// Bits of TZSocket::ComponentState().
inline constexpr unsigned csDesigning = 1;

// A non-visual component around one TCP stream socket, driven by the window
// messages of its hidden window: connects by address or host name, turns the
// socket's notifications into events, guards calls with a watchdog timer,
// resolves names in the background, listens and accepts, sends and receives,
// and reports every failure through SocketError. User-interface thread only.
class TZSocket {
public:
    using TNotifyEvent = std::function<void(TZSocket* Sender)>;
    using TErrorEvent =
        std::function<void(TZSocket* Sender, int error, std::string errorstr, uint32_t aSocket)>;

    // designing: created inside a form designer (no socket layer, no window).
    explicit TZSocket(bool designing = false);
    virtual ~TZSocket();
    TZSocket(const TZSocket&) = delete;
    TZSocket& operator=(const TZSocket&) = delete;

    // Published properties.
    int32_t BufferSize = 8192;      // largest byte count one receive takes
    std::string RemoteAddr;         // dotted IPv4 address or host name
    std::string RemotePort;         // service name for "tcp" or a decimal number
    std::string LocalPort;          // port ZListen listens on
    int32_t Timeout = 30;           // watchdog seconds; 0 or less: none
    int32_t ListenBacklog = 0;
    std::string LimitAddr;          // dotted address the listening socket binds to
    TSocket SocketHandle = INVALID_SOCKET;
    TSocket ListenSocketHandle = INVALID_SOCKET;

    std::string Version() const { return "1.0.0"; }
    void SetVersion(const std::string& version) { VersionSink = version; }
    int32_t State() const { return FState; }
    // The bytes still waiting on SocketHandle, as counted after the last
    // receive or data notification.
    int32_t BytesAvailable() const { return FBytesAvailable; }
    unsigned ComponentState() const { return FComponentState; }

    // Text: the writer sends, the reader receives, on SocketHandle.
    std::string GetText();
    void SetText(const std::string& text);
    std::string LocalAddr() { return GetLocalAddr(); }
    std::string LocalHostName() { return GetLocalHostName(); }
    uint16_t PeerPort() { return GetPeerPort(); }
    std::string PeerAddr() { return GetPeerAddr(); }

    // Events; an unassigned one is not raised.
    TNotifyEvent OnClose;
    TNotifyEvent OnConnect;
    TNotifyEvent OnConnectionRequest;
    TNotifyEvent OnDataAvailable;
    TErrorEvent OnError;
    TNotifyEvent OnSendComplete;
    TNotifyEvent OnTimeout;
    TNotifyEvent OnNameResolved;
    TNotifyEvent OnNameLookupFailed;
    TNotifyEvent OnOKToWrite;

    // Connection.
    void ZConnect();
    void ZClose();
    void GetRemoteName(const std::string& name);
    int ZAsyncCancel();
    void ZListen();
    TSocket ZAccept();
    void ZCancelListen();

    // Watchdog.
    void SetTimeout();
    void ResetTimeout();

    // Messages of the hidden window.
    void WndProc(TMessage& message);
    virtual void WSAsyncSelect(TMessage& message);
    void WMTimer(TMessage& message);
    void WMNameDNS(TMessage& message);

    void SocketError(TSocket aSocket, const std::string& context, int code);
    static std::string SocketErrorText(int code);

    // Data transfer.
    int ZSend(TSocket s, const unsigned char* buf, long len);
    int ZSendUrgent(TSocket s, const unsigned char* buf, long len);
    int ZReceive(TSocket s, unsigned char* buf, long len);
    int ZReceiveUrgent(TSocket s, unsigned char* buf, long len);
    int ZPeek(TSocket s, unsigned char* buf, long len);

    // Queries; none reports a failure. GetRemotePort and GetRemoteAddr give
    // the local end of s, whatever their names say.
    uint16_t GetRemotePort(TSocket s);
    std::string GetRemoteAddr(TSocket s);
    std::string GetLocalAddr();
    std::string GetLocalHostName();
    uint16_t GetPeerPort();
    std::string GetPeerAddr();
    int SetSocketOption(TSocket s, int onoff, int seconds);
    int GetSocketOption(TSocket s, int level, int optname, char* optval, int* optlen);
    int IOCtl(TSocket s, long cmd, unsigned long* argp);

    // The watchdog's window timer.
    static constexpr uint32_t kWatchdogTimerId = 10;

private:
    void Raise(const TNotifyEvent& handler);
    uint16_t ServicePort(const std::string& port);
    int LookupLimitMs() const;
    void CloseHeldSocket(TSocket& handle);
    int SendWith(TSocket s, const unsigned char* buf, long len, int flags);
    int ReceiveWith(TSocket s, unsigned char* buf, long len, int flags, const char* context);
    void CountBytesAvailable(TSocket s);

    std::unique_ptr<THiddenWindow> NotifyWindow;
    std::string VersionSink;
    std::string ReceivedText;
    int32_t FState = socket_closed;
    int32_t FBytesAvailable = 0;
    unsigned FComponentState = 0;
    net::THostEntry HostBuffer;
    net::TSockAddrIn PeerAddress;
    std::optional<uint16_t> LastServicePort;
    net::THostEntry LastHostEntry;
    std::unique_ptr<net::TWinSock> WinSock;  // the socket layer, started like WSAStartup
    uint32_t AsyncHandle = 0;
};

} // namespace krn310
