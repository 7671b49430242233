#include "tests/socket/SocketTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace krn310 {
namespace {

using test::LoopbackPeer;
using test::RecordedBoxes;
using test::RunFor;
using test::RunUntil;
using test::SocketEvents;

TEST(ZSocketConstruction, StartsClosedWithTheDesignDefaults)
{
    TZSocket socket;
    EXPECT_EQ(socket.State(), socket_closed);
    EXPECT_EQ(socket.BufferSize, 8192);
    EXPECT_EQ(socket.Timeout, 30);
    EXPECT_EQ(socket.ListenBacklog, 0);
    EXPECT_EQ(socket.BytesAvailable(), 0);
    EXPECT_EQ(socket.SocketHandle, 0xFFFFFFFFu);
    EXPECT_EQ(socket.ListenSocketHandle, 0xFFFFFFFFu);
    EXPECT_TRUE(socket.RemoteAddr.empty());
    EXPECT_TRUE(socket.RemotePort.empty());
    EXPECT_TRUE(socket.LocalPort.empty());
    EXPECT_TRUE(socket.LimitAddr.empty());
    EXPECT_EQ(socket.ComponentState() & csDesigning, 0u);
    socket.SetVersion("2.0.0");
    EXPECT_EQ(socket.Version(), "1.0.0");
}

class ZSocketConnect : public ::testing::TestWithParam<const char*> {};

TEST_P(ZSocketConnect, ConnectsRaisesOnConnectAndClosesWithTheStatedStates)
{
    LoopbackPeer peer;
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    socket.RemoteAddr = GetParam();
    socket.RemotePort = peer.PortText();

    EXPECT_EQ(socket.State(), socket_closed);
    socket.ZConnect();
    EXPECT_EQ(socket.State(), socket_connected);
    EXPECT_NE(socket.SocketHandle, INVALID_SOCKET);
    ASSERT_TRUE(RunUntil([&] { return events.Has("connect"); }));
    EXPECT_EQ(events.states.front(), socket_connected);
    EXPECT_EQ(events.names.front(), "connect");
    EXPECT_TRUE(peer.WaitClient());
    EXPECT_EQ(socket.GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(socket.GetPeerPort(), peer.Port());
    EXPECT_EQ(socket.GetRemoteAddr(socket.SocketHandle), "127.0.0.1");
    EXPECT_EQ(socket.GetRemotePort(socket.SocketHandle), peer.Client().peerPort());

    socket.ZClose();
    EXPECT_EQ(socket.State(), socket_closed);
    EXPECT_EQ(socket.SocketHandle, INVALID_SOCKET);
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(events.Count("connect"), 1u);
}

INSTANTIATE_TEST_SUITE_P(ByAddressAndByName, ZSocketConnect, ::testing::Values("127.0.0.1", "localhost"));

TEST(ZSocketConnectFailure, RefusedPortReportsConnectionRefusedWithoutOnConnect)
{
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    socket.RemoteAddr = "127.0.0.1";
    socket.RemotePort = std::to_string(test::FreePort());

    socket.ZConnect();
    EXPECT_EQ(socket.State(), socket_connected);
    ASSERT_TRUE(RunUntil([&] { return !events.errors.empty(); }));
    RunFor(100);
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].code, 10061);
    EXPECT_EQ(events.errors[0].text, "Connection refused");
    EXPECT_EQ(events.errors[0].socket, socket.SocketHandle);
    EXPECT_EQ(socket.State(), socket_error);
    EXPECT_FALSE(events.Has("connect"));
    EXPECT_NE(socket.SocketHandle, INVALID_SOCKET);
    socket.ZClose();
}

TEST(ZSocketConnectFailure, AsynchronousFailureWithoutOnErrorShowsItsContextInABox)
{
    RecordedBoxes boxes;
    ScopedMessageBoxSink sink(boxes);
    TZSocket socket;
    socket.RemoteAddr = "127.0.0.1";
    socket.RemotePort = std::to_string(test::FreePort());
    socket.ZConnect();
    ASSERT_TRUE(RunUntil([&] { return !boxes.boxes.empty(); }));
    EXPECT_EQ(boxes.boxes[0].caption, "Error: TZSocket");
    EXPECT_EQ(boxes.boxes[0].text.rfind("WSAsyncSelect", 0), 0u);
    EXPECT_EQ(boxes.boxes[0].text.substr(boxes.boxes[0].text.size() - 20), "\n\rConnection refused");
    socket.ZClose();
}

