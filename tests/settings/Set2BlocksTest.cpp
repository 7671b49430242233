#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/StrToInt.h"
#include "settings/Set2NetworkBlock.h"
#include "settings/Set2PrinterBlock.h"
#include "settings/WriteImages.h"
#include "tests/settings/BlockFixture.h"

namespace krn310 {
namespace {

using test::AllZero;
using test::BlockWithWords;
using test::Bytes;
using test::FilledImage;

constexpr int kRs232 = 0;
constexpr int kEthernet = 1;

// A 'u' block with user values: 9600 baud, RTS/CTS, the given speed and buzzer.
SettingsBlock PrinterBlock(uint32_t baudValue, uint32_t maxSpeed, uint32_t buzzer = 0)
{
    return BlockWithWords({{0, 1}, {4, baudValue}, {8, 1}, {12, 50}, {28, maxSpeed}, {36, buzzer}});
}

Set2NetworkView NetworkView()
{
    Set2NetworkView view;
    view.Edit10 = "4B";
    view.Edit24 = "52";
    view.Edit25 = "4E";
    view.Edit26 = "A5";
    view.Edit27 = "0F";
    view.Edit28 = "07";
    view.Edit11 = "192";
    view.Edit12 = "168";
    view.Edit13 = "0";
    view.Edit14 = "100";
    view.Edit15 = "10";
    view.Edit16 = "1";
    view.Edit17 = "2";
    view.Edit18 = "254";
    view.Edit22 = "255";
    view.Edit21 = "255";
    view.Edit19 = "255";
    view.Edit20 = "0";
    view.Edit23 = "62002";
    return view;
}

TEST(Set2PrinterBlock, SlowBaudOnRs232LimitsTheSpeed)
{
    Set2PrinterView view;
    Set2NetworkView network;
    const BlockDecodeResult result = DecodeSet2PrinterBlock(PrinterBlock(7, 125), view, network, kRs232);
    EXPECT_TRUE(result.UserValues);
    EXPECT_EQ(result.GridCell, "пользовательский");
    EXPECT_EQ(view.ComboBox14, 6);
    EXPECT_EQ(view.TrackBar2.Max, 25);
    EXPECT_EQ(view.TrackBar2.Position, 25);
    EXPECT_EQ(view.TrackBar2.SelEnd, 25);
    EXPECT_EQ(view.Label41.Text, "44");
}

TEST(Set2PrinterBlock, SameBlockOnEthernetKeepsTheFullSpeed)
{
    Set2PrinterView view;
    Set2NetworkView network;
    DecodeSet2PrinterBlock(PrinterBlock(7, 125), view, network, kEthernet);
    EXPECT_EQ(view.TrackBar2.Max, 125);
    EXPECT_EQ(view.TrackBar2.Position, 125);
    EXPECT_EQ(view.Label41.Text, "220");
    EXPECT_EQ(view.Label41.Left, 269);
}

struct SpeedCase {
    const char* name;
    uint32_t maxSpeed;
    int position;
};

class Set2ReceivedSpeed : public testing::TestWithParam<SpeedCase> {};

TEST_P(Set2ReceivedSpeed, ThumbStaysWithinTheSlider)
{
    Set2PrinterView view;
    view.TrackBar2.Position = 60;
    Set2NetworkView network;
    DecodeSet2PrinterBlock(PrinterBlock(1, GetParam().maxSpeed), view, network, kRs232);
    EXPECT_EQ(view.TrackBar2.Position, GetParam().position);
    EXPECT_EQ(view.TrackBar2.SelEnd, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Cases, Set2ReceivedSpeed,
    testing::Values(SpeedCase{"Inside", 60, 60},
                    SpeedCase{"Moved", 100, 100},
                    SpeedCase{"BelowMinimum", 5, 18},
                    SpeedCase{"Negative", 0xFFFFFFFF, 18},
                    SpeedCase{"AboveMaximum", 300, 125}),
    [](const auto& info) { return std::string(info.param.name); });

struct BuzzerCase {
    uint32_t value;
    bool on;
    int channel;
};

class Set2Buzzer : public testing::TestWithParam<BuzzerCase> {};

TEST_P(Set2Buzzer, ReadsAndWritesSwitchAndChannel)
{
    Set2PrinterView view;
    Set2NetworkView network;
    DecodeSet2PrinterBlock(PrinterBlock(1, 125, GetParam().value), view, network, kRs232);
    EXPECT_EQ(view.CheckBox9, GetParam().on);
    EXPECT_EQ(view.RadioGroup1, GetParam().channel);

    SettingsBlock image{};
    EncodeSet2PrinterBlock(view, image);
    EXPECT_EQ(ReadU32(image, 36), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, Set2Buzzer,
    testing::Values(BuzzerCase{0, false, 0}, BuzzerCase{1, false, 1}, BuzzerCase{16, true, 0},
                    BuzzerCase{17, true, 1}));

TEST(Set2PrinterBlock, BuzzerOnChannelOneWritesSeventeen)
{
    Set2PrinterView view;
    view.CheckBox9 = true;
    view.RadioGroup1 = 1;
    SettingsBlock image{};
    EncodeSet2PrinterBlock(view, image);
    EXPECT_EQ(Bytes(image, 36, 4), (std::vector<uint8_t>{0x11, 0, 0, 0}));
}

TEST(Set2PrinterBlock, ListsOutsideTheItemsAndContrastOutsideTheSlider)
{
    Set2PrinterView view;
    Set2NetworkView network;
    DecodeSet2PrinterBlock(BlockWithWords({{0, 1}, {4, 12}, {8, 3}, {12, 0}}), view, network, kRs232);
    EXPECT_EQ(view.ComboBox14, -1);
    EXPECT_EQ(view.ComboBox17, -1);
    EXPECT_EQ(view.TrackBar1, 1);

    SettingsBlock image{};
    EncodeSet2PrinterBlock(view, image);
    EXPECT_EQ(ReadU32(image, 4), 0u);
    EXPECT_EQ(ReadU32(image, 8), 0xFFFFFFFFu);
    EXPECT_EQ(ReadU32(image, 12), 1u);

    DecodeSet2PrinterBlock(BlockWithWords({{0, 1}, {4, 0}, {12, 101}}), view, network, kRs232);
    EXPECT_EQ(view.ComboBox14, -1);
    EXPECT_EQ(view.TrackBar1, 100);
}

TEST(Set2PrinterBlock, FactoryFlagShowsTheFactoryValuesAndTheFullSpeed)
{
    Set2PrinterView view;
    Set2NetworkView network = NetworkView();
    DecodeSet2PrinterBlock(PrinterBlock(10, 18), view, network, kRs232);
    ASSERT_EQ(view.TrackBar2.Max, 18);

    const BlockDecodeResult result = DecodeSet2PrinterBlock(BlockWithWords({{0, 0}}, 0x5A), view, network, kRs232);
    EXPECT_FALSE(result.UserValues);
    EXPECT_EQ(result.GridCell, "по-умолчанию");
    EXPECT_EQ(view.ComboBox14, 0);
    EXPECT_EQ(view.ComboBox17, 1);
    EXPECT_EQ(view.TrackBar1, 100);
    EXPECT_TRUE(view.CheckBox6);
    EXPECT_FALSE(view.CheckBox4);
    EXPECT_TRUE(view.CheckBox5);
    EXPECT_FALSE(view.CheckBox7);
    EXPECT_FALSE(view.CheckBox9);
    EXPECT_EQ(view.RadioGroup1, 0);
    EXPECT_FALSE(view.CheckBox8);
    EXPECT_EQ(view.TrackBar2.Max, 125);
    EXPECT_EQ(view.TrackBar2.Position, 125);
    EXPECT_EQ(view.TrackBar2.SelEnd, 125);
    EXPECT_EQ(view.Label41.Text, "220");

    const std::vector<std::string> factoryNetwork{network.Edit10, network.Edit24, network.Edit25, network.Edit26,
                                                  network.Edit27, network.Edit28, network.Edit11, network.Edit12,
                                                  network.Edit13, network.Edit14, network.Edit22, network.Edit21,
                                                  network.Edit19, network.Edit20, network.Edit15, network.Edit16,
                                                  network.Edit17, network.Edit18, network.Edit23};
    EXPECT_EQ(factoryNetwork, (std::vector<std::string>{"4B", "52", "4E", "00", "00", "00", "192", "168", "0", "100",
                                                        "255", "255", "255", "0", "192", "168", "0", "1", "62002"}));
}

TEST(Set2PrinterBlock, UserValuesLeaveTheEthernetFields)
{
    Set2PrinterView view;
    Set2NetworkView network = NetworkView();
    DecodeSet2PrinterBlock(PrinterBlock(1, 125), view, network, kRs232);
    EXPECT_EQ(network, NetworkView());
}

TEST(Set2NetworkBlock, MacBytesLieOutOfDisplayOrder)
{
    Set2NetworkView view = NetworkView();
    view.Edit10 = "00";
    view.Edit24 = "11";
    view.Edit25 = "22";
    view.Edit26 = "A5";
    view.Edit27 = "0f";
    view.Edit28 = "7";
    SettingsBlock image = FilledImage();
    EncodeSet2NetworkBlock(view, image);
    EXPECT_EQ(Bytes(image, 0, 8), (std::vector<uint8_t>{0x52, 0x4B, 0, 0, 0x07, 0x0F, 0xA5, 0x4E}));

    Set2NetworkView decoded;
    DecodeSet2NetworkBlock(image, decoded);
    EXPECT_EQ(decoded.Edit10, "4B");
    EXPECT_EQ(decoded.Edit24, "52");
    EXPECT_EQ(decoded.Edit25, "4E");
    EXPECT_EQ(decoded.Edit26, "A5");
    EXPECT_EQ(decoded.Edit27, "0F");
    EXPECT_EQ(decoded.Edit28, "07");
}

TEST(Set2NetworkBlock, TypedHexDigitEncodesAsItsByte)
{
    Set2NetworkView view = NetworkView();
    view.Edit26 = "c";
    SettingsBlock image{};
    EncodeSet2NetworkBlock(view, image);
    EXPECT_EQ(image[6], 0x0C);
}

TEST(Set2NetworkBlock, AddressesPortAndMaskBytes)
{
    SettingsBlock image = FilledImage();
    EncodeSet2NetworkBlock(NetworkView(), image);
    EXPECT_EQ(Bytes(image, 8, 4), (std::vector<uint8_t>{0x64, 0x00, 0xA8, 0xC0}));
    EXPECT_EQ(Bytes(image, 12, 4), (std::vector<uint8_t>{0x32, 0xF2, 0x00, 0x00}));
    EXPECT_EQ(Bytes(image, 16, 4), (std::vector<uint8_t>{254, 2, 1, 10}));
    EXPECT_EQ(Bytes(image, 20, 4), (std::vector<uint8_t>{0x00, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(AllZero(image, 24, 255));
}

TEST(Set2NetworkBlock, OutOfRangeNumbersKeepTheirLowBits)
{
    Set2NetworkView view = NetworkView();
    view.Edit12 = "300";
    view.Edit23 = "70000";
    SettingsBlock image{};
    EncodeSet2NetworkBlock(view, image);
    EXPECT_EQ(image[10], 44);
    EXPECT_EQ(Bytes(image, 12, 4), (std::vector<uint8_t>{0x70, 0x11, 0x01, 0x00}));

    Set2NetworkView decoded;
    DecodeSet2NetworkBlock(image, decoded);
    EXPECT_EQ(decoded.Edit12, "44");
    EXPECT_EQ(decoded.Edit23, "4464");
}

TEST(Set2NetworkBlock, PortReadsOnlyItsLowSixteenBits)
{
    SettingsBlock block{};
    block[12] = 0x32;
    block[13] = 0xF2;
    block[14] = 0x01;
    Set2NetworkView view;
    DecodeSet2NetworkBlock(block, view);
    EXPECT_EQ(view.Edit23, "62002");
}

// Image bytes an encoding has written: the MAC bytes named, and the 32-bit
// fields at the offsets named.
std::vector<std::size_t> Written(std::vector<std::size_t> macBytes, std::vector<std::size_t> words)
{
    std::vector<std::size_t> bytes = macBytes;
    if (!words.empty())
        bytes.insert(bytes.end(), {0, 1, 2, 3, 4, 5, 6, 7});
    for (const std::size_t offset : words)
        bytes.insert(bytes.end(), {offset, offset + 1, offset + 2, offset + 3});
    return bytes;
}

struct ConversionCase {
    const char* name;
    std::string Set2NetworkView::*edit;
    std::string text;
    std::string message;
    std::vector<std::size_t> written;
};

class Set2NetworkConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Set2NetworkConversion, ErrorEndsTheEncodingAfterTheFieldsBeforeIt)
{
    const ConversionCase& c = GetParam();
    Set2NetworkView view = NetworkView();
    view.*c.edit = c.text;
    SettingsBlock expected = FilledImage();
    SettingsBlock complete{};
    EncodeSet2NetworkBlock(NetworkView(), complete);
    for (const std::size_t i : c.written)
        expected[i] = complete[i];

    SettingsBlock image = FilledImage();
    try {
        EncodeSet2NetworkBlock(view, image);
        FAIL() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
    }
    EXPECT_EQ(image, expected);
}

// Written in the order MAC, IP (8), mask (20), gateway (16), port (12).
INSTANTIATE_TEST_SUITE_P(Cases, Set2NetworkConversion,
    testing::Values(
        ConversionCase{"EmptyMac", &Set2NetworkView::Edit26, "", "''0x'' is not a valid integer value",
                       Written({0, 1, 7}, {})},
        ConversionCase{"NotHexMac", &Set2NetworkView::Edit28, "G1", "''0xG1'' is not a valid integer value",
                       Written({0, 1, 7, 6, 5}, {})},
        ConversionCase{"EmptyIpOctet", &Set2NetworkView::Edit13, "", "'''' is not a valid integer value",
                       Written({0, 1, 2, 3, 4, 5, 6, 7}, {})},
        ConversionCase{"MaskOctet", &Set2NetworkView::Edit20, "x", "''x'' is not a valid integer value",
                       Written({}, {8})},
        ConversionCase{"GatewayOctet", &Set2NetworkView::Edit15, "1.5", "''1.5'' is not a valid integer value",
                       Written({}, {8, 20})},
        ConversionCase{"Port", &Set2NetworkView::Edit23, "port", "''port'' is not a valid integer value",
                       Written({}, {8, 20, 16})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Set2Blocks, PrinterImageIsWrittenBeforeANetworkError)
{
    WriteImages images;
    Set2PrinterView printer;
    Set2NetworkView network = NetworkView();
    network.Edit23 = "";
    EXPECT_THROW(EncodeSet2Blocks(printer, network, images.Set2Printer, images.Set2Network), EConvertError);
    EXPECT_EQ(ReadU32(images.Set2Printer, 0), 1u);
    EXPECT_EQ(ReadU32(images.Set2Network, 8), 0xC0A80064u);
    EXPECT_EQ(ReadU32(images.Set2Network, 12), 0u);
}

TEST(Set2Blocks, ReservedRangesAreClearedAfterAnyEncoding)
{
    SettingsBlock printerImage = FilledImage();
    SettingsBlock networkImage = FilledImage();
    EncodeSet2Blocks(Set2PrinterView{}, NetworkView(), printerImage, networkImage);
    EXPECT_TRUE(AllZero(printerImage, 44, 255));
    EXPECT_TRUE(AllZero(networkImage, 2, 3));
    EXPECT_TRUE(AllZero(networkImage, 24, 255));
}

TEST(Set2Blocks, EncodingWritesThePrinterFieldsAtTheirOffsets)
{
    Set2PrinterView view;
    view.ComboBox14 = 10;
    view.ComboBox17 = 2;
    view.TrackBar1 = 37;
    view.CheckBox6 = true;
    view.CheckBox4 = false;
    view.CheckBox5 = true;
    view.TrackBar2.Position = 53;
    view.CheckBox7 = true;
    view.CheckBox9 = true;
    view.CheckBox8 = true;
    SettingsBlock image = FilledImage();
    EncodeSet2PrinterBlock(view, image);
    const std::pair<std::size_t, uint32_t> words[] = {{0, 1},  {4, 11},  {8, 2},  {12, 37}, {16, 1}, {20, 0},
                                                      {24, 1}, {28, 53}, {32, 1}, {36, 16}, {40, 1}};
    for (const auto& [offset, value] : words)
        EXPECT_EQ(ReadU32(image, offset), value) << "offset " << offset;
}

TEST(Set2Blocks, EncodeThenDecodeGivesBackEveryField)
{
    Set2PrinterView printer;
    printer.ComboBox14 = 4; // 19200: at most 53
    printer.ComboBox17 = 2;
    printer.TrackBar1 = 37;
    printer.CheckBox4 = true;
    printer.CheckBox5 = false;
    printer.CheckBox6 = true;
    printer.CheckBox7 = true;
    printer.CheckBox8 = false;
    printer.CheckBox9 = true;
    printer.RadioGroup1 = 1;
    printer.TrackBar2.Max = 53;
    printer.TrackBar2.Position = 40;
    TrackBar2Change(printer.TrackBar2, printer.Label41);
    Set2NetworkView network = NetworkView();
    network.Edit26 = "DE";
    network.Edit27 = "AD";
    network.Edit28 = "01";

    WriteImages images;
    EncodeSet2Blocks(printer, network, images.Set2Printer, images.Set2Network);

    Set2PrinterView decodedPrinter;
    Set2NetworkView decodedNetwork;
    DecodeSet2PrinterBlock(images.Set2Printer, decodedPrinter, decodedNetwork, kRs232);
    DecodeSet2NetworkBlock(images.Set2Network, decodedNetwork);
    EXPECT_EQ(decodedPrinter, printer);
    EXPECT_EQ(decodedNetwork, network);
}

TEST(WriteImages, AllZeroAtStart)
{
    const WriteImages images;
    EXPECT_TRUE(AllZero(images.Set1, 0, 255));
    EXPECT_TRUE(AllZero(images.Set2Printer, 0, 255));
    EXPECT_TRUE(AllZero(images.Set2Network, 0, 255));
}

} // namespace
} // namespace krn310
