#include "socket/Zsocket.h"

#include "platform/MessageBox.h"
#include "platform/MessageWindow.h"
#include "platform/net/WinSock.h"
#include "platform/net/WinSockErrors.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace krn310 {

namespace {

constexpr uint16_t kWinSockVersion = 0x0101;
constexpr long kClientEvents = net::FD_READ | net::FD_WRITE | net::FD_CONNECT | net::FD_CLOSE;
constexpr long kListenEvents = net::FD_READ | net::FD_WRITE | net::FD_ACCEPT | net::FD_CLOSE;
constexpr long kAcceptedEvents = net::FD_READ | net::FD_WRITE | net::FD_OOB | net::FD_CLOSE;
constexpr size_t kHostNameLimit = 255;

int HighWord(int32_t lParam)
{
    return static_cast<int>(static_cast<uint32_t>(lParam) >> 16);
}

// The leading decimal digits after optional blanks and sign, as the port
// text is read when it names no service; cut to 16 bits by the caller.
uint32_t LeadingDecimal(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    return negative ? 0u - value : value;
}

} // namespace

TZSocket::TZSocket(bool designing)
    : FComponentState(designing ? csDesigning : 0u), WinSock(std::make_unique<net::TWinSock>())
{
    if (designing)
        return;
    const int started = WinSock->WSAStartup(kWinSockVersion);
    if (started != 0)
        SocketError(0, "Constructor (WSAStartup)", started);
    NotifyWindow = std::make_unique<THiddenWindow>([this](TMessage& message) { WndProc(message); });
}

TZSocket::~TZSocket()
{
    if (!(FComponentState & csDesigning)) {
        if (WinSock->WSACleanup() < 0)
            SocketError(INVALID_SOCKET, "Destructor (WSACleanup)", WinSock->WSAGetLastError());
        NotifyWindow.reset();
    }
    FState = socket_closed;
}

void TZSocket::Raise(const TNotifyEvent& handler)
{
    // A copy, so that a handler may reassign its own event.
    if (TNotifyEvent call = handler)
        call(this);
}

uint16_t TZSocket::ServicePort(const std::string& port)
{
    // No service is named by digits alone: a port number needs no look into
    // the services database.
    const bool number = !port.empty() && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
    LastServicePort = number ? std::nullopt : WinSock->GetServByName(port, "tcp");
    if (LastServicePort)
        return *LastServicePort;
    return net::Htons(static_cast<uint16_t>(LeadingDecimal(port)));
}

int TZSocket::LookupLimitMs() const
{
    if (Timeout <= 0)
        return -1;
    return Timeout > INT_MAX / 1000 ? INT_MAX : Timeout * 1000;
}

void TZSocket::CloseHeldSocket(TSocket& handle)
{
    if (handle == INVALID_SOCKET)
        return;
    WinSock->AsyncSelect(handle, NotifyWindow.get(), WM_USER, 0);
    WinSock->CloseSocket(handle);
    handle = INVALID_SOCKET;
}

void TZSocket::ZConnect()
{
    FState = socket_connecting;
    if (RemotePort.empty()) {
        SocketError(0, "ZConnect", ZSOCKET_NO_PORT);
        return;
    }
    if (RemoteAddr.empty()) {
        SocketError(0, "ZConnect", ZSOCKET_NO_ADDRESS);
        return;
    }
    PeerAddress = net::TSockAddrIn{};
    PeerAddress.sin_family = net::WSA_AF_INET;
    PeerAddress.sin_port = ServicePort(RemotePort);
    const std::string host = RemoteAddr.substr(0, kHostNameLimit);
    uint32_t address = net::InetAddr(host);
    if (address == net::WSA_INADDR_NONE) {
        SetTimeout();
        const int found = WinSock->GetHostByName(host, LastHostEntry, LookupLimitMs(), [this] {
            // The watchdog's time has passed while the lookup blocks.
            if (NotifyWindow)
                NotifyWindow->Send(WM_TIMER, kWatchdogTimerId, 0);
        });
        ResetTimeout();
        if (found != 0 || LastHostEntry.h_addr_list.empty()) {
            SocketError(0, "ZConnect (gethostbyname)", ZSOCKET_HOST_NOT_FOUND);
            return;
        }
        address = LastHostEntry.h_addr_list.front();
    }
    PeerAddress.sin_addr = address;

    // A socket still held from a failed attempt is closed, not leaked.
    CloseHeldSocket(SocketHandle);
    SocketHandle = WinSock->Socket();
    if (SocketHandle == INVALID_SOCKET)
        SocketError(INVALID_SOCKET, "ZConnect (socket)", WinSock->WSAGetLastError());
    if (WinSock->AsyncSelect(SocketHandle, NotifyWindow.get(), WM_USER, kClientEvents) == net::SOCKET_ERROR)
        SocketError(SocketHandle, "ZConnect (WSAAsyncSelect)", WinSock->WSAGetLastError());
    SetTimeout();
    const int connected = WinSock->Connect(SocketHandle, PeerAddress);
    const int error = WinSock->WSAGetLastError();
    ResetTimeout();
    if (connected == net::SOCKET_ERROR && error != net::WSAEWOULDBLOCK)
        SocketError(SocketHandle, "ZConnect (connect)", error);
    FState = socket_connected;
}

