#include "tests/socket/SocketTestSupport.h"

#include <gtest/gtest.h>

namespace krn310 {
namespace {

using test::RecordedBoxes;
using test::RunUntil;
using test::SocketEvents;

TEST(ZSocketListen, ListensAcceptsAndTalksOnLoopback)
{
    TZSocket server;
    SocketEvents events;
    events.Attach(server);
    test::ListenOnLoopback(server);
    EXPECT_EQ(server.State(), socket_listening);
    ASSERT_NE(server.ListenSocketHandle, INVALID_SOCKET);
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(std::to_string(server.GetRemotePort(server.ListenSocketHandle)), server.LocalPort);

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(std::stoi(server.LocalPort)));
    ASSERT_TRUE(RunUntil([&] { return events.Has("request"); }));
    EXPECT_EQ(events.states.back(), socket_listening);

    const TSocket accepted = server.ZAccept();
    EXPECT_EQ(server.State(), socket_connected);
    EXPECT_EQ(accepted, server.SocketHandle);
    ASSERT_NE(accepted, INVALID_SOCKET);
    EXPECT_EQ(server.GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(server.GetPeerPort(), client.localPort());

    client.write("ping");
    client.flush();
    ASSERT_TRUE(RunUntil([&] { return events.Has("data"); }));
    EXPECT_EQ(server.GetText(), "ping");
    server.SetText("pong");
    ASSERT_TRUE(RunUntil([&] { return client.bytesAvailable() >= 4; }));
    EXPECT_EQ(client.readAll(), QByteArray("pong"));

    server.ZClose();
    server.ZCancelListen();
    EXPECT_EQ(server.State(), socket_closed);
    EXPECT_EQ(server.ListenSocketHandle, INVALID_SOCKET);
    EXPECT_TRUE(events.errors.empty());
}

TEST(ZSocketListen, FailuresCarryTheirContexts)
{
    const struct {
        const char* limit;
        const char* port;
        const char* box;
        int state;
    } cases[] = {
        {"127.0.0.1", "0", "ZListen (NULL port)\n\rNot a WinSock error", socket_error},
        // Any address would listen beyond loopback: the guard refuses it.
        {"", "", "ZListen (bind)\n\rCant assign requested address", socket_listening},
        {"192.168.0.100", "", "ZListen (bind)\n\rCant assign requested address", socket_listening},
    };
    for (const auto& c : cases) {
        RecordedBoxes boxes;
        ScopedMessageBoxSink sink(boxes);
        TZSocket server;
        server.LimitAddr = c.limit;
        server.LocalPort = c.port;
        server.ZListen();
        ASSERT_FALSE(boxes.boxes.empty()) << c.box;
        EXPECT_EQ(boxes.boxes[0].text, c.box);
        EXPECT_EQ(server.State(), c.state) << c.box;
        if (server.ListenSocketHandle != INVALID_SOCKET)
            server.ZCancelListen();
    }
}

TEST(ZSocketListen, AcceptWithNothingWaitingIsReported)
{
    TZSocket server;
    SocketEvents events;
    events.Attach(server);
    test::ListenOnLoopback(server);
    ASSERT_TRUE(events.errors.empty());
    EXPECT_EQ(server.ZAccept(), INVALID_SOCKET);
    ASSERT_FALSE(events.errors.empty());
    EXPECT_EQ(events.errors[0].code, 10035);
    EXPECT_EQ(events.errors[0].state, socket_error);
    EXPECT_EQ(server.State(), socket_connected);
    server.ZCancelListen();
}

} // namespace
} // namespace krn310
