#include "platform/cups/CupsSpooler.h"
#include "spooler/PortsPrinters.h"

#include "tests/spooler/PrivateCupsd.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace krn310 {
namespace {

using test::CupsdTest;
using TUris = std::map<std::string, std::string>;

const TUris kShopQueues = {
    {"Receipt", "serial:/dev/ttyS0?baud=9600+flow=soft"},
    {"Kitchen", "serial:/dev/ttyS0"},
    {"Office", "serial:/dev/ttyS1?baud=115200"},
    {"Network", "socket://127.0.0.1:9100"},
    {"Parked", "file:///dev/null"},
};

TUris With(TUris uris, const TUris& changes)
{
    for (const auto& [name, uri] : changes)
        uris[name] = uri;
    return uris;
}

class CupsSpooler : public CupsdTest {};

TEST_F(CupsSpooler, ListsLocalQueuesWithTheirPortFields)
{
    AddQueues(kShopQueues);
    TCupsSpooler spooler;
    std::vector<TSpoolerPrinter> printers;
    ASSERT_TRUE(spooler.ListPrinters(false, printers));

    std::sort(printers.begin(), printers.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
    EXPECT_EQ(printers, (std::vector<TSpoolerPrinter>{
                            {"Kitchen", "ttyS0:"},
                            {"Network", "socket://127.0.0.1:9100"},
                            {"Office", "ttyS1:"},
                            {"Parked", "FILE:"},
                            {"Receipt", "ttyS0:"},
                        }));
}

TEST_F(CupsSpooler, NoQueuesIsAnEmptyList)
{
    TCupsSpooler spooler;
    std::vector<TSpoolerPrinter> printers{{"stale", "x"}};
    EXPECT_TRUE(spooler.ListPrinters(false, printers));
    EXPECT_TRUE(printers.empty());
}

TEST_F(CupsSpooler, ReleaseMovesExactlyTheQueuesOfThePortAndRestoreGivesTheirUrisBack)
{
    AddQueues(kShopQueues);
    auto ports = std::make_unique<CPortsPrinters>(false);

    ports->ReleasePort("ttyS0:");
    EXPECT_EQ(Cupsd().DeviceUris(),
              With(kShopQueues, {{"Receipt", "file:///dev/null"}, {"Kitchen", "file:///dev/null"}}));
    const TReleaseJournal journal(Cupsd().JournalPath());
    EXPECT_EQ(journal.OriginalUri("Receipt"), "serial:/dev/ttyS0?baud=9600+flow=soft");
    EXPECT_EQ(journal.OriginalUri("Kitchen"), "serial:/dev/ttyS0");
    EXPECT_EQ(journal.Load().size(), 2u);

    ports->RestorePort("ttyS0:");
    ports.reset();
    EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues);
    EXPECT_FALSE(std::filesystem::exists(Cupsd().JournalPath()));
}

TEST_F(CupsSpooler, OperationsThatMatchNoHeldPortChangeNothing)
{
    struct TCase {
        const char* Title;
        bool Release;
        const char* Port;
    };
    const TCase cases[] = {
        {"case differs", true, "TTYS0:"},
        {"no colon", true, "ttyS0"},
        {"port without queues", true, "ttyS2:"},
        {"whole URI of a serial queue", true, "serial:/dev/ttyS0"},
        {"restore without release", false, "ttyS0:"},
    };
    AddQueues(kShopQueues);
    for (const TCase& c : cases) {
        CPortsPrinters ports(false);
        if (c.Release)
            ports.ReleasePort(c.Port);
        else
            ports.RestorePort(c.Port);
        EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues) << c.Title;
        EXPECT_FALSE(std::filesystem::exists(Cupsd().JournalPath())) << c.Title;
    }
}

TEST_F(CupsSpooler, OtherUrisAreTheirOwnPortField)
{
    AddQueues(kShopQueues);
    CPortsPrinters ports(false);
    ports.ReleasePort("socket://127.0.0.1:9100");
    EXPECT_EQ(Cupsd().DeviceUris(), With(kShopQueues, {{"Network", "file:///dev/null"}}));
    ports.RestorePort("socket://127.0.0.1:9100");
    EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues);
}