void TZSocket::ZClose()
{
    WinSock->AsyncSelect(SocketHandle, NotifyWindow.get(), WM_USER, 0);
    if (WinSock->IsBlocking())
        WinSock->CancelBlockingCall();
    if (WinSock->CloseSocket(SocketHandle) == net::SOCKET_ERROR)
        SocketError(SocketHandle, "ZClose (closesocket)", WinSock->WSAGetLastError());
    SocketHandle = INVALID_SOCKET;
    FState = socket_closed;
}

void TZSocket::GetRemoteName(const std::string& name)
{
    if (name.empty()) {
        SocketError(SocketHandle, "GetRemoteName: Invalid Name", WinSock->WSAGetLastError());
        return;
    }
    SetTimeout();
    HostBuffer = net::THostEntry{};
    FState = socket_resolving;
    AsyncHandle = WinSock->AsyncGetHostByName(NotifyWindow.get(), WM_USER + 1, name.substr(0, kHostNameLimit));
    if (AsyncHandle == 0) {
        ResetTimeout();
        SocketError(SocketHandle, "GetRemoteName", WinSock->WSAGetLastError());
    }
}

int TZSocket::ZAsyncCancel()
{
    ResetTimeout();
    const int result = WinSock->CancelAsyncRequest(AsyncHandle);
    FState = socket_lookup_cancelled;
    return result;
}

void TZSocket::ZListen()
{
    if (LocalPort == std::to_string(0)) {
        SocketError(SocketHandle, "ZListen (NULL port)", ZSOCKET_NO_PORT);
        return;
    }
    PeerAddress = net::TSockAddrIn{};
    PeerAddress.sin_family = net::WSA_AF_INET;
    const uint32_t limit = net::InetAddr(LimitAddr);
    PeerAddress.sin_addr = LimitAddr.empty() || limit == net::WSA_INADDR_NONE ? net::Htonl(net::WSA_INADDR_ANY) : limit;
    PeerAddress.sin_port = ServicePort(LocalPort);

    // A listening socket still held is closed, not leaked.
    CloseHeldSocket(ListenSocketHandle);
    ListenSocketHandle = WinSock->Socket();
    if (ListenSocketHandle == INVALID_SOCKET)
        SocketError(INVALID_SOCKET, "ZListen (socket)", WinSock->WSAGetLastError());
    if (WinSock->Bind(ListenSocketHandle, PeerAddress) == net::SOCKET_ERROR)
        SocketError(ListenSocketHandle, "ZListen (bind)", WinSock->WSAGetLastError());
    if (WinSock->Listen(ListenSocketHandle, ListenBacklog) == net::SOCKET_ERROR)
        SocketError(ListenSocketHandle, "ZListen (listen)", WinSock->WSAGetLastError());
    if (WinSock->AsyncSelect(ListenSocketHandle, NotifyWindow.get(), WM_USER, kListenEvents) == net::SOCKET_ERROR)
        SocketError(ListenSocketHandle, "ZListen (WSAASyncSelect)", WinSock->WSAGetLastError());
    FState = socket_listening;
}

