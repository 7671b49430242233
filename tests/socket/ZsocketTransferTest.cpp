#include "tests/socket/SocketTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace krn310 {
namespace {

using test::LoopbackPeer;
using test::RecordedBoxes;
using test::RunFor;
using test::RunUntil;
using test::SocketEvents;

// A component connected to a loopback peer, its events recorded.
class ZSocketTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.Attach(socket);
        socket.RemoteAddr = "127.0.0.1";
        socket.RemotePort = peer.PortText();
        socket.ZConnect();
        ASSERT_TRUE(RunUntil([&] { return events.Has("connect"); }));
        ASSERT_TRUE(peer.WaitClient());
    }
    void TearDown() override
    {
        if (socket.SocketHandle != INVALID_SOCKET)
            socket.ZClose();
    }

    // Waits until at least size bytes the peer sent are waiting here.
    bool WaitWaiting(unsigned long size)
    {
        return RunUntil([&] {
            unsigned long waiting = 0;
            socket.IOCtl(socket.SocketHandle, net::WSA_FIONREAD, &waiting);
            return waiting >= size;
        });
    }

    LoopbackPeer peer;
    TZSocket socket;
    SocketEvents events;
};

TEST_F(ZSocketTransfer, SendPassesTheBytesAndRaisesOnSendComplete)
{
    const unsigned char command[] = {0x1D, 0x49, 0x43};
    EXPECT_EQ(socket.ZSend(socket.SocketHandle, command, sizeof command), 3);
    EXPECT_EQ(events.Count("sent"), 1u);
    ASSERT_TRUE(peer.WaitReceived(3));
    EXPECT_EQ(peer.Received(), QByteArray("\x1D\x49\x43"));
}

TEST_F(ZSocketTransfer, ZeroByteSendReturnsZeroAndRaisesOnSendComplete)
{
    const unsigned char nothing[1] = {0};
    EXPECT_EQ(socket.ZSend(socket.SocketHandle, nothing, 0), 0);
    EXPECT_EQ(events.Count("sent"), 1u);
    EXPECT_TRUE(events.errors.empty());
}

TEST_F(ZSocketTransfer, OnInvalidSocketNothingMovesAndNothingIsReported)
{
    unsigned char buffer[16] = {1, 2, 3};
    EXPECT_EQ(socket.ZSend(INVALID_SOCKET, buffer, 3), 0);
    EXPECT_EQ(socket.ZSendUrgent(INVALID_SOCKET, buffer, 3), 0);
    EXPECT_EQ(socket.ZReceive(INVALID_SOCKET, buffer, sizeof buffer), -1);
    EXPECT_EQ(socket.ZReceiveUrgent(INVALID_SOCKET, buffer, sizeof buffer), -1);
    EXPECT_FALSE(events.Has("sent"));
    EXPECT_TRUE(events.errors.empty());

    socket.ZClose();
    EXPECT_EQ(socket.GetText(), "");
    EXPECT_EQ(socket.BytesAvailable(), 0);
    EXPECT_EQ(socket.GetPeerAddr(), "");
    EXPECT_EQ(socket.GetPeerPort(), 0);
    EXPECT_TRUE(events.errors.empty());
}

TEST_F(ZSocketTransfer, SetTextWithoutASocketIsReported)
{
    socket.ZClose();
    socket.SetText("ab");
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].code, 10038);
    EXPECT_FALSE(events.Has("sent"));
}

TEST_F(ZSocketTransfer, ReceiveTakesAtMostBufferSize)
{
    peer.Send(QByteArray(20000, 'x'));
    ASSERT_TRUE(WaitWaiting(20000));
    std::vector<unsigned char> buffer(20000);
    EXPECT_EQ(socket.ZReceive(socket.SocketHandle, buffer.data(), 20000), 8192);
    EXPECT_EQ(socket.BytesAvailable(), 20000 - 8192);
    socket.BufferSize = 100;
    EXPECT_EQ(socket.ZReceive(socket.SocketHandle, buffer.data(), 20000), 100);
    EXPECT_EQ(socket.ZPeek(socket.SocketHandle, buffer.data(), 20000), 100);
}

TEST_F(ZSocketTransfer, PeekLeavesTheBytesWaiting)
{
    peer.Send("abc");
    ASSERT_TRUE(WaitWaiting(3));
    unsigned char buffer[8] = {};
    ASSERT_EQ(socket.ZPeek(12345, buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), "abc");
    unsigned char again[8] = {};
    ASSERT_EQ(socket.ZReceive(socket.SocketHandle, again, sizeof again), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(again), 3), "abc");
}

