#pragma once

#include <array>
#include <optional>
#include <string>

#include "settings/BlockBytes.h"
#include "settings/BlockDecodeResult.h"

namespace krn310 {

// What the views "Параметры шрифта", "Позиционирование текста" and
// "Параметры штрих-кода" hold: edit texts, list item indices (-1 = none)
// and check states, named as the window's controls.
struct Set1View {
    std::string Edit7;   // character spacing
    int ComboBox12 = -1; // font
    int ComboBox7 = -1;  // height multiplier
    int ComboBox8 = -1;  // width multiplier
    bool CheckBox1 = false; // bold
    bool CheckBox2 = false; // underline
    bool CheckBox3 = false; // negative
    std::string Edit6;   // line spacing
    int ComboBox9 = -1;  // alignment
    std::string Edit1;   // left margin
    std::string Edit2;   // print area width
    int ComboBox13 = -1; // upside down
    std::string Edit3;   // tab stops
    int ComboBox10 = -1; // HRI position
    int ComboBox11 = -1; // HRI font
    std::string Edit4;   // barcode height
    std::string Edit5;   // barcode module width

    bool operator==(const Set1View&) const = default;
};

// Item counts of set 1's lists, as the window's design fills them.
inline constexpr int kFontItems = 3;
inline constexpr int kMultiplierItems = 8;
inline constexpr int kAlignmentItems = 3;
inline constexpr int kUpsideDownItems = 2;
inline constexpr int kHriPositionItems = 4;
inline constexpr int kHriFontItems = 3;

// Tree nodes of the views that hold set 1's edits.
inline constexpr int kFontNode = 3;
inline constexpr int kPositioningNode = 4;
inline constexpr int kBarcodeNode = 5;

// A value the printer would not take: the window brings node TreeNode forward,
// shows string MessageId and then focuses the control named Field.
struct FieldRejection {
    std::string Field;
    int TreeNode = 0;
    int MessageId = 0;
};

// Fills the views from a received 't' block, or with the factory values when
// the block does not hold user values.
BlockDecodeResult DecodeSet1Block(SettingsBlockView block, Set1View& view);

// Validates the views in field order and writes them into the image. Returns
// the first rejection (the image keeps the fields written before it), or
// nothing on success. A tab-stop token that does not convert throws EConvertError.
[[nodiscard]] std::optional<FieldRejection> EncodeSet1Block(const Set1View& view, SettingsBlock& image);

} // namespace krn310
