#include "tests/faults/FaultFixture.h"

#include "bench/ReadAllCommands.h"

#include <QElapsedTimer>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace krn310::test {
namespace {

enum class Outcome { Read, NotResponding, Either };

struct FaultCase {
    std::string name;
    std::function<void(sim::Faults&)> set;
    Outcome overTcp;
    Outcome overPty;
    // How long the printer goes on with a reply after the fault, before the
    // next connect can expect clean answers.
    int settleMs = 0;
};

std::vector<FaultCase> Cases()
{
    std::vector<FaultCase> cases;
    for (int i = 0; i < 10; ++i) {
        cases.push_back({"SilentOnCommand" + std::to_string(i), [i](sim::Faults& f) { f.silentOnCommand = i; },
                         Outcome::NotResponding, Outcome::NotResponding});
        const auto bytes = ReadAllCommands()[size_t(i)];
        cases.push_back({"SilentOnBytesOfCommand" + std::to_string(i),
                         [bytes](sim::Faults& f) { f.silentOnBytes = bytes; }, Outcome::NotResponding,
                         Outcome::NotResponding});
    }
    cases.push_back({"SplitAfterOneByteShortPause",
                     [](sim::Faults& f) { f.splitAfter = 1; f.splitPauseMs = 300; }, Outcome::Read, Outcome::Read});
    cases.push_back({"SplitAfterHundredBytesShortPause",
                     [](sim::Faults& f) { f.splitAfter = 100; f.splitPauseMs = 300; }, Outcome::Read, Outcome::Read});
    cases.push_back({"SplitWithPauseBeyondTheWatchdog",
                     [](sim::Faults& f) { f.splitAfter = 1; f.splitPauseMs = 2500; }, Outcome::NotResponding,
                     Outcome::NotResponding, 2500});
    cases.push_back({"SlowReplies", [](sim::Faults& f) { f.slowReplyMs = 400; }, Outcome::Read, Outcome::Read});
    cases.push_back({"SurplusBytes", [](sim::Faults& f) { f.surplus = {0x00, 0x55, 0xAA, 0x00}; }, Outcome::Either,
                     Outcome::Either});
    cases.push_back({"GarbageBeforeReplies", [](sim::Faults& f) { f.garbage = {0xFF, 0x13, 0x00, 0x11}; },
                     Outcome::Either, Outcome::Either});
    cases.push_back({"DroppedMidReply", [](sim::Faults& f) { f.dropMidReply = true; }, Outcome::NotResponding,
                     Outcome::NotResponding});
    // A reset is a TCP matter; the pty carries on.
    cases.push_back({"Reset", [](sim::Faults& f) { f.resetConnection = true; }, Outcome::NotResponding,
                     Outcome::Read});
    cases.push_back({"Silent", [](sim::Faults& f) { f.silent = true; }, Outcome::NotResponding,
                     Outcome::NotResponding});
    return cases;
}

struct FaultRun {
    FaultCase fault;
    Link link;
};

void PrintTo(const FaultRun& run, std::ostream* out)
{
    *out << run.fault.name << " over " << LinkName(run.link);
}

std::vector<FaultRun> Runs()
{
    std::vector<FaultRun> runs;
    for (const FaultCase& c : Cases())
        for (Link link : {Link::Tcp, Link::Pty})
            runs.push_back({c, link});
    return runs;
}

class FaultSuite : public FaultFixture {
protected:
    std::vector<QWidget*> SettingsViews() const
    {
        return {form->PrinterSettings1.GroupBox2, form->FontParams.GroupBox4,      form->Positioning.GroupBox5,
                form->Barcode.GroupBox6,          form->ConnectionParams.GroupBox7, form->ServiceInfo.GroupBox8,
                form->PrinterSettings2.GroupBox3, form->Apply.Panel2};
    }

    // Waits for the read to end one way or the other, and checks that the
    // process did not spin meanwhile.
    bool WaitForEnd(int limitMs)
    {
        const auto cpuBefore = ProcessCpuTime();
        QElapsedTimer wall;
        wall.start();
        const bool ended = RunUntil([&] { return ReadComplete() || NotRespondingShown(); }, limitMs);
        const auto cpuMs = std::chrono::duration_cast<std::chrono::milliseconds>(ProcessCpuTime() - cpuBefore);
        // A busy loop costs a whole core; waiting for bytes costs next to nothing.
        EXPECT_LT(cpuMs.count(), wall.elapsed() / 4 + 200) << "over " << wall.elapsed() << " ms";
        return ended;
    }