TEST_F(CupsSpooler, QueuesRemovedOrAddedAfterTheSnapshotAreLeftAlone)
{
    AddQueues(kShopQueues);
    CPortsPrinters ports(false);
    ASSERT_TRUE(Cupsd().RemoveQueue("Kitchen"));
    ASSERT_TRUE(Cupsd().AddQueue("Label", "serial:/dev/ttyS0?baud=19200"));
    TUris now = kShopQueues;
    now.erase("Kitchen");
    now["Label"] = "serial:/dev/ttyS0?baud=19200";

    ports.ReleasePort("ttyS0:");
    EXPECT_EQ(Cupsd().DeviceUris(), With(now, {{"Receipt", "file:///dev/null"}}));
    ports.RestorePort("ttyS0:");
    EXPECT_EQ(Cupsd().DeviceUris(), now);
}

TEST_F(CupsSpooler, RepeatedReleaseKeepsTheOriginalUri)
{
    AddQueues(kShopQueues);
    CPortsPrinters ports(false);
    ports.ReleasePort("ttyS0:");
    ports.ReleasePort("ttyS0:");
    ports.RestorePort("ttyS0:");
    ports.RestorePort("ttyS0:");
    EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues);
}

TEST_F(CupsSpooler, QueueThatCannotBeReadIsNotWritten)
{
    AddQueues(kShopQueues);
    TCupsSpooler spooler;
    // CUPS would create a missing queue, and find one by any case of its name.
    EXPECT_FALSE(spooler.SetPrinterPort("Ghost", "FILE:"));
    EXPECT_FALSE(spooler.SetPrinterPort("receipt", "FILE:"));
    EXPECT_FALSE(spooler.SetPrinterPort("Ghost", "ttyS0:"));
    EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues);
    EXPECT_FALSE(std::filesystem::exists(Cupsd().JournalPath()));
}

TEST_F(CupsSpooler, QueueAlreadyOnItsPortKeepsItsOptions)
{
    AddQueues(kShopQueues);
    TCupsSpooler spooler;
    EXPECT_TRUE(spooler.SetPrinterPort("Receipt", "ttyS0:"));
    EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues);
}

TEST_F(CupsSpooler, UnjournalledQueueReturnsToItsPlainSerialUri)
{
    AddQueues({{"Receipt", "file:///dev/null"}});
    TCupsSpooler spooler;
    EXPECT_TRUE(spooler.SetPrinterPort("Receipt", "ttyUSB0:"));
    EXPECT_EQ(Cupsd().DeviceUris(), (TUris{{"Receipt", "serial:/dev/ttyUSB0"}}));
}

TEST_F(CupsSpooler, UnwritableJournalLeavesTheQueueOnItsPort)
{
    AddQueues(kShopQueues);
    test::TTempDir dir;
    const std::string blocker = dir / "not-a-folder";
    { std::ofstream(blocker) << "x"; }
    TCupsSpooler spooler(blocker + "/released-queues");
    EXPECT_FALSE(spooler.SetPrinterPort("Receipt", "FILE:"));
    EXPECT_EQ(Cupsd().DeviceUris(), kShopQueues);
}

TEST_F(CupsSpooler, DestroyingWithoutRestoreLeavesQueuesOnTheNullDeviceWhileTheHolderLives)
{
    AddQueues(kShopQueues);
    {
        CPortsPrinters ports(false);
        ports.ReleasePort("ttyS0:");
    }
    const TUris released = With(kShopQueues, {{"Receipt", "file:///dev/null"}, {"Kitchen", "file:///dev/null"}});
    EXPECT_EQ(Cupsd().DeviceUris(), released);

    // The holder (this process) is still running: not a queue to take back.
    RestoreJournalledPrinters();
    EXPECT_EQ(Cupsd().DeviceUris(), released);
    EXPECT_EQ(TReleaseJournal(Cupsd().JournalPath()).Load().size(), 2u);
}

} // namespace
} // namespace krn310
