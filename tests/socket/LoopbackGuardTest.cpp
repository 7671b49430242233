#include "platform/net/LoopbackGuard.h"
#include "tests/socket/SocketTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace krn310 {
namespace {

using test::RecordedBoxes;
using test::RunFor;
using test::SocketEvents;

// Every case here expects a refusal; the guard is forced on so that no run
// of this binary can put a packet on the wire.
class LoopbackGuard : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("KRN310_LOOPBACK_ONLY", "1", 1); }
};

TEST_F(LoopbackGuard, KnowsLoopbackAddresses)
{
    EXPECT_TRUE(net::LoopbackOnly());
    for (const char* allowed : {"127.0.0.1", "127.0.0.53", "127.255.255.254"})
        EXPECT_TRUE(net::AddressAllowed(net::InetAddr(allowed))) << allowed;
    for (const char* refused : {"192.168.0.100", "10.0.0.1", "8.8.8.8", "0.0.0.0", "128.0.0.1"})
        EXPECT_FALSE(net::AddressAllowed(net::InetAddr(refused))) << refused;
}

TEST_F(LoopbackGuard, ConnectBeyondLoopbackIsRefusedAndReported)
{
    for (const char* address : {"192.168.0.100", "10.1.2.3", "8.8.8.8"}) {
        RecordedBoxes boxes;
        ScopedMessageBoxSink sink(boxes);
        TZSocket socket;
        socket.RemoteAddr = address;
        socket.RemotePort = "62002";
        socket.ZConnect();
        ASSERT_EQ(boxes.boxes.size(), 1u) << address;
        EXPECT_EQ(boxes.boxes[0].caption, "Error: TZSocket");
        EXPECT_EQ(boxes.boxes[0].text, "ZConnect (connect)\n\rNetwork is unreachable");
        EXPECT_EQ(socket.State(), socket_connected);

        SocketEvents events;
        events.Attach(socket);
        RunFor(50);
        EXPECT_TRUE(events.names.empty());
        socket.ZClose();
    }
}

TEST_F(LoopbackGuard, NameThatStandsForAnOutsideAddressIsNotFound)
{
    auto resolver = std::make_shared<test::FakeResolver>();
    resolver->Add("printer.lan", "192.168.0.100");
    net::ScopedHostResolver seam(resolver);
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    socket.RemoteAddr = "printer.lan";
    socket.RemotePort = "62002";
    socket.ZConnect();
    ASSERT_EQ(events.errors.size(), 1u);
    EXPECT_EQ(events.errors[0].code, 3);
    EXPECT_EQ(socket.SocketHandle, INVALID_SOCKET);

    socket.GetRemoteName("printer.lan");
    ASSERT_TRUE(test::RunUntil([&] { return events.Has("lookupfailed"); }));
    EXPECT_TRUE(socket.RemoteAddr == "printer.lan");
}

} // namespace
} // namespace krn310