TEST_F(ZSocketTransfer, TextStopsAtAnEmbeddedZeroBothWays)
{
    socket.SetText(std::string("ab\0cd", 5));
    EXPECT_EQ(events.Count("sent"), 1u);
    ASSERT_TRUE(peer.WaitReceived(2));
    RunFor(50);
    EXPECT_EQ(peer.Received(), QByteArray("ab"));

    peer.Send(QByteArray("ef\0gh", 5));
    ASSERT_TRUE(WaitWaiting(5));
    EXPECT_EQ(socket.GetText(), "ef");
    EXPECT_EQ(socket.BytesAvailable(), 0);
}

TEST_F(ZSocketTransfer, FurtherDataIsAnnouncedOnlyAfterAReceive)
{
    peer.Send("x");
    ASSERT_TRUE(RunUntil([&] { return events.Has("data"); }));
    EXPECT_EQ(socket.BytesAvailable(), 1);
    peer.Send("y");
    ASSERT_TRUE(WaitWaiting(2));
    RunFor(50);
    EXPECT_EQ(events.Count("data"), 1u);

    unsigned char buffer[1];
    ASSERT_EQ(socket.ZReceive(socket.SocketHandle, buffer, 1), 1);
    ASSERT_TRUE(RunUntil([&] { return events.Count("data") == 2; }));
    ASSERT_EQ(socket.ZReceive(socket.SocketHandle, buffer, 1), 1);
    RunFor(50);
    EXPECT_EQ(events.Count("data"), 2u);
}

TEST_F(ZSocketTransfer, WriteIsAnnouncedAfterConnectAndAgainAfterASendThatWouldBlock)
{
    ASSERT_TRUE(RunUntil([&] { return events.Has("write"); }));
    EXPECT_EQ(events.Count("write"), 1u);
    // Fill both socket buffers: the peer reads nothing while the loop is not run.
    std::vector<unsigned char> chunk(65536, 'z');
    int n = 0;
    for (int i = 0; i < 1000 && n >= 0; ++i)
        n = socket.ZSend(socket.SocketHandle, chunk.data(), static_cast<long>(chunk.size()));
    ASSERT_LT(n, 0);
    ASSERT_FALSE(events.errors.empty());
    EXPECT_EQ(events.errors.back().code, 10035);
    EXPECT_EQ(events.errors.back().text, "Operation would block");
    EXPECT_EQ(events.Count("write"), 1u);
    ASSERT_TRUE(RunUntil([&] { return events.Count("write") == 2; }));
}

TEST_F(ZSocketTransfer, LingerOptionIsSetAndReadBack)
{
    EXPECT_EQ(socket.SetSocketOption(socket.SocketHandle, 1, 7), 0);
    uint16_t record[2] = {};
    int length = sizeof record;
    ASSERT_EQ(socket.GetSocketOption(socket.SocketHandle, net::WSA_SOL_SOCKET, net::WSA_SO_LINGER,
                                     reinterpret_cast<char*>(record), &length),
              0);
    EXPECT_EQ(record[0], 1);
    EXPECT_EQ(record[1], 7);
    EXPECT_EQ(socket.SetSocketOption(INVALID_SOCKET, 1, 7), net::SOCKET_ERROR);
}

// A component listening on loopback and one connected to it; the accepted
// side can reset its connection.
TEST(ZSocketReset, ResetConnectionGivesMinusOneAndConnectionResetByPeer)
{
    TZSocket server;
    SocketEvents serverEvents;
    serverEvents.Attach(server);
    server.OnConnectionRequest = [](TZSocket* sender) { sender->ZAccept(); };
    test::ListenOnLoopback(server);
    ASSERT_EQ(server.State(), socket_listening);

    TZSocket client;
    SocketEvents events;
    events.Attach(client);
    client.RemoteAddr = "127.0.0.1";
    client.RemotePort = server.LocalPort;
    client.ZConnect();
    ASSERT_TRUE(RunUntil([&] { return events.Has("connect") && server.SocketHandle != INVALID_SOCKET; }));

    ASSERT_EQ(server.SetSocketOption(server.SocketHandle, 1, 0), 0);
    server.ZClose();
    ASSERT_TRUE(RunUntil([&] { return !events.errors.empty(); }));
    EXPECT_EQ(events.errors[0].code, 10054);
    EXPECT_EQ(events.errors[0].text, "Connection reset by peer");
    EXPECT_FALSE(events.Has("close"));

    RecordedBoxes boxes;
    ScopedMessageBoxSink sink(boxes);
    client.OnError = nullptr;
    unsigned char buffer[16];
    EXPECT_EQ(client.ZReceive(client.SocketHandle, buffer, sizeof buffer), -1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "ZReceive\n\rConnection reset by peer");
    EXPECT_EQ(client.BytesAvailable(), 0);
    EXPECT_EQ(client.GetText(), "");
    EXPECT_EQ(client.BytesAvailable(), 0);
    EXPECT_EQ(client.State(), socket_error);
    client.ZClose();
    server.ZCancelListen();
}

} // namespace
} // namespace krn310
