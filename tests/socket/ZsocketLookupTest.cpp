#include "tests/socket/SocketTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace krn310 {
namespace {

using test::FakeResolver;
using test::LoopbackPeer;
using test::RecordedBoxes;
using test::RunFor;
using test::RunUntil;
using test::SocketEvents;

// A component whose name lookups go to a fake resolver.
class ZSocketLookup : public ::testing::Test {
protected:
    ZSocketLookup() : resolver(std::make_shared<FakeResolver>()), seam(resolver) { events.Attach(socket); }
    ~ZSocketLookup() override { resolver->Release(); }

    std::shared_ptr<FakeResolver> resolver;
    net::ScopedHostResolver seam;
    TZSocket socket;
    SocketEvents events;
};

TEST_F(ZSocketLookup, ResolvedNameBecomesTheDottedRemoteAddress)
{
    resolver->Add("printer.lan", "127.0.0.7");
    socket.GetRemoteName("printer.lan");
    EXPECT_EQ(socket.State(), socket_resolving);
    ASSERT_TRUE(RunUntil([&] { return events.Has("resolved"); }));
    EXPECT_EQ(socket.State(), socket_resolved);
    EXPECT_EQ(socket.RemoteAddr, "127.0.0.7");
    EXPECT_FALSE(events.Has("lookupfailed"));
}

TEST_F(ZSocketLookup, UnknownNameRaisesLookupFailedAndStaysResolving)
{
    socket.GetRemoteName("nowhere.lan");
    ASSERT_TRUE(RunUntil([&] { return events.Has("lookupfailed"); }));
    EXPECT_EQ(socket.State(), socket_resolving);
    EXPECT_FALSE(events.Has("resolved"));
    EXPECT_TRUE(events.errors.empty());
}

TEST_F(ZSocketLookup, EmptyNameIsRefusedAndStartsNothing)
{
    RecordedBoxes boxes;
    ScopedMessageBoxSink sink(boxes);
    socket.OnError = nullptr;
    socket.GetRemoteName("");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("GetRemoteName: Invalid Name\n\r", 0), 0u);
    EXPECT_EQ(socket.State(), socket_error);
    RunFor(50);
    EXPECT_TRUE(events.names.empty());
}

TEST_F(ZSocketLookup, CancelledLookupRaisesNothing)
{
    resolver->Add("slow.lan", "127.0.0.1");
    resolver->Hold("slow.lan");
    socket.GetRemoteName("slow.lan");
    EXPECT_EQ(socket.ZAsyncCancel(), 0);
    EXPECT_EQ(socket.State(), socket_lookup_cancelled);
    resolver->Release();
    ASSERT_TRUE(resolver->WaitDone(1));
    RunFor(50);
    EXPECT_TRUE(events.names.empty());
    EXPECT_NE(socket.ZAsyncCancel(), 0);
}

TEST_F(ZSocketLookup, ComponentDestroyedDuringALookupIsNotReached)
{
    resolver->Add("slow.lan", "127.0.0.1");
    resolver->Hold("slow.lan");
    {
        TZSocket shortLived;
        shortLived.OnNameResolved = [](TZSocket*) { FAIL(); };
        shortLived.GetRemoteName("slow.lan");
    }
    resolver->Release();
    ASSERT_TRUE(resolver->WaitDone(1));
    RunFor(50);
}

TEST_F(ZSocketLookup, ConnectByAResolvedNameNeedsNoFurtherLookup)
{
    LoopbackPeer peer;
    resolver->Add("printer.lan", "127.0.0.1");
    socket.GetRemoteName("printer.lan");
    ASSERT_TRUE(RunUntil([&] { return events.Has("resolved"); }));
    socket.RemotePort = peer.PortText();
    socket.ZConnect();
    ASSERT_TRUE(RunUntil([&] { return events.Has("connect"); }));
    EXPECT_TRUE(resolver->WaitDone(1, 0));
    EXPECT_FALSE(resolver->WaitDone(2, 0));
    socket.ZClose();
}

TEST_F(ZSocketLookup, LocalAddressFollowsTheLookupOfTheOwnName)
{
    EXPECT_FALSE(socket.GetLocalHostName().empty());
    EXPECT_EQ(socket.GetLocalAddr(), "0.0.0.0");
    resolver->Add(socket.GetLocalHostName(), "127.0.1.1");
    EXPECT_EQ(socket.GetLocalAddr(), "127.0.1.1");
}

TEST(ZSocketSystemLookup, LocalhostResolvesToLoopback)
{
    TZSocket socket;
    SocketEvents events;
    events.Attach(socket);
    socket.GetRemoteName("localhost");
    ASSERT_TRUE(RunUntil([&] { return events.Has("resolved"); }));
    EXPECT_EQ(socket.RemoteAddr.rfind("127.", 0), 0u);
    EXPECT_EQ(socket.State(), socket_resolved);
}

// The watchdog, armed around the blocking lookup of ZConnect and for the
// whole of GetRemoteName.
TEST_F(ZSocketLookup, WithTimeoutZeroNoWatchdogRuns)
{
    socket.Timeout = 0;
    resolver->Add("slow.lan", "127.0.0.1");
    resolver->Hold("slow.lan");
    socket.GetRemoteName("slow.lan");
    RunFor(1500);
    EXPECT_FALSE(events.Has("timeout"));
    resolver->Release();
    ASSERT_TRUE(RunUntil([&] { return events.Has("resolved"); }));
    EXPECT_FALSE(events.Has("timeout"));
}

TEST_F(ZSocketLookup, ExpiredWatchdogRaisesOnlyOnTimeoutOnce)
{
    socket.Timeout = 1;
    resolver->Hold("slow.lan");
    socket.GetRemoteName("slow.lan");
    ASSERT_TRUE(RunUntil([&] { return events.Has("timeout"); }));
    RunFor(1200);
    EXPECT_EQ(events.Count("timeout"), 1u);
    EXPECT_TRUE(events.errors.empty());
    EXPECT_EQ(socket.State(), socket_resolving);
}

TEST_F(ZSocketLookup, BlockingLookupIsGivenUpWhenTheWatchdogExpires)
{
    socket.Timeout = 1;
    socket.RemoteAddr = "slow.lan";
    socket.RemotePort = "62002";
    resolver->Add("slow.lan", "127.0.0.1");
    resolver->Hold("slow.lan");
    socket.ZConnect();
    ASSERT_EQ(events.names, (std::vector<std::string>{"timeout", "error"}));
    EXPECT_EQ(events.states[0], socket_connecting);
    EXPECT_EQ(events.errors[0].code, 3);
    EXPECT_EQ(socket.State(), socket_error);
    EXPECT_EQ(socket.SocketHandle, INVALID_SOCKET);
}

TEST_F(ZSocketLookup, WithoutOnTimeoutTheWatchdogCancelsTheBlockingLookup)
{
    socket.OnTimeout = nullptr;
    socket.Timeout = 1;
    socket.RemoteAddr = "slow.lan";
    socket.RemotePort = "62002";
    resolver->Hold("slow.lan");
    socket.ZConnect();
    ASSERT_EQ(events.errors.size(), 2u);
    EXPECT_EQ(events.errors[0].code, 4);
    EXPECT_EQ(events.errors[1].code, 3);
    RunFor(1200);
    EXPECT_EQ(events.errors.size(), 2u);
}

} // namespace
} // namespace krn310
