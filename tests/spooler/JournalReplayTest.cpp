#include "spooler/PortsPrinters.h"

#include "platform/cups/ReleaseJournal.h"
#include "tests/spooler/PrivateCupsd.h"

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krn310 {
namespace {

using TUris = std::map<std::string, std::string>;

const TUris kQueues = {
    {"Receipt", "serial:/dev/ttyS0?baud=9600+flow=soft"},
    {"Kitchen", "serial:/dev/ttyS0?baud=38400+flow=hard"},
    {"Bar", "serial:/dev/ttyS0"},
    {"Office", "serial:/dev/ttyS1?baud=115200"},
    {"Network", "socket://127.0.0.1:9100"},
};

class JournalReplay : public test::CupsdTest {
protected:
    // A holder that releases the port and is killed while it holds it.
    void ReleaseInKilledHolder(const std::string& port)
    {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t holder = ::fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            ::close(ready[0]);
            CPortsPrinters ports(false);
            ports.ReleasePort(port);
            const char done = 'r';
            if (::write(ready[1], &done, 1) != 1)
                ::_exit(1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        pollfd wait{ready[0], POLLIN, 0};
        char done = 0;
        const bool released = ::poll(&wait, 1, 60000) == 1 && ::read(ready[0], &done, 1) == 1;
        ::close(ready[0]);
        ::kill(holder, SIGKILL);
        int status = 0;
        ::waitpid(holder, &status, 0);
        ASSERT_TRUE(released) << "the holder did not release the port";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }
};

TEST_F(JournalReplay, KilledHoldersQueuesComeBackAtTheNextStart)
{
    AddQueues(kQueues);
    ReleaseInKilledHolder("ttyS0:");
    const TUris released = {
        {"Receipt", "file:///dev/null"}, {"Kitchen", "file:///dev/null"}, {"Bar", "file:///dev/null"},
        {"Office", "serial:/dev/ttyS1?baud=115200"}, {"Network", "socket://127.0.0.1:9100"},
    };
    ASSERT_EQ(Cupsd().DeviceUris(), released);
    ASSERT_TRUE(std::filesystem::exists(Cupsd().JournalPath()));

    RestoreJournalledPrinters();

    EXPECT_EQ(Cupsd().DeviceUris(), kQueues);
    EXPECT_FALSE(std::filesystem::exists(Cupsd().JournalPath()));
}

TEST_F(JournalReplay, QueuesChangedOrRemovedMeanwhileAreLeftAsTheyAre)
{
    AddQueues(kQueues);
    ReleaseInKilledHolder("ttyS0:");
    ASSERT_TRUE(Cupsd().SetQueueUri("Kitchen", "socket://127.0.0.1:9101"));
    ASSERT_TRUE(Cupsd().RemoveQueue("Bar"));

    RestoreJournalledPrinters();

    EXPECT_EQ(Cupsd().DeviceUris(), (TUris{
                                        {"Receipt", "serial:/dev/ttyS0?baud=9600+flow=soft"},
                                        {"Kitchen", "socket://127.0.0.1:9101"},
                                        {"Office", "serial:/dev/ttyS1?baud=115200"},
                                        {"Network", "socket://127.0.0.1:9100"},
                                    }));
    EXPECT_FALSE(std::filesystem::exists(Cupsd().JournalPath()));
}

TEST_F(JournalReplay, ReplayWithNothingJournalledChangesNothing)
{
    AddQueues(kQueues);
    RestoreJournalledPrinters();
    EXPECT_EQ(Cupsd().DeviceUris(), kQueues);
}

} // namespace
} // namespace krn310
