#include <gtest/gtest.h>

#include <string>

#include "settings/MacKeyFilter.h"
#include "settings/SpeedSlider.h"

namespace krn310 {
namespace {

constexpr int kRs232 = 0;
constexpr int kEthernet = 1;
constexpr int kBaud115200 = 0;
constexpr int kBaud9600 = 6;
constexpr int kBaud4800 = 7;
constexpr int kBaud1200 = 9;

struct LabelCase {
    int position;
    int max;
    std::string text;
    int left;
};

class SpeedLabelPlacement : public testing::TestWithParam<LabelCase> {};

TEST_P(SpeedLabelPlacement, LabelShowsTheSpeedAboveTheThumb)
{
    SpeedSlider slider;
    slider.Max = GetParam().max;
    slider.Position = GetParam().position;
    slider.SelEnd = 0;
    SpeedLabel label;
    TrackBar2Change(slider, label);
    EXPECT_EQ(slider.SelEnd, GetParam().position);
    EXPECT_EQ(label.Text, GetParam().text);
    EXPECT_EQ(label.Left, GetParam().left);
}

// 230 / (Max - Min) * P + 1, truncated; an empty range puts the label where
// the full range puts the minimum.
INSTANTIATE_TEST_SUITE_P(Cases, SpeedLabelPlacement,
    testing::Values(LabelCase{18, 125, "32", 39},
                    LabelCase{25, 125, "44", 54},
                    LabelCase{125, 125, "220", 269},
                    LabelCase{25, 25, "44", 822},
                    LabelCase{18, 18, "32", 39}));

TEST(SpeedSlider, BaudMaximumOnRs232ClampsTheThumb)
{
    SpeedSlider slider;
    SpeedLabel label;
    ComboBox14Change(kBaud9600, kRs232, slider, label);
    EXPECT_EQ(slider.Max, 25);
    EXPECT_EQ(slider.Position, 25);
    EXPECT_EQ(slider.SelEnd, 25);
    EXPECT_EQ(label.Text, "44");
}

TEST(SpeedSlider, EthernetAllowsTheFullRangeWhateverTheBaud)
{
    SpeedSlider slider;
    slider.Max = 25;
    slider.Position = slider.SelEnd = 25;
    SpeedLabel label;
    ComboBox14Change(kBaud1200, kEthernet, slider, label);
    EXPECT_EQ(slider.Max, 125);
    EXPECT_EQ(slider.Position, 25);
}

TEST(SpeedSlider, SlowBaudThenFastBaudLeavesTheThumbAtTheMinimum)
{
    SpeedSlider slider;
    SpeedLabel label;
    ComboBox14Change(kBaud1200, kRs232, slider, label);
    EXPECT_EQ(slider.Max, 18);
    EXPECT_EQ(slider.Position, 18);
    EXPECT_EQ(label.Text, "32");
    EXPECT_EQ(label.Left, 39);

    ComboBox14Change(kBaud115200, kRs232, slider, label);
    EXPECT_EQ(slider.Max, 125);
    EXPECT_EQ(slider.Position, 18);
    EXPECT_EQ(slider.SelEnd, 18);
}

TEST(SpeedSlider, RaisingTheMaximumKeepsTheThumb)
{
    SpeedSlider slider;
    slider.Max = 25;
    slider.Position = slider.SelEnd = 20;
    SpeedLabel label{"unchanged", 7};
    ComboBox14Change(kBaud4800, kRs232, slider, label);
    EXPECT_EQ(slider.Max, 30);
    EXPECT_EQ(slider.Position, 20);
    EXPECT_EQ(label.Text, "unchanged");
}

TEST(SpeedSlider, NoBaudSelectedLeavesTheMaximum)
{
    SpeedSlider slider;
    slider.Max = 53;
    slider.Position = 40;
    SpeedLabel label;
    const SpeedSlider before = slider;
    ComboBox14Change(-1, kRs232, slider, label);
    EXPECT_EQ(slider, before);
}

TEST(SpeedSlider, MaximumBelowTheMinimumIsIgnored)
{
    SpeedSlider slider;
    slider.Min = 20;
    SpeedLabel label;
    ComboBox14Change(kBaud1200, kRs232, slider, label);
    EXPECT_EQ(slider.Max, 125);
    EXPECT_EQ(slider.Position, 125);
}

TEST(SpeedSlider, ThumbStaysInRangeAndChangesOnlyWhenItMoves)
{
    SpeedSlider slider;
    SpeedLabel label{"unchanged", 7};
    SetTrackBar2Position(slider, label, 400);
    EXPECT_EQ(slider.Position, 125);
    EXPECT_EQ(label.Text, "unchanged");

    SetTrackBar2Position(slider, label, -3);
    EXPECT_EQ(slider.Position, 18);
    EXPECT_EQ(slider.SelEnd, 18);
    EXPECT_EQ(label.Text, "32");
}

TEST(MacKeyFilter, OnlyHexDigitsPass)
{
    for (const char32_t key : {U'0', U'5', U'9', U'a', U'c', U'f', U'A', U'F'})
        EXPECT_TRUE(Edit10KeyPress(key)) << static_cast<int>(key);
    for (const char32_t key : {U'g', U'G', U'/', U':', U'@', U'`', U' ', U'-', U'\b', U'\r', U'\x7F', U'Ж', U'а'})
        EXPECT_FALSE(Edit10KeyPress(key)) << static_cast<int>(key);
}

} // namespace
} // namespace krn310
