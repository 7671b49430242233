#include "platform/cups/ReleaseJournal.h"

#include "tests/spooler/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace krn310 {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReleaseJournal, RecordsOriginalUrisAndGoesAwayWithTheLastEntry)
{
    TTempDir dir;
    TReleaseJournal journal(dir / "state/krn310-config/released-queues");

    ASSERT_TRUE(journal.Record("Receipt", "serial:/dev/ttyS0?baud=9600+flow=soft"));
    ASSERT_TRUE(journal.Record("Kitchen", "serial:/dev/ttyS0"));
    EXPECT_EQ(journal.OriginalUri("Receipt"), "serial:/dev/ttyS0?baud=9600+flow=soft");
    EXPECT_EQ(journal.OriginalUri("receipt"), std::nullopt);

    const auto entries = journal.Load();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].Printer, "Kitchen");
    EXPECT_EQ(entries[1].Holder, CurrentHolder());
    // Nothing but the journal and its lock: no temporary file is left behind.
    EXPECT_EQ(FilesIn(dir / "state/krn310-config"),
              (std::vector<std::string>{"released-queues", "released-queues.lock"}));
    EXPECT_EQ(fs::status(journal.Path()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    journal.Forget("Receipt");
    EXPECT_EQ(journal.OriginalUri("Receipt"), std::nullopt);
    EXPECT_TRUE(fs::exists(journal.Path()));
    journal.Forget("Kitchen");
    EXPECT_FALSE(fs::exists(journal.Path()));
}

TEST(ReleaseJournal, NewRecordForAQueueReplacesTheOldOne)
{
    TTempDir dir;
    TReleaseJournal journal(dir / "released-queues");
    ASSERT_TRUE(journal.Record("Receipt", "serial:/dev/ttyS0"));
    ASSERT_TRUE(journal.Record("Receipt", "serial:/dev/ttyS0?baud=19200"));
    ASSERT_EQ(journal.Load().size(), 1u);
    EXPECT_EQ(journal.OriginalUri("Receipt"), "serial:/dev/ttyS0?baud=19200");
}

TEST(ReleaseJournal, RefusesWhatItCouldNotReadBack)
{
    TTempDir dir;
    TReleaseJournal journal(dir / "released-queues");
    EXPECT_FALSE(journal.Record("Two\tFields", "serial:/dev/ttyS0"));
    EXPECT_FALSE(journal.Record("Receipt", "serial:/dev/ttyS0\nKitchen"));
    EXPECT_FALSE(journal.Record("", "serial:/dev/ttyS0"));
    EXPECT_FALSE(fs::exists(journal.Path()));
}

TEST(ReleaseJournal, UnwritablePlaceFailsTheRecord)
{
    TTempDir dir;
    std::ofstream(dir / "file") << "x";
    TReleaseJournal journal(dir / "file/released-queues");
    EXPECT_FALSE(journal.Record("Receipt", "serial:/dev/ttyS0"));
}

TEST(ReleaseJournal, HolderIsAliveOnlyWhileItsProcessRuns)
{
    const TJournalHolder self = CurrentHolder();
    EXPECT_TRUE(IsHolderAlive(self));

    TJournalHolder otherBoot = self;
    otherBoot.BootId = "00000000-0000-0000-0000-000000000000";
    EXPECT_FALSE(IsHolderAlive(otherBoot));

    TJournalHolder reusedPid = self;
    reusedPid.StartTime += 1;
    EXPECT_FALSE(IsHolderAlive(reusedPid));

    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    int status = 0;
    ::waitpid(child, &status, 0);
    TJournalHolder gone = self;
    gone.Pid = child;
    EXPECT_FALSE(IsHolderAlive(gone));
}

TEST(ReleaseJournal, ReplayHandsOverDeadHoldersAndKeepsTheUnsettled)
{
    TTempDir dir;
    const std::string path = dir / "released-queues";
    const TJournalHolder self = CurrentHolder();
    {
        std::ofstream out(path);
        out << "Dead1\tserial:/dev/ttyS0?baud=9600\t1\t1\tother-boot\n"
            << "broken line without fields\n"
            << "Dead2\tserial:/dev/ttyS1\t1\t1\tother-boot\n"
            << "Mine\tserial:/dev/ttyS2\t" << self.Pid << "\t" << self.StartTime << "\t" << self.BootId << "\n"
            << "BadPid\tserial:/dev/ttyS3\tnot-a-number\t1\tother-boot\n";
    }
    TReleaseJournal journal(path);

    std::vector<std::string> handed;
    journal.ReplayDead([&](const TJournalEntry& entry) {
        handed.push_back(entry.Printer + "=" + entry.DeviceUri);
        return entry.Printer != "Dead2";  // Dead2 could not be restored this time
    });

    EXPECT_EQ(handed, (std::vector<std::string>{"Dead1=serial:/dev/ttyS0?baud=9600", "Dead2=serial:/dev/ttyS1"}));
    const auto kept = journal.Load();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].Printer, "Dead2");
    EXPECT_EQ(kept[1].Printer, "Mine");

    journal.ReplayDead([](const TJournalEntry&) { return true; });
    ASSERT_EQ(journal.Load().size(), 1u);
    journal.Forget("Mine");
    EXPECT_FALSE(fs::exists(path));
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ReleaseJournal, DefaultPathIsPerUserAndOverridable)
{
    struct TCase {
        const char* Journal;
        const char* State;
        const char* Home;
        const char* Expected;
    };
    const TCase cases[] = {
        {"/tmp/j/released", "/s", "/h", "/tmp/j/released"},
        {nullptr, "/s", "/h", "/s/krn310-config/released-queues"},
        {"", "relative", "/h", "/h/.local/state/krn310-config/released-queues"},
        {nullptr, nullptr, "/h", "/h/.local/state/krn310-config/released-queues"},
    };
    for (const TCase& c : cases) {
        ScopedEnv journal("KRN310_SPOOLER_JOURNAL", c.Journal);
        ScopedEnv state("XDG_STATE_HOME", c.State);
        ScopedEnv home("HOME", c.Home);
        EXPECT_EQ(DefaultJournalPath(), c.Expected);
    }
}

} // namespace
} // namespace krn310
