#include "settings/Set1Block.h"

#include "platform/StrToInt.h"
#include "platform/StringTable.h"
#include "settings/TabStops.h"

namespace krn310 {

namespace {

constexpr std::size_t kUserFlag = 0;
constexpr std::size_t kCharSpacing = 4;
constexpr std::size_t kFontIndex = 8;
constexpr std::size_t kHeightMultiplier = 12;
constexpr std::size_t kWidthMultiplier = 16;
constexpr std::size_t kBold = 20;
constexpr std::size_t kUnderline = 24;
constexpr std::size_t kReserved28 = 28;
constexpr std::size_t kNegative = 32;
constexpr std::size_t kLineSpacing = 36;
constexpr std::size_t kAlignment = 40;
constexpr std::size_t kLeftMargin = 44;
constexpr std::size_t kPrintAreaWidth = 48;
constexpr std::size_t kUpsideDown = 52;
constexpr std::size_t kReserved56 = 56;
constexpr std::size_t kReserved60 = 60;
constexpr std::size_t kTabStops = 64;
constexpr std::size_t kHriPosition = 96;
constexpr std::size_t kHriFont = 100;
constexpr std::size_t kBarcodeHeight = 104;
constexpr std::size_t kBarcodeModuleWidth = 108;
constexpr std::size_t kReservedTailFirst = 112;

constexpr uint32_t kUserValuesFlag = 1;

// The multipliers hold the item index plus 1 ("Normal" = 1 ... "x8" = 8).
int MultiplierIndex(uint32_t value)
{
    return ListIndex(value - 1u, kMultiplierItems);
}

int32_t MultiplierValue(int index)
{
    return index < 0 ? 0 : index + 1;
}

std::string Unsigned(SettingsBlockView block, std::size_t offset)
{
    return std::to_string(ReadU32(block, offset));
}

void FillFactoryValues(Set1View& view)
{
    view.Edit7 = "0";
    view.ComboBox12 = 0;
    view.ComboBox7 = 0;
    view.ComboBox8 = 0;
    view.CheckBox1 = false;
    view.CheckBox2 = false;
    view.CheckBox3 = false;
    view.Edit6 = "24";
    view.ComboBox9 = 0;
    view.Edit1 = "0";
    view.Edit2 = "576";
    view.ComboBox13 = 0;
    view.Edit3 = "8,16,24,32,40,48,0";
    view.ComboBox10 = 0;
    view.ComboBox11 = 0;
    view.Edit4 = "160";
    view.Edit5 = "1";
}

struct NumericField {
    const char* Control;
    int TreeNode;
    uint32_t Min;
    uint32_t Max;
    int MessageId;
};

constexpr NumericField kCharSpacingField{"Edit7", kFontNode, 0, 255, IDS_RANGE_0_255};
constexpr NumericField kLineSpacingField{"Edit6", kPositioningNode, 0, 65535, IDS_RANGE_0_65535};
constexpr NumericField kLeftMarginField{"Edit1", kPositioningNode, 0, 65535, IDS_RANGE_0_65535};
constexpr NumericField kPrintAreaWidthField{"Edit2", kPositioningNode, 0, 576, IDS_RANGE_0_576};
constexpr NumericField kBarcodeHeightField{"Edit4", kBarcodeNode, 1, 255, IDS_RANGE_1_255};
constexpr NumericField kModuleWidthField{"Edit5", kBarcodeNode, 1, 5, IDS_RANGE_1_5};

// Converts one edit and writes it; a text that does not convert or whose
// value, taken unsigned, lies outside the range is rejected (so negatives are).
std::optional<FieldRejection> WriteNumeric(const std::string& text, const NumericField& field, SettingsBlock& image,
                                           std::size_t offset)
{
    int32_t value = 0;
    if (TryStrToInt(text, value)) {
        const auto bits = static_cast<uint32_t>(value);
        if (bits >= field.Min && bits <= field.Max) {
            WriteU32(image, offset, bits);
            return std::nullopt;
        }
    }
    return FieldRejection{field.Control, field.TreeNode, field.MessageId};
}

} // namespace

BlockDecodeResult DecodeSet1Block(SettingsBlockView block, Set1View& view)
{
    if (ReadU32(block, kUserFlag) != kUserValuesFlag) {
        FillFactoryValues(view);
        return {false, LoadStr(IDS_FACTORY_VALUES)};
    }
    view.Edit7 = Unsigned(block, kCharSpacing);
    view.ComboBox12 = ListIndex(ReadU32(block, kFontIndex), kFontItems);
    view.ComboBox7 = MultiplierIndex(ReadU32(block, kHeightMultiplier));
    view.ComboBox8 = MultiplierIndex(ReadU32(block, kWidthMultiplier));
    view.CheckBox1 = ReadU32(block, kBold) != 0;
    view.CheckBox2 = ReadU32(block, kUnderline) != 0;
    view.CheckBox3 = ReadU32(block, kNegative) != 0;
    view.Edit6 = Unsigned(block, kLineSpacing);
    view.ComboBox9 = ListIndex(ReadU32(block, kAlignment), kAlignmentItems);
    view.Edit1 = Unsigned(block, kLeftMargin);
    view.Edit2 = Unsigned(block, kPrintAreaWidth);
    view.ComboBox13 = ListIndex(ReadU32(block, kUpsideDown), kUpsideDownItems);
    view.Edit3 = DecodeTabStops(block.subspan<kTabStops, kTabStopCount>());
    view.ComboBox10 = ListIndex(ReadU32(block, kHriPosition), kHriPositionItems);
    view.ComboBox11 = ListIndex(ReadU32(block, kHriFont), kHriFontItems);
    view.Edit4 = Unsigned(block, kBarcodeHeight);
    view.Edit5 = Unsigned(block, kBarcodeModuleWidth);
    return {true, LoadStr(IDS_USER_VALUES)};
}

std::optional<FieldRejection> EncodeSet1Block(const Set1View& view, SettingsBlock& image)
{
    WriteU32(image, kUserFlag, kUserValuesFlag);
    if (auto rejected = WriteNumeric(view.Edit7, kCharSpacingField, image, kCharSpacing))
        return rejected;
    WriteI32(image, kFontIndex, view.ComboBox12);
    WriteI32(image, kHeightMultiplier, MultiplierValue(view.ComboBox7));
    WriteI32(image, kWidthMultiplier, MultiplierValue(view.ComboBox8));
    WriteFlag(image, kBold, view.CheckBox1);
    WriteFlag(image, kUnderline, view.CheckBox2);
    WriteU32(image, kReserved28, 0);
    WriteFlag(image, kNegative, view.CheckBox3);
    if (auto rejected = WriteNumeric(view.Edit6, kLineSpacingField, image, kLineSpacing))
        return rejected;
    WriteI32(image, kAlignment, view.ComboBox9);
    if (auto rejected = WriteNumeric(view.Edit1, kLeftMarginField, image, kLeftMargin))
        return rejected;
    if (auto rejected = WriteNumeric(view.Edit2, kPrintAreaWidthField, image, kPrintAreaWidth))
        return rejected;
    WriteI32(image, kUpsideDown, view.ComboBox13);
    WriteU32(image, kReserved56, 1);
    WriteU32(image, kReserved60, 1);
    EncodeTabStops(view.Edit3, std::span<uint8_t, kSettingsBlockSize>(image).subspan<kTabStops, kTabStopCount>());
    WriteI32(image, kHriPosition, view.ComboBox10);
    WriteI32(image, kHriFont, view.ComboBox11);
    if (auto rejected = WriteNumeric(view.Edit4, kBarcodeHeightField, image, kBarcodeHeight))
        return rejected;
    if (auto rejected = WriteNumeric(view.Edit5, kModuleWidthField, image, kBarcodeModuleWidth))
        return rejected;
    ClearBytes(image, kReservedTailFirst, kSettingsBlockSize - 1);
    return std::nullopt;
}

} // namespace krn310
