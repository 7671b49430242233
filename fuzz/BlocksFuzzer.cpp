// Arbitrary 256-byte blocks into the three decoders, and views built from the
// input into the three encoders. An encoding the encoder accepts fills every
// byte of its image whatever the image held, keeps the values the view shows,
// and decoding and encoding it again changes nothing more.

#include "FuzzCheck.h"

#include "platform/StrToInt.h"
#include "settings/BlockBytes.h"
#include "settings/Set1Block.h"
#include "settings/Set2NetworkBlock.h"
#include "settings/Set2PrinterBlock.h"
#include "settings/SpeedSlider.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <optional>
#include <string>

namespace krn310 {
namespace {

// A text as an operator might type it: mostly a number in one of the forms
// the conversion takes, sometimes anything at all.
std::string ViewText(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0: return input.ConsumeRandomLengthString(12);
    case 1: return std::to_string(input.ConsumeIntegral<int32_t>());
    case 2: return std::to_string(input.ConsumeIntegralInRange(0, 1000));
    case 3: return " $" + std::to_string(input.ConsumeIntegralInRange(0, 0xFFFF));
    default: return std::to_string(input.ConsumeIntegralInRange(0, 255));
    }
}

// A list index as the window can hold one: -1 or an item, now and then past
// the items.
int ListItem(FuzzedDataProvider& input, int items)
{
    return input.ConsumeIntegralInRange(-1, items);
}

SettingsBlock FilledImage(uint8_t filler)
{
    SettingsBlock image;
    image.fill(filler);
    return image;
}

int32_t Value(const std::string& text)
{
    return StrToInt(text);
}

// Whether the encoder took the view: false for a rejection, nothing when a
// text did not convert.
template <class Encode>
std::optional<bool> Accepted(const Encode& encode, SettingsBlock& image)
{
    try {
        return encode(image);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

// Encodes into a zero and a filled image: the encoder decides the same way
// for both, and an accepted encoding leaves no byte of the old image behind.
template <class Encode>
std::optional<SettingsBlock> EncodeIntoBoth(const Encode& encode)
{
    SettingsBlock zero = FilledImage(0x00);
    SettingsBlock filled = FilledImage(0xAA);
    const std::optional<bool> accepted = Accepted(encode, zero);
    KRN310_FUZZ_CHECK(Accepted(encode, filled) == accepted);
    if (!accepted.value_or(false))
        return std::nullopt;
    KRN310_FUZZ_CHECK(zero == filled);
    return zero;
}

std::optional<SettingsBlock> EncodeSet1(const Set1View& view)
{
    return EncodeIntoBoth([&view](SettingsBlock& image) { return !EncodeSet1Block(view, image).has_value(); });
}

void CheckSet1(const Set1View& view)
{
    const std::optional<SettingsBlock> image = EncodeSet1(view);
    if (!image)
        return;
    Set1View shown;
    KRN310_FUZZ_CHECK(DecodeSet1Block(*image, shown).UserValues);

    for (auto edit : {&Set1View::Edit7, &Set1View::Edit6, &Set1View::Edit1, &Set1View::Edit2, &Set1View::Edit4,
                      &Set1View::Edit5})
        KRN310_FUZZ_CHECK(Value(view.*edit) == Value(shown.*edit));
    const std::pair<int Set1View::*, int> lists[] = {
        {&Set1View::ComboBox12, kFontItems},        {&Set1View::ComboBox7, kMultiplierItems},
        {&Set1View::ComboBox8, kMultiplierItems},   {&Set1View::ComboBox9, kAlignmentItems},
        {&Set1View::ComboBox13, kUpsideDownItems},  {&Set1View::ComboBox10, kHriPositionItems},
        {&Set1View::ComboBox11, kHriFontItems},
    };
    for (const auto& [list, items] : lists)
        KRN310_FUZZ_CHECK(view.*list >= items ? shown.*list == -1 : shown.*list == view.*list);
    KRN310_FUZZ_CHECK(view.CheckBox1 == shown.CheckBox1 && view.CheckBox2 == shown.CheckBox2 &&
                      view.CheckBox3 == shown.CheckBox3);

    const std::optional<SettingsBlock> again = EncodeSet1(shown);
    KRN310_FUZZ_CHECK(again.has_value());
    Set1View shownAgain;
    DecodeSet1Block(*again, shownAgain);
    KRN310_FUZZ_CHECK(shownAgain == shown);
    KRN310_FUZZ_CHECK(EncodeSet1(shownAgain) == again);
}

SettingsBlock EncodeSet2Printer(const Set2PrinterView& view)
{
    const std::optional<SettingsBlock> image = EncodeIntoBoth([&view](SettingsBlock& block) {
        EncodeSet2PrinterBlock(view, block);
        return true;
    });
    KRN310_FUZZ_CHECK(image.has_value());
    return *image;
}

// The printer views hold only what their controls can show, so the whole view
// must come back, slider and label included. The label is placed afresh by the
// decode, while a new maximum that leaves the thumb where it was does not move
// it: compare with the label where the thumb puts it.
void CheckSet2Printer(const Set2PrinterView& view, int interfaceType)
{
    const SettingsBlock image = EncodeSet2Printer(view);
    Set2PrinterView shown = view;
    Set2NetworkView network;
    KRN310_FUZZ_CHECK(DecodeSet2PrinterBlock(image, shown, network, interfaceType).UserValues);
    Set2PrinterView expected = view;
    TrackBar2Change(expected.TrackBar2, expected.Label41);
    KRN310_FUZZ_CHECK(shown == expected);
    KRN310_FUZZ_CHECK(EncodeSet2Printer(shown) == image);
}

std::optional<SettingsBlock> EncodeSet2Network(const Set2NetworkView& view)
{
    return EncodeIntoBoth([&view](SettingsBlock& image) {
        EncodeSet2NetworkBlock(view, image);
        return true;
    });
}

void CheckSet2Network(const Set2NetworkView& view)
{
    const std::optional<SettingsBlock> image = EncodeSet2Network(view);
    if (!image)
        return;
    Set2NetworkView shown;
    DecodeSet2NetworkBlock(*image, shown);

    KRN310_FUZZ_CHECK(shown.Edit10 == "4B" && shown.Edit24 == "52" && shown.Edit25 == "4E");
    for (auto mac : {&Set2NetworkView::Edit26, &Set2NetworkView::Edit27, &Set2NetworkView::Edit28})
        KRN310_FUZZ_CHECK((Value("0x" + view.*mac) & 0xFF) == Value("0x" + shown.*mac));
    for (auto octet : {&Set2NetworkView::Edit11, &Set2NetworkView::Edit12, &Set2NetworkView::Edit13,
                       &Set2NetworkView::Edit14, &Set2NetworkView::Edit15, &Set2NetworkView::Edit16,
                       &Set2NetworkView::Edit17, &Set2NetworkView::Edit18, &Set2NetworkView::Edit19,
                       &Set2NetworkView::Edit20, &Set2NetworkView::Edit21, &Set2NetworkView::Edit22})
        KRN310_FUZZ_CHECK((Value(view.*octet) & 0xFF) == Value(shown.*octet));
    KRN310_FUZZ_CHECK((Value(view.Edit23) & 0xFFFF) == Value(shown.Edit23));

    const std::optional<SettingsBlock> again = EncodeSet2Network(shown);
    KRN310_FUZZ_CHECK(again.has_value());
    Set2NetworkView shownAgain;
    DecodeSet2NetworkBlock(*again, shownAgain);
    KRN310_FUZZ_CHECK(shownAgain == shown);
    KRN310_FUZZ_CHECK(EncodeSet2Network(shownAgain) == again);
}

void CheckDecodedPrinterView(const Set2PrinterView& view)
{
    KRN310_FUZZ_CHECK(view.ComboBox14 >= -1 && view.ComboBox14 < kBaudItems);
    KRN310_FUZZ_CHECK(view.ComboBox17 >= -1 && view.ComboBox17 < kFlowControlItems);
    KRN310_FUZZ_CHECK(view.TrackBar1 >= kContrastMin && view.TrackBar1 <= kContrastMax);
    KRN310_FUZZ_CHECK(view.RadioGroup1 == 0 || view.RadioGroup1 == 1);
    const SpeedSlider& slider = view.TrackBar2;
    KRN310_FUZZ_CHECK(slider.Position >= slider.Min && slider.Position <= std::max(slider.Min, slider.Max));
    KRN310_FUZZ_CHECK(slider.SelEnd == slider.Position);
}

Set1View Set1FromInput(FuzzedDataProvider& input)
{
    Set1View view;
    view.Edit7 = ViewText(input);
    view.ComboBox12 = ListItem(input, kFontItems);
    view.ComboBox7 = ListItem(input, kMultiplierItems);
    view.ComboBox8 = ListItem(input, kMultiplierItems);
    view.CheckBox1 = input.ConsumeBool();
    view.CheckBox2 = input.ConsumeBool();
    view.CheckBox3 = input.ConsumeBool();
    view.Edit6 = ViewText(input);
    view.ComboBox9 = ListItem(input, kAlignmentItems);
    view.Edit1 = ViewText(input);
    view.Edit2 = ViewText(input);
    view.ComboBox13 = ListItem(input, kUpsideDownItems);
    view.Edit3 = input.ConsumeBool() ? input.ConsumeRandomLengthString(64)
                                     : ViewText(input) + "," + ViewText(input) + ",0";
    view.ComboBox10 = ListItem(input, kHriPositionItems);
    view.ComboBox11 = ListItem(input, kHriFontItems);
    view.Edit4 = ViewText(input);
    view.Edit5 = ViewText(input);
    return view;
}

// The operator's changes to views a decode has filled, through the controls.
void EditPrinterView(FuzzedDataProvider& input, Set2PrinterView& view, int interfaceType)
{
    view.ComboBox14 = input.ConsumeIntegralInRange(-1, kBaudItems - 1);
    ComboBox14Change(view.ComboBox14, interfaceType, view.TrackBar2, view.Label41);
    view.ComboBox17 = input.ConsumeIntegralInRange(-1, kFlowControlItems - 1);
    view.TrackBar1 = input.ConsumeIntegralInRange(kContrastMin, kContrastMax);
    view.CheckBox4 = input.ConsumeBool();
    view.CheckBox5 = input.ConsumeBool();
    view.CheckBox6 = input.ConsumeBool();
    view.CheckBox7 = input.ConsumeBool();
    view.CheckBox8 = input.ConsumeBool();
    view.CheckBox9 = input.ConsumeBool();
    view.RadioGroup1 = input.ConsumeIntegralInRange(0, 1);
    SetTrackBar2Position(view.TrackBar2, view.Label41, input.ConsumeIntegralInRange(0, 200));
}

Set2NetworkView NetworkFromInput(FuzzedDataProvider& input)
{
    Set2NetworkView view;
    for (auto edit : {&Set2NetworkView::Edit10, &Set2NetworkView::Edit24, &Set2NetworkView::Edit25,
                      &Set2NetworkView::Edit26, &Set2NetworkView::Edit27, &Set2NetworkView::Edit28})
        view.*edit = input.ConsumeBool() ? input.ConsumeRandomLengthString(3) : "A5";
    for (auto edit : {&Set2NetworkView::Edit11, &Set2NetworkView::Edit12, &Set2NetworkView::Edit13,
                      &Set2NetworkView::Edit14, &Set2NetworkView::Edit15, &Set2NetworkView::Edit16,
                      &Set2NetworkView::Edit17, &Set2NetworkView::Edit18, &Set2NetworkView::Edit19,
                      &Set2NetworkView::Edit20, &Set2NetworkView::Edit21, &Set2NetworkView::Edit22,
                      &Set2NetworkView::Edit23})
        view.*edit = ViewText(input);
    return view;
}

void Run(FuzzedDataProvider& input)
{
    SettingsBlock block{};
    const std::vector<uint8_t> received = input.ConsumeBytes<uint8_t>(kSettingsBlockSize);
    std::copy(received.begin(), received.end(), block.begin());
    const int interfaceType = input.ConsumeIntegralInRange(-1, 2);

    Set1View set1;
    KRN310_FUZZ_CHECK(DecodeSet1Block(block, set1).UserValues == (ReadU32(block, 0) == 1));
    Set2PrinterView printer;
    Set2NetworkView network;
    KRN310_FUZZ_CHECK(DecodeSet2PrinterBlock(block, printer, network, interfaceType).UserValues ==
                      (ReadU32(block, 0) == 1));
    CheckDecodedPrinterView(printer);
    DecodeSet2NetworkBlock(block, network);

    CheckSet1(set1);
    CheckSet2Printer(printer, interfaceType);
    CheckSet2Network(network);

    CheckSet1(Set1FromInput(input));
    EditPrinterView(input, printer, interfaceType);
    CheckSet2Printer(printer, interfaceType);
    CheckSet2Network(NetworkFromInput(input));
}

} // namespace
} // namespace krn310

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    krn310::Run(input);
    return 0;
}