    void ExpectNotRespondingState()
    {
        EXPECT_TRUE(NotRespondingShown());
        EXPECT_FALSE(LinkOpen());
        EXPECT_TRUE(form->Sequencer.Idle());
        EXPECT_FALSE(form->Timer1.Enabled());
        EXPECT_EQ(HeaderText(), "Установить соединение");
        EXPECT_EQ(form->Navigation.HeaderControl1->SectionImageIndex(0), 0);
        EXPECT_TRUE(HeaderVisible());
        for (QWidget* settings : SettingsViews())
            EXPECT_FALSE(settings->isEnabled()) << settings->objectName().toStdString();
        EXPECT_TRUE(form->Connection.GroupBox1->isEnabled());
    }

    void ExpectReadState()
    {
        EXPECT_FALSE(NotRespondingShown());
        EXPECT_TRUE(LinkOpen());
        EXPECT_EQ(form->Navigation.HeaderControl1->SectionImageIndex(0), 1);
        for (QWidget* settings : SettingsViews())
            EXPECT_TRUE(settings->isEnabled()) << settings->objectName().toStdString();
    }

    // The window still answers the operator: tree clicks switch the views.
    void ExpectWorkingWindow()
    {
        for (int index : {1, 0}) {
            ClickNode(index);
            const int viewNumber = TForm1::ViewNumberOf(Tree()->Item(index));
            EXPECT_EQ(ShownView(), form->ViewFor(viewNumber)) << "node " << index;
        }
    }
};

class FaultSuiteRuns : public FaultSuite, public ::testing::WithParamInterface<FaultRun> {};

TEST_P(FaultSuiteRuns, EndsInACompleteReadOrTheSilentPrinterMessage)
{
    const FaultRun& run = GetParam();
    StartPrinter(run.link);
    sim::Faults faults;
    run.fault.set(faults);
    printer->SetFaults(faults);

    Connect();
    ASSERT_TRUE(WaitForEnd(30000)) << "neither read nor given up";
    const Outcome expected = run.link == Link::Tcp ? run.fault.overTcp : run.fault.overPty;
    const bool read = !NotRespondingShown();
    if (expected != Outcome::Either) {
        EXPECT_EQ(read, expected == Outcome::Read) << (read ? "read" : "not responding");
    }
    if (read)
        ExpectReadState();
    else
        ExpectNotRespondingState();
    ExpectWorkingWindow();

    // Whatever happened, the next connect to a sound printer reads it.
    printer->SetFaults({});
    RunFor(run.fault.settleMs);
    if (read)
        Disconnect();
    boxes.shown.clear();
    Connect();
    EXPECT_TRUE(WaitForEnd(30000));
    EXPECT_TRUE(ReadComplete()) << "the read after the fault";
    EXPECT_FALSE(NotRespondingShown());
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSuiteRuns, ::testing::ValuesIn(Runs()),
                         [](const ::testing::TestParamInfo<FaultRun>& info) {
                             return info.param.fault.name + "Over" + LinkName(info.param.link);
                         });

class VanishingPrinter : public FaultSuite, public ::testing::WithParamInterface<Link> {};

TEST_P(VanishingPrinter, DuringTheReadEndsInTheSilentPrinterMessage)
{
    StartPrinter(GetParam());
    sim::Faults faults;
    faults.silentOnCommand = 4;
    printer->SetFaults(faults);
    Connect();
    ASSERT_TRUE(RunUntil([&] { return printer->WaitForLog(5, 0); }, 20000));
    printer->Stop();

    ASSERT_TRUE(WaitForEnd(30000));
    ExpectNotRespondingState();
    ExpectWorkingWindow();
}

TEST_P(VanishingPrinter, WhileIdleLeavesTheWindowQuietAndDisconnectable)
{
    StartPrinter(GetParam());
    Connect();
    ASSERT_TRUE(WaitForEnd(30000));
    ASSERT_TRUE(ReadComplete());
    printer->Stop();

    const auto cpuBefore = ProcessCpuTime();
    RunUntil([] { return false; }, 1500);
    const auto cpuMs = std::chrono::duration_cast<std::chrono::milliseconds>(ProcessCpuTime() - cpuBefore);
    EXPECT_LT(cpuMs.count(), 300) << "the window spins on a vanished device";
    ExpectWorkingWindow();
    ClickHeaderSection();
    EXPECT_FALSE(LinkOpen());
    EXPECT_EQ(HeaderText(), "Установить соединение");
}

INSTANTIATE_TEST_SUITE_P(Faults, VanishingPrinter, ::testing::Values(Link::Tcp, Link::Pty),
                         [](const ::testing::TestParamInfo<Link>& info) { return LinkName(info.param); });

} // namespace
} // namespace krn310::test