TEST(ZSocketConnectFailure, MissingPortOrAddressStopsBeforeAnySocket)
{
    const struct {
        const char* address;
        const char* port;
        int code;
    } cases[] = {
        {"127.0.0.1", "", 1},
        {"", "62002", 2},
        {"", "", 1},
    };
    for (const auto& c : cases) {
        RecordedBoxes boxes;
        ScopedMessageBoxSink sink(boxes);
        TZSocket socket;
        socket.RemoteAddr = c.address;
        socket.RemotePort = c.port;
        socket.ZConnect();
        EXPECT_EQ(socket.State(), socket_error);
        EXPECT_EQ(socket.SocketHandle, INVALID_SOCKET);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "ZConnect\n\rNot a WinSock error");

        SocketEvents events;
        events.Attach(socket);
        socket.ZConnect();
        ASSERT_EQ(events.errors.size(), 1u);
        EXPECT_EQ(events.errors[0].code, c.code);
        EXPECT_EQ(events.errors[0].socket, 0u);
        EXPECT_EQ(events.errors[0].text, "Not a WinSock error");
    }
}

TEST(ZSocketConnectFailure, NameNoLookupResolvesReportsCode3AndKeepsTheHandle)
{
    auto resolver = std::make_shared<test::FakeResolver>();
    net::ScopedHostResolver seam(resolver);
    RecordedBoxes boxes;
    ScopedMessageBoxSink sink(boxes);
    TZSocket socket;
    socket.RemoteAddr = "no-such-printer";
    socket.RemotePort = "62002";
    socket.SocketHandle = 1234;
    socket.ZConnect();
    EXPECT_EQ(socket.State(), socket_error);
    EXPECT_EQ(socket.SocketHandle, 1234u);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "ZConnect (gethostbyname)\n\rNot a WinSock error");

    SocketEvents events;
    events.Attach(socket);
    socket.ZConnect();
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].code, 3);
    socket.SocketHandle = INVALID_SOCKET;
}

TEST(ZSocketConnect, PortIsAServiceNameOrTheLeadingDigits)
{
    LoopbackPeer peer;
    const std::string port = peer.PortText();
    for (const std::string& text : {port, " +" + port, port + "abc"}) {
        TZSocket socket;
        SocketEvents events;
        events.Attach(socket);
        socket.RemoteAddr = "127.0.0.1";
        socket.RemotePort = text;
        socket.ZConnect();
        EXPECT_TRUE(RunUntil([&] { return events.Has("connect"); })) << text;
        socket.ZClose();
    }
}

TEST(ZSocketClose, WithoutASocketReportsNonSocketAndEndsClosed)
{
    RecordedBoxes boxes;
    ScopedMessageBoxSink sink(boxes);
    TZSocket socket;
    socket.ZClose();
    EXPECT_EQ(socket.State(), socket_closed);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Error: TZSocket");
    EXPECT_EQ(boxes.boxes[0].text, "ZClose (closesocket)\n\rSocket operation on non-socket");

    SocketEvents events;
    events.Attach(socket);
    socket.ZClose();
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].code, 10038);
    EXPECT_EQ(events.errors[0].socket, INVALID_SOCKET);
    EXPECT_EQ(events.errors[0].state, socket_error);
    EXPECT_EQ(socket.State(), socket_closed);
}

