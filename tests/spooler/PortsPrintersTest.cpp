#include "spooler/PortsPrinters.h"

#include "tests/spooler/FakeSpooler.h"

#include <gtest/gtest.h>

#include <functional>

namespace krn310 {

void PrintTo(const TSpoolerPrinter& p, std::ostream* os)
{
    *os << p.Name << "@" << p.Port;
}

namespace {

using test::TFakeSpooler;
using TWrites = std::vector<std::pair<std::string, std::string>>;

// Two printers on the held port, one on another.
const std::vector<TSpoolerPrinter> kShop = {
    {"Receipt", "ttyS0:"},
    {"Kitchen", "ttyS0:"},
    {"Office", "ttyS1:"},
};

struct TOperation {
    enum { Release, Restore, RemovePrinter } Kind;
    std::string Text;  // the port text, or the printer to remove
};

struct TLifecycleCase {
    const char* Title;
    std::vector<TSpoolerPrinter> Printers;         // at construction
    std::function<void(TFakeSpooler&)> Meanwhile;  // after construction, before the operations
    std::vector<TOperation> Operations;
    TWrites ExpectedWrites;
    std::vector<TSpoolerPrinter> ExpectedPrinters;
};

const TOperation kRelease0{TOperation::Release, "ttyS0:"};
const TOperation kRestore0{TOperation::Restore, "ttyS0:"};

const TLifecycleCase kLifecycleCases[] = {
    {"ReleaseAndRestoreMoveExactlyThePrintersOfThePort", kShop, nullptr, {kRelease0, kRestore0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Receipt", "ttyS0:"}, {"Kitchen", "ttyS0:"}},
     kShop},
    {"ReleaseAloneLeavesThemOnFile", kShop, nullptr, {kRelease0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Office", "ttyS1:"}}},
    {"PrinterRemovedBeforeReleaseIsSkipped", kShop, [](TFakeSpooler& s) { s.Remove("Kitchen"); },
     {kRelease0, kRestore0},
     {{"Receipt", "FILE:"}, {"Receipt", "ttyS0:"}},
     {{"Receipt", "ttyS0:"}, {"Office", "ttyS1:"}}},
    {"PrinterAddedBeforeReleaseIsNotRebound", kShop,
     [](TFakeSpooler& s) { s.Printers.push_back({"Label", "ttyS0:"}); }, {kRelease0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Office", "ttyS1:"}, {"Label", "ttyS0:"}}},
    {"PrinterRemovedWhileReleasedIsSkippedOnRestore", kShop, nullptr,
     {kRelease0, {TOperation::RemovePrinter, "Kitchen"}, kRestore0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Receipt", "ttyS0:"}},
     {{"Receipt", "ttyS0:"}, {"Office", "ttyS1:"}}},
    {"PrinterRebindBeforeReleaseFollowsTheSnapshot", kShop,
     [](TFakeSpooler& s) { s.Printers[1].Port = "ttyS1:"; }, {kRelease0, kRestore0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Receipt", "ttyS0:"}, {"Kitchen", "ttyS0:"}},
     kShop},
    {"RestoreWithTextThatIsNotAKeyChangesNothing", kShop, nullptr,
     {kRelease0, {TOperation::Restore, "ttyS2:"}},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Office", "ttyS1:"}}},
    {"ReleaseOfUnknownOrMisspeltPortChangesNothing", kShop, nullptr,
     {{TOperation::Release, "COM1:"}, {TOperation::Release, "ttyS0"}, {TOperation::Release, ""}},
     {}, kShop},
    {"RestoreWithoutReleaseChangesNothing", kShop, nullptr, {kRestore0}, {}, kShop},
    {"SecondReleaseChangesNothing", kShop, nullptr, {kRelease0, kRelease0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Office", "ttyS1:"}}},
    {"SecondRestoreChangesNothing", kShop, nullptr, {kRelease0, kRestore0, kRestore0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Receipt", "ttyS0:"}, {"Kitchen", "ttyS0:"}},
     kShop},
    {"ReleaseAfterRestoreReleasesAgain", kShop, nullptr, {kRelease0, kRestore0, kRelease0},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Receipt", "ttyS0:"}, {"Kitchen", "ttyS0:"},
      {"Receipt", "FILE:"}, {"Kitchen", "FILE:"}},
     {{"Receipt", "FILE:"}, {"Kitchen", "FILE:"}, {"Office", "ttyS1:"}}},
    {"CaseMattersInPortTexts", {{"Upper", "ttyS0:"}, {"Lower", "ttys0:"}}, nullptr,
     {{TOperation::Release, "TTYS0:"}, {TOperation::Release, "ttys0:"}},
     {{"Lower", "FILE:"}},
     {{"Upper", "ttyS0:"}, {"Lower", "FILE:"}}},
    {"CaseMattersInPrinterNames", kShop,
     [](TFakeSpooler& s) { s.Printers[0].Name = "RECEIPT"; }, {kRelease0},
     {{"Kitchen", "FILE:"}},
     {{"RECEIPT", "ttyS0:"}, {"Kitchen", "FILE:"}, {"Office", "ttyS1:"}}},
    {"PrinterOnSeveralPortsIsLeftAlone", {{"Receipt", "ttyS0:"}, {"Both", "ttyS0:,ttyS1:"}}, nullptr,
     {kRelease0, {TOperation::Release, "ttyS1:"}},
     {{"Receipt", "FILE:"}},
     {{"Receipt", "FILE:"}, {"Both", "ttyS0:,ttyS1:"}}},
    {"UnreadablePrinterIsSkippedAndTheOthersGoOn", kShop,
     [](TFakeSpooler& s) { s.Unreadable.insert("Receipt"); }, {kRelease0, kRestore0},
     {{"Kitchen", "FILE:"}, {"Kitchen", "ttyS0:"}},
     kShop},
    {"FailedListingAtReleaseStillMarksItReleased", kShop, [](TFakeSpooler& s) { s.ListFails = true; },
     {kRelease0}, {}, kShop},
};

class PortsPrintersLifecycle : public ::testing::TestWithParam<TLifecycleCase> {};

TEST_P(PortsPrintersLifecycle, RebindsAsRecorded)
{
    const TLifecycleCase& c = GetParam();
    TFakeSpooler spooler;
    spooler.Printers = c.Printers;
    CPortsPrinters ports(false, spooler);
    if (c.Meanwhile)
        c.Meanwhile(spooler);

    for (const TOperation& op : c.Operations) {
        switch (op.Kind) {
        case TOperation::Release:
            ports.ReleasePort(op.Text);
            break;
        case TOperation::Restore:
            ports.RestorePort(op.Text);
            break;
        case TOperation::RemovePrinter:
            spooler.Remove(op.Text);
            break;
        }
    }

    EXPECT_EQ(spooler.Writes, c.ExpectedWrites);
    EXPECT_EQ(spooler.Printers, c.ExpectedPrinters);
}

INSTANTIATE_TEST_SUITE_P(Cases, PortsPrintersLifecycle, ::testing::ValuesIn(kLifecycleCases),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST(PortsPrinters, SnapshotGroupsPrinterNamesUnderTheirExactPortText)
{
    TFakeSpooler spooler;
    spooler.Printers = {{"A", "ttyS0:"}, {"B", "ttyS1:"}, {"C", "ttyS0:"}, {"D", "ttys0:"}, {"E", "ttyS0:,ttyS1:"}};
    const CPortsPrinters ports(false, spooler);

    const auto& map = ports.PortPrinters();
    ASSERT_EQ(map.size(), 4u);
    EXPECT_EQ(map.at("ttyS0:").Printers, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(map.at("ttyS1:").Printers, (std::vector<std::string>{"B"}));
    EXPECT_EQ(map.at("ttys0:").Printers, (std::vector<std::string>{"D"}));
    EXPECT_EQ(map.at("ttyS0:,ttyS1:").Printers, (std::vector<std::string>{"E"}));
    for (const auto& [port, list] : map)
        EXPECT_FALSE(list.Released) << port;
}

TEST(PortsPrinters, ReleasedFlagFollowsReleaseAndRestore)
{
    TFakeSpooler spooler;
    spooler.Printers = kShop;
    CPortsPrinters ports(false, spooler);

    ports.ReleasePort("ttyS0:");
    EXPECT_TRUE(ports.PortPrinters().at("ttyS0:").Released);
    EXPECT_FALSE(ports.PortPrinters().at("ttyS1:").Released);
    ports.RestorePort("ttyS0:");
    EXPECT_FALSE(ports.PortPrinters().at("ttyS0:").Released);
}

TEST(PortsPrinters, ConnectionsOnlyInTheSnapshotAndOnlyWhenAsked)
{
    TFakeSpooler spooler;
    spooler.Printers = kShop;
    spooler.Connections = {{"Remote", "ttyS0:"}};

    {
        CPortsPrinters ports(true, spooler);
        EXPECT_EQ(ports.PortPrinters().at("ttyS0:").Printers,
                  (std::vector<std::string>{"Receipt", "Kitchen", "Remote"}));
        ports.ReleasePort("ttyS0:");
        ports.RestorePort("ttyS0:");
    }
    EXPECT_EQ(spooler.ListCalls, (std::vector<bool>{true, false, false}));

    spooler.ListCalls.clear();
    const CPortsPrinters local(false, spooler);
    EXPECT_EQ(local.PortPrinters().at("ttyS0:").Printers, (std::vector<std::string>{"Receipt", "Kitchen"}));
    EXPECT_EQ(spooler.ListCalls, (std::vector<bool>{false}));
}

TEST(PortsPrinters, FailedListingAtConstructionLeavesNothingToDo)
{
    TFakeSpooler spooler;
    spooler.Printers = kShop;
    spooler.ListFails = true;
    CPortsPrinters ports(false, spooler);
    spooler.ListFails = false;

    ports.ReleasePort("ttyS0:");
    ports.RestorePort("ttyS0:");

    EXPECT_TRUE(ports.PortPrinters().empty());
    EXPECT_TRUE(spooler.Writes.empty());
    EXPECT_EQ(spooler.ListCalls.size(), 1u);
}

TEST(PortsPrinters, DestroyingMakesNoSpoolerCallAndLeavesThePrintersOnFile)
{
    TFakeSpooler spooler;
    spooler.Printers = kShop;
    auto ports = std::make_unique<CPortsPrinters>(false, spooler);
    ports->ReleasePort("ttyS0:");
    const auto listCalls = spooler.ListCalls.size();
    const auto writes = spooler.Writes.size();

    ports.reset();

    EXPECT_EQ(spooler.ListCalls.size(), listCalls);
    EXPECT_EQ(spooler.Writes.size(), writes);
    EXPECT_EQ(spooler.Printers[0].Port, "FILE:");
    EXPECT_EQ(spooler.Printers[1].Port, "FILE:");
}

} // namespace
} // namespace krn310
