#include "tests/faults/FaultFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace krn310::test {
namespace {

int EntriesIn(const char* folder)
{
    return int(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

long ResidentKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

constexpr int kCycles = 500;

// AddressSanitizer keeps freed memory aside for a while, so resident memory
// says nothing there; its leak check counts the bytes instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentMemoryTells = false;
#else
constexpr bool kResidentMemoryTells = true;
#endif

class ConnectCycles : public FaultFixture, public ::testing::WithParamInterface<Link> {
protected:

    void Cycle()
    {
        Connect();
        ASSERT_TRUE(RunUntil([&] { return ReadComplete() || NotRespondingShown(); }, 20000));
        ASSERT_TRUE(ReadComplete());
        Disconnect();
        // The socket's close and the serial thread's end settle in the loop.
        RunFor(0);
    }
};

TEST_P(ConnectCycles, LeakNoDescriptorThreadOrMemory)
{
    StartPrinter(GetParam());
    // Before any link: the window's, Qt's and the simulator's threads.
    const int threadsIdle = EntriesIn("/proc/self/task");
    // A first cycle for what is made once and kept: fonts, caches.
    Cycle();
    ASSERT_FALSE(HasFatalFailure());
    // The serial event thread ends a moment after its port is closed.
    ASSERT_TRUE(RunUntil([&] { return EntriesIn("/proc/self/task") == threadsIdle; }, 5000));
    const int descriptors = EntriesIn("/proc/self/fd");
    const long residentKb = ResidentKb();

    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < kCycles; ++i) {
        Cycle();
        ASSERT_FALSE(HasFatalFailure()) << "cycle " << i;
    }
    std::printf("%d cycles over %s in %lld ms\n", kCycles, LinkName(GetParam()), elapsed.elapsed());

    // Qt's pooled threads, and their descriptors, go after 30 s unused:
    // fewer is no fault, more is a leak.
    EXPECT_TRUE(RunUntil([&] { return EntriesIn("/proc/self/task") <= threadsIdle; }, 5000))
        << EntriesIn("/proc/self/task") << " threads, " << threadsIdle << " before";
    EXPECT_TRUE(RunUntil([&] { return EntriesIn("/proc/self/fd") <= descriptors; }, 5000))
        << EntriesIn("/proc/self/fd") << " descriptors, " << descriptors << " before";
    // Loosely: the heap may grow a little, a leak per cycle would show.
    if (kResidentMemoryTells) {
        EXPECT_LT(ResidentKb() - residentKb, 16 * 1024);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, ConnectCycles, ::testing::Values(Link::Tcp, Link::Pty),
                         [](const ::testing::TestParamInfo<Link>& info) { return LinkName(info.param); });

} // namespace
} // namespace krn310::test