TSocket TZSocket::ZAccept()
{
    FState = socket_accepting;
    SetTimeout();
    SocketHandle = WinSock->Accept(ListenSocketHandle, &PeerAddress);
    const int error = WinSock->WSAGetLastError();
    ResetTimeout();
    if (SocketHandle == INVALID_SOCKET)
        SocketError(SocketHandle, "ZAccept", error);
    if (WinSock->AsyncSelect(SocketHandle, NotifyWindow.get(), WM_USER, kAcceptedEvents) == net::SOCKET_ERROR)
        SocketError(SocketHandle, "ZAccept (WSAASyncSelect)", WinSock->WSAGetLastError());
    FState = socket_connected;
    return SocketHandle;
}

void TZSocket::ZCancelListen()
{
    WinSock->AsyncSelect(ListenSocketHandle, NotifyWindow.get(), WM_USER, 0);
    WinSock->Shutdown(ListenSocketHandle, net::SD_BOTH);
    if (WinSock->CloseSocket(ListenSocketHandle) == net::SOCKET_ERROR)
        SocketError(ListenSocketHandle, "ZCancelListen (closesocket)", WinSock->WSAGetLastError());
    ListenSocketHandle = INVALID_SOCKET;
    FState = socket_closed;
}

void TZSocket::SetTimeout()
{
    if (Timeout > 0 && NotifyWindow)
        NotifyWindow->SetTimer(kWatchdogTimerId, static_cast<unsigned>(LookupLimitMs()));
}

void TZSocket::ResetTimeout()
{
    if (Timeout > 0 && NotifyWindow)
        NotifyWindow->KillTimer(kWatchdogTimerId);
}

void TZSocket::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_TIMER:
        WMTimer(message);
        break;
    case WM_USER:
        WSAsyncSelect(message);
        break;
    case WM_USER + 1:
        WMNameDNS(message);
        break;
    default:
        break;
    }
    message.Result = 0;
}

void TZSocket::WSAsyncSelect(TMessage& message)
{
    const int error = HighWord(message.LParam);
    const uint16_t event = static_cast<uint16_t>(message.LParam & 0xFFFF);
    if (error > 10000) {
        SocketError(message.WParam, "WSAsyncSelect", error);
        return;
    }
    switch (event) {
    case net::FD_READ:
        CountBytesAvailable(SocketHandle);
        Raise(OnDataAvailable);
        break;
    case net::FD_WRITE:
        Raise(OnOKToWrite);
        break;
    case net::FD_ACCEPT:
        Raise(OnConnectionRequest);
        break;
    case net::FD_CONNECT:
        Raise(OnConnect);
        break;
    case net::FD_CLOSE:
        Raise(OnClose);
        break;
    default:
        break;
    }
}

void TZSocket::WMTimer(TMessage&)
{
    if (NotifyWindow)
        NotifyWindow->KillTimer(kWatchdogTimerId);
    if (OnTimeout) {
        Raise(OnTimeout);
        return;
    }
    if (WinSock->IsBlocking()) {
        WinSock->CancelBlockingCall();
        SocketError(SocketHandle, "WMTimer", ZSOCKET_CALL_CANCELLED);
    }
}

void TZSocket::WMNameDNS(TMessage& message)
{
    ResetTimeout();
    const int error = HighWord(message.LParam);
    const bool found = WinSock->TakeAsyncHostEntry(message.WParam, HostBuffer);
    if (error != 0 || !found || HostBuffer.h_addr_list.empty()) {
        Raise(OnNameLookupFailed);
        return;
    }
    LastHostEntry = HostBuffer;
    RemoteAddr = net::InetNtoa(HostBuffer.h_addr_list.front());
    FState = socket_resolved;
    Raise(OnNameResolved);
}

void TZSocket::SocketError(TSocket aSocket, const std::string& context, int code)
{
    FState = socket_error;
    const std::string text = SocketErrorText(code);
    if (TErrorEvent call = OnError) {
        call(this, code, text, aSocket);
        return;
    }
    ShowMessageBox(context + "\n\r" + text, "Error: TZSocket");
}

} // namespace krn310