TEST(ZSocketPeer, PeerCloseRaisesOnCloseAfterItsDataAndKeepsTheConnection)
{
    LoopbackPeer peer;
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    std::string got;
    socket.OnDataAvailable = [&](TZSocket* sender) {
        events.names.push_back("data");
        unsigned char buffer[64];
        const int n = sender->ZReceive(sender->SocketHandle, buffer, sizeof buffer);
        if (n > 0)
            got.append(reinterpret_cast<char*>(buffer), static_cast<size_t>(n));
    };
    socket.RemoteAddr = "127.0.0.1";
    socket.RemotePort = peer.PortText();
    socket.ZConnect();
    ASSERT_TRUE(RunUntil([&] { return events.Has("connect"); }));
    ASSERT_TRUE(peer.WaitClient());
    peer.Send("last words");
    peer.CloseClient();

    ASSERT_TRUE(RunUntil([&] { return events.Has("close"); }));
    EXPECT_EQ(got, "last words");
    EXPECT_LT(std::find(events.names.begin(), events.names.end(), "data"),
              std::find(events.names.begin(), events.names.end(), "close"));
    EXPECT_EQ(events.states.back(), socket_connected);
    EXPECT_EQ(socket.State(), socket_connected);
    EXPECT_NE(socket.SocketHandle, INVALID_SOCKET);
    RunFor(100);
    EXPECT_EQ(events.Count("close"), 1u);

    unsigned char buffer[8];
    EXPECT_EQ(socket.ZReceive(socket.SocketHandle, buffer, sizeof buffer), 0);
    EXPECT_TRUE(events.errors.empty());
    socket.ZClose();
    EXPECT_EQ(socket.State(), socket_closed);
}

TEST(ZSocketPeer, NotificationErrorsAbove10000AreReportedAndTheRestRaiseTheirEvent)
{
    const struct {
        uint16_t event;
        int error;
        const char* raised;
    } cases[] = {
        {net::FD_READ, 0, "data"},
        {net::FD_READ, 10000, "data"},
        {net::FD_WRITE, 0, "write"},
        {net::FD_ACCEPT, 0, "request"},
        {net::FD_CONNECT, 0, "connect"},
        {net::FD_CLOSE, 0, "close"},
        {net::FD_OOB, 0, nullptr},
        {net::FD_CONNECT, 10061, "error"},
        {net::FD_CLOSE, 10054, "error"},
    };
    for (const auto& c : cases) {
        TZSocket socket;
        SocketEvents events;
        events.Attach(socket);
        TMessage message;
        message.Msg = WM_USER;
        message.WParam = 77;
        message.LParam = net::MakeSelectLParam(c.event, c.error);
        socket.WndProc(message);
        EXPECT_EQ(message.Result, 0);
        if (!c.raised) {
            EXPECT_TRUE(events.names.empty());
            continue;
        }
        ASSERT_EQ(events.names.size(), 1u) << c.event << " " << c.error;
        EXPECT_EQ(events.names[0], c.raised);
        if (events.errors.size() == 1) {
            EXPECT_EQ(events.errors[0].code, c.error);
            EXPECT_EQ(events.errors[0].socket, 77u);
        }
    }
}

TEST(ZSocketPeer, OtherWindowMessagesAreIgnored)
{
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    TMessage message;
    message.Msg = WM_USER + 2;
    message.Result = 5;
    socket.WndProc(message);
    EXPECT_EQ(message.Result, 0);
    EXPECT_TRUE(events.names.empty());
}

TEST(ZSocketDescriptors, RepeatedConnectsAndClosesLeaveNoDescriptorBehind)
{
    LoopbackPeer peer;
    const std::string refused = std::to_string(test::FreePort());
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    socket.RemoteAddr = "127.0.0.1";
    // Warm up whatever the event loop opens once.
    socket.RemotePort = refused;
    socket.ZConnect();
    RunUntil([&] { return !events.errors.empty(); });
    socket.ZClose();
    RunFor(20);
    const int before = test::OpenDescriptors();

    for (int i = 0; i < 10; ++i) {
        events = SocketEvents{};
        events.Attach(socket);
        // A failed attempt left unclosed, then the next connect.
        socket.RemotePort = refused;
        socket.ZConnect();
        ASSERT_TRUE(RunUntil([&] { return !events.errors.empty(); }));
        socket.RemotePort = peer.PortText();
        socket.ZConnect();
        ASSERT_TRUE(RunUntil([&] { return events.Has("connect"); }));
        ASSERT_TRUE(peer.WaitClient());
        socket.ZClose();
        peer.DropClients();
    }
    RunFor(20);
    EXPECT_EQ(test::OpenDescriptors(), before);
}

} // namespace
} // namespace krn310
