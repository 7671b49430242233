#include <gtest/gtest.h>

#include <string>

#include "platform/StrToInt.h"
#include "platform/StringTable.h"
#include "settings/Set1Block.h"
#include "tests/settings/BlockFixture.h"

namespace krn310 {
namespace {

using test::AllZero;
using test::BlockWithWords;
using test::Bytes;
using test::FilledImage;

// A view with a distinct, valid value in every field.
Set1View EveryFieldSet()
{
    Set1View view;
    view.Edit7 = "7";
    view.ComboBox12 = 2;
    view.ComboBox7 = 7;
    view.ComboBox8 = 3;
    view.CheckBox1 = true;
    view.CheckBox2 = false;
    view.CheckBox3 = true;
    view.Edit6 = "65535";
    view.ComboBox9 = 1;
    view.Edit1 = "12";
    view.Edit2 = "576";
    view.ComboBox13 = 1;
    view.Edit3 = "3,9,200,0";
    view.ComboBox10 = 3;
    view.ComboBox11 = 1;
    view.Edit4 = "255";
    view.Edit5 = "5";
    return view;
}

Set1View FactoryView()
{
    Set1View view;
    view.Edit7 = "0";
    view.ComboBox12 = view.ComboBox7 = view.ComboBox8 = 0;
    view.Edit6 = "24";
    view.ComboBox9 = 0;
    view.Edit1 = "0";
    view.Edit2 = "576";
    view.ComboBox13 = 0;
    view.Edit3 = "8,16,24,32,40,48,0";
    view.ComboBox10 = view.ComboBox11 = 0;
    view.Edit4 = "160";
    view.Edit5 = "1";
    return view;
}

TEST(Set1Block, EncodingWritesEveryFieldAtItsOffset)
{
    SettingsBlock image = FilledImage();
    ASSERT_FALSE(EncodeSet1Block(EveryFieldSet(), image));

    const std::pair<std::size_t, uint32_t> words[] = {
        {0, 1}, {4, 7}, {8, 2}, {12, 8}, {16, 4}, {20, 1}, {24, 0}, {28, 0}, {32, 1}, {36, 65535}, {40, 1},
        {44, 12}, {48, 576}, {52, 1}, {56, 1}, {60, 1}, {96, 3}, {100, 1}, {104, 255}, {108, 5}};
    for (const auto& [offset, value] : words)
        EXPECT_EQ(ReadU32(image, offset), value) << "offset " << offset;
    EXPECT_EQ(Bytes(image, 64, 4), (std::vector<uint8_t>{3, 9, 200, 0}));
    EXPECT_TRUE(AllZero(image, 67, 95));
    EXPECT_TRUE(AllZero(image, 112, 255));
}

TEST(Set1Block, EncodeThenDecodeGivesBackEveryField)
{
    for (const Set1View& original : {EveryFieldSet(), FactoryView()}) {
        SettingsBlock image{};
        ASSERT_FALSE(EncodeSet1Block(original, image));
        Set1View decoded;
        const BlockDecodeResult result = DecodeSet1Block(image, decoded);
        EXPECT_TRUE(result.UserValues);
        EXPECT_EQ(result.GridCell, "пользовательский");
        EXPECT_EQ(decoded, original);
    }
}

TEST(Set1Block, ReceivedNumbersShowAsUnsignedDecimal)
{
    const SettingsBlock block = BlockWithWords({{0, 1}, {4, 0xFFFFFFFF}, {36, 0x80000000}, {104, 160}});
    Set1View view;
    DecodeSet1Block(block, view);
    EXPECT_EQ(view.Edit7, "4294967295");
    EXPECT_EQ(view.Edit6, "2147483648");
    EXPECT_EQ(view.Edit4, "160");
}

TEST(Set1Block, AnyNonZeroFlagReadsAsChecked)
{
    const SettingsBlock block = BlockWithWords({{0, 1}, {20, 2}, {24, 0x100}, {32, 0}});
    Set1View view;
    DecodeSet1Block(block, view);
    EXPECT_TRUE(view.CheckBox1);
    EXPECT_TRUE(view.CheckBox2);
    EXPECT_FALSE(view.CheckBox3);
}

TEST(Set1Block, FactoryFlagShowsTheFactoryValuesWhateverTheBlockHolds)
{
    for (const uint32_t flag : {0u, 2u, 0xFFFFFFFFu, 0x101u}) {
        const SettingsBlock block = BlockWithWords({{0, flag}}, 0x37);
        Set1View view = EveryFieldSet();
        const BlockDecodeResult result = DecodeSet1Block(block, view);
        EXPECT_FALSE(result.UserValues) << flag;
        EXPECT_EQ(result.GridCell, "по-умолчанию");
        EXPECT_EQ(view, FactoryView()) << flag;
    }
}

struct ListCase {
    const char* name;
    std::size_t offset;
    uint32_t value;
    int Set1View::*list;
    int index;
    uint32_t encodedBack;
};

class Set1Lists : public testing::TestWithParam<ListCase> {};

TEST_P(Set1Lists, ValuesOutsideTheItemsLeaveNoSelection)
{
    const ListCase& c = GetParam();
    SettingsBlock block{};
    ASSERT_FALSE(EncodeSet1Block(EveryFieldSet(), block));
    WriteU32(block, c.offset, c.value);
    Set1View view;
    DecodeSet1Block(block, view);
    EXPECT_EQ(view.*c.list, c.index);

    SettingsBlock image{};
    ASSERT_FALSE(EncodeSet1Block(view, image));
    EXPECT_EQ(ReadU32(image, c.offset), c.encodedBack);
}

INSTANTIATE_TEST_SUITE_P(Cases, Set1Lists,
    testing::Values(ListCase{"FontSeven", 8, 7, &Set1View::ComboBox12, -1, 0xFFFFFFFF},
                    ListCase{"FontLast", 8, 2, &Set1View::ComboBox12, 2, 2},
                    ListCase{"HeightEightIsLast", 12, 8, &Set1View::ComboBox7, 7, 8},
                    ListCase{"HeightZeroIsNone", 12, 0, &Set1View::ComboBox7, -1, 0},
                    ListCase{"WidthNine", 16, 9, &Set1View::ComboBox8, -1, 0},
                    ListCase{"AlignmentThree", 40, 3, &Set1View::ComboBox9, -1, 0xFFFFFFFF},
                    ListCase{"UpsideDownTwo", 52, 2, &Set1View::ComboBox13, -1, 0xFFFFFFFF},
                    ListCase{"HriPositionFour", 96, 4, &Set1View::ComboBox10, -1, 0xFFFFFFFF},
                    ListCase{"HriFontMinusOne", 100, 0xFFFFFFFF, &Set1View::ComboBox11, -1, 0xFFFFFFFF}),
    [](const auto& info) { return std::string(info.param.name); });

struct ValidationCase {
    const char* name;
    std::string Set1View::*edit;
    std::string text;
    const char* field; // nullptr: accepted
    int node;
    int message;
};

class Set1Validation : public testing::TestWithParam<ValidationCase> {};

TEST_P(Set1Validation, RejectionNamesFieldViewAndMessage)
{
    const ValidationCase& c = GetParam();
    Set1View view = EveryFieldSet();
    view.*c.edit = c.text;
    SettingsBlock image{};
    const auto rejection = EncodeSet1Block(view, image);
    if (c.field == nullptr) {
        EXPECT_FALSE(rejection) << rejection->Field;
        return;
    }
    ASSERT_TRUE(rejection);
    EXPECT_EQ(rejection->Field, c.field);
    EXPECT_EQ(rejection->TreeNode, c.node);
    EXPECT_EQ(rejection->MessageId, c.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, Set1Validation,
    testing::Values(ValidationCase{"Edit7Max", &Set1View::Edit7, "255", nullptr, 0, 0},
                    ValidationCase{"Edit7AboveMax", &Set1View::Edit7, "256", "Edit7", 3, 133},
                    ValidationCase{"Edit7Negative", &Set1View::Edit7, "-1", "Edit7", 3, 133},
                    ValidationCase{"Edit7Letters", &Set1View::Edit7, "abc", "Edit7", 3, 133},
                    ValidationCase{"Edit6Empty", &Set1View::Edit6, "", "Edit6", 4, 134},
                    ValidationCase{"Edit6AboveMax", &Set1View::Edit6, "65536", "Edit6", 4, 134},
                    ValidationCase{"Edit1Max", &Set1View::Edit1, "65535", nullptr, 0, 0},
                    ValidationCase{"Edit1Negative", &Set1View::Edit1, "-5", "Edit1", 4, 134},
                    ValidationCase{"Edit2Max", &Set1View::Edit2, "576", nullptr, 0, 0},
                    ValidationCase{"Edit2AboveMax", &Set1View::Edit2, "577", "Edit2", 4, 135},
                    ValidationCase{"Edit4Zero", &Set1View::Edit4, "0", "Edit4", 5, 136},
                    ValidationCase{"Edit4Hex", &Set1View::Edit4, "$FF", nullptr, 0, 0},
                    ValidationCase{"Edit4TrailingBlank", &Set1View::Edit4, "16 ", "Edit4", 5, 136},
                    ValidationCase{"Edit5Min", &Set1View::Edit5, "1", nullptr, 0, 0},
                    ValidationCase{"Edit5Six", &Set1View::Edit5, "6", "Edit5", 5, 137},
                    ValidationCase{"Edit5Zero", &Set1View::Edit5, "0", "Edit5", 5, 137}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Set1Block, MessagesOfTheRejectionsAreTheRangeTexts)
{
    EXPECT_EQ(LoadStr(133), "Значение должно находиться в пределах от 0 до 255");
    EXPECT_EQ(LoadStr(137), "Значение должно находиться в пределах от 1 до 5");
}

TEST(Set1Block, FirstFailureInFieldOrderEndsTheEncoding)
{
    Set1View view = EveryFieldSet();
    view.Edit5 = "9";
    view.Edit2 = "1000";
    view.Edit3 = "8,,0";
    SettingsBlock image = FilledImage();
    const auto rejection = EncodeSet1Block(view, image);
    ASSERT_TRUE(rejection);
    EXPECT_EQ(rejection->Field, "Edit2");

    // The fields before Edit2 are written, the rest of the image is as it was.
    EXPECT_EQ(ReadU32(image, 0), 1u);
    EXPECT_EQ(ReadU32(image, 44), 12u);
    EXPECT_EQ(ReadU32(image, 48), 0xAAAAAAAAu);
    EXPECT_EQ(ReadU32(image, 56), 0xAAAAAAAAu);
    EXPECT_EQ(image[64], 0xAA);
    EXPECT_EQ(image[200], 0xAA);
}

TEST(Set1Block, BadTabStopTokenRaisesTheConversionErrorAfterTheFieldsBeforeIt)
{
    Set1View view = EveryFieldSet();
    view.Edit3 = "8,,16,0";
    SettingsBlock image = FilledImage();
    try {
        (void)EncodeSet1Block(view, image);
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'''' is not a valid integer value");
    }
    EXPECT_EQ(ReadU32(image, 60), 1u);
    EXPECT_EQ(Bytes(image, 64, 3), (std::vector<uint8_t>{8, 0, 0}));
    EXPECT_EQ(ReadU32(image, 96), 0xAAAAAAAAu);
}

TEST(Set1Block, ReservedWordsAndClearedRangesAfterAnyEncoding)
{
    SettingsBlock image = FilledImage();
    Set1View view = EveryFieldSet();
    view.Edit3 = "0";
    ASSERT_FALSE(EncodeSet1Block(view, image));
    EXPECT_EQ(Bytes(image, 28, 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(Bytes(image, 56, 8), (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_TRUE(AllZero(image, 64, 95));
    EXPECT_TRUE(AllZero(image, 112, 255));
}

TEST(Set1Block, FactoryTabStopsEncodeAsSixBytes)
{
    SettingsBlock image = FilledImage();
    ASSERT_FALSE(EncodeSet1Block(FactoryView(), image));
    EXPECT_EQ(Bytes(image, 64, 6), (std::vector<uint8_t>{0x08, 0x10, 0x18, 0x20, 0x28, 0x30}));
    EXPECT_TRUE(AllZero(image, 70, 95));
    Set1View decoded;
    DecodeSet1Block(image, decoded);
    EXPECT_EQ(decoded.Edit3, "8,16,24,32,40,48,0");
}

} // namespace
} // namespace krn310
