#include "tests/flows/FlowFixture.h"

#include <functional>

namespace krn310::test {
namespace {

// A field the encoder refuses ends the flow before anything is disabled or
// sent; the operator sees why.
struct RejectionCase {
    const char* name;
    int fieldView;
    std::function<TEdit*(TForm1&)> field;
    const char* text;
    int pressFromView;
    std::function<TSpeedButton*(TForm1&)> button;
    std::string message;
    int viewShownAfter;
    std::function<const TTimer&(TForm1&)> pause;
};

class RejectedApply : public FlowFixture, public ::testing::WithParamInterface<RejectionCase> {};

TEST_P(RejectedApply, SendsNothingAndSaysWhy)
{
    const RejectionCase& c = GetParam();
    StartTcpPrinter();
    ConnectAndWaitForRead();
    ShowView(c.fieldView);
    Type(c.field(*form), c.text);
    ASSERT_EQ(c.field(*form)->text(), c.text);
    ShowView(c.pressFromView);
    printer->ClearLog();

    Press(c.button(*form));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, c.message);
    EXPECT_EQ(boxes.shown[0].kind, MessageBoxKind::Error);
    EXPECT_EQ(ShownView(), form->ViewFor(c.viewShownAfter));
    EXPECT_TRUE(AllViews(true));
    EXPECT_FALSE(c.pause(*form).Enabled());
    EXPECT_TRUE(form->Sequencer.Idle());
    // Longer than any pause of the flows.
    RunFor(1500);
    EXPECT_TRUE(Received().empty());
    EXPECT_TRUE(AllViews(true));
    EXPECT_TRUE(ShowsConnected());
    EXPECT_EQ(printer->Restarts(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Field, RejectedApply,
    ::testing::Values(
        RejectionCase{"Set1ModuleWidth", kBarcodeView, [](TForm1& f) { return f.Barcode.Edit5; }, "9", kFontView,
                      [](TForm1& f) { return f.Apply.SpeedButton3; }, LoadStr(IDS_RANGE_1_5), kBarcodeView,
                      [](TForm1& f) -> const TTimer& { return f.Timer3; }},
        RejectionCase{"Set2EmptyMacByte", kConnectionParamsView,
                      [](TForm1& f) { return f.ConnectionParams.Edit26; }, "", kConnectionParamsView,
                      [](TForm1& f) { return f.Apply.SpeedButton5; }, "''0x'' is not a valid integer value",
                      kConnectionParamsView, [](TForm1& f) -> const TTimer& { return f.Timer4; }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace krn310::test
