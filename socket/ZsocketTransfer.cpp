#include "socket/Zsocket.h"

#include "platform/net/WinSock.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace krn310 {

namespace {

int ClampLength(long len)
{
    return static_cast<int>(std::clamp<long>(len, INT_MIN, INT_MAX));
}

} // namespace

void TZSocket::CountBytesAvailable(TSocket s)
{
    unsigned long waiting = 0;
    if (s == INVALID_SOCKET || WinSock->IoctlSocket(s, net::WSA_FIONREAD, &waiting) != 0)
        waiting = 0;
    FBytesAvailable = static_cast<int32_t>(std::min<unsigned long>(waiting, INT32_MAX));
}

int TZSocket::SendWith(TSocket s, const unsigned char* buf, long len, int flags)
{
    if (s == INVALID_SOCKET)
        return 0;
    SetTimeout();
    const int n = WinSock->Send(s, buf, ClampLength(len), flags);
    const int error = WinSock->WSAGetLastError();
    ResetTimeout();
    if (n < 0)
        SocketError(SocketHandle, "ZSend (send)", error);
    if (n == len)
        Raise(OnSendComplete);
    return n;
}

int TZSocket::ZSend(TSocket s, const unsigned char* buf, long len)
{
    return SendWith(s, buf, len, 0);
}

int TZSocket::ZSendUrgent(TSocket s, const unsigned char* buf, long len)
{
    return SendWith(s, buf, len, net::WSA_MSG_OOB);
}

int TZSocket::ReceiveWith(TSocket s, unsigned char* buf, long len, int flags, const char* context)
{
    if (len > BufferSize)
        len = BufferSize;
    if (s == INVALID_SOCKET)
        return -1;
    SetTimeout();
    const int n = WinSock->Recv(s, buf, ClampLength(len), flags);
    const int error = WinSock->WSAGetLastError();
    CountBytesAvailable(s);
    ResetTimeout();
    if (n < 0)
        SocketError(SocketHandle, context, error);
    return n;
}

int TZSocket::ZReceive(TSocket s, unsigned char* buf, long len)
{
    return ReceiveWith(s, buf, len, 0, "ZReceive");
}

int TZSocket::ZReceiveUrgent(TSocket s, unsigned char* buf, long len)
{
    return ReceiveWith(s, buf, len, net::WSA_MSG_OOB, "ZReceiveUrgent");
}

int TZSocket::ZPeek(TSocket, unsigned char* buf, long len)
{
    if (len > BufferSize)
        len = BufferSize;
    return WinSock->Recv(SocketHandle, buf, ClampLength(len), net::WSA_MSG_PEEK);
}

void TZSocket::SetText(const std::string& text)
{
    const size_t zero = text.find('\0');
    const int len = static_cast<int>(zero == std::string::npos ? text.size() : zero);
    SetTimeout();
    const int n = WinSock->Send(SocketHandle, reinterpret_cast<const uint8_t*>(text.data()), len, 0);
    const int error = WinSock->WSAGetLastError();
    ResetTimeout();
    if (n < 0)
        SocketError(SocketHandle, "SetText (send)", error);
    if (n == len)
        Raise(OnSendComplete);
}

std::string TZSocket::GetText()
{
    if (SocketHandle == INVALID_SOCKET) {
        FBytesAvailable = 0;
        return {};
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::max<int32_t>(BufferSize, 0)), 0);
    SetTimeout();
    const int n = WinSock->Recv(SocketHandle, buffer.data(), static_cast<int>(buffer.size()), 0);
    CountBytesAvailable(SocketHandle);
    ResetTimeout();
    if (n < 0)
        return {};
    const auto end = std::find(buffer.begin(), buffer.begin() + n, 0);
    ReceivedText.assign(buffer.begin(), end);
    return ReceivedText;
}

uint16_t TZSocket::GetRemotePort(TSocket s)
{
    net::TSockAddrIn local;
    WinSock->GetSockName(s, local);
    return net::Ntohs(local.sin_port);
}

std::string TZSocket::GetRemoteAddr(TSocket s)
{
    net::TSockAddrIn local;
    WinSock->GetSockName(s, local);
    return net::InetNtoa(local.sin_addr);
}

uint16_t TZSocket::GetPeerPort()
{
    if (SocketHandle == INVALID_SOCKET)
        return 0;
    net::TSockAddrIn peer;
    WinSock->GetPeerName(SocketHandle, peer);
    return net::Ntohs(peer.sin_port);
}

std::string TZSocket::GetPeerAddr()
{
    if (SocketHandle == INVALID_SOCKET)
        return {};
    net::TSockAddrIn peer;
    WinSock->GetPeerName(SocketHandle, peer);
    return net::InetNtoa(peer.sin_addr);
}

std::string TZSocket::GetLocalHostName()
{
    std::string name;
    WinSock->GetHostName(name);
    return name.substr(0, 127);
}

std::string TZSocket::GetLocalAddr()
{
    const std::string name = GetLocalHostName();
    if (WinSock->GetHostByName(name, LastHostEntry, LookupLimitMs(), {}) != 0 || LastHostEntry.h_addr_list.empty())
        return "0.0.0.0";
    return net::InetNtoa(LastHostEntry.h_addr_list.front());
}

int TZSocket::SetSocketOption(TSocket s, int onoff, int seconds)
{
    const uint16_t record[2] = {static_cast<uint16_t>(onoff & 0xFFFF), static_cast<uint16_t>(seconds & 0xFFFF)};
    return WinSock->SetSockOpt(s, net::WSA_SOL_SOCKET, net::WSA_SO_LINGER, reinterpret_cast<const char*>(record),
                               sizeof record);
}

int TZSocket::GetSocketOption(TSocket s, int level, int optname, char* optval, int* optlen)
{
    return WinSock->GetSockOpt(s, level, optname, optval, optlen);
}

int TZSocket::IOCtl(TSocket s, long cmd, unsigned long* argp)
{
    return WinSock->IoctlSocket(s, cmd, argp);
}

} // namespace krn310
