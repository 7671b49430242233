#include "settings/Set2PrinterBlock.h"

#include <algorithm>

#include "platform/StringTable.h"

namespace krn310 {

namespace {

constexpr std::size_t kUserFlag = 0;
constexpr std::size_t kBaudIndex = 4;
constexpr std::size_t kFlowControl = 8;
constexpr std::size_t kContrast = 12;
constexpr std::size_t kAutoLineFeed = 16;
constexpr std::size_t kPowerOnMessage = 20;
constexpr std::size_t kAutoCutter = 24;
constexpr std::size_t kMaxSpeed = 28;
constexpr std::size_t kNoPreload = 32;
constexpr std::size_t kBuzzer = 36;
constexpr std::size_t kNearEndSensorOff = 40;
constexpr std::size_t kReservedTailFirst = 44;

constexpr uint32_t kUserValuesFlag = 1;
constexpr int32_t kBuzzerOn = 16;

// BaudIndex counts from 1 (1 = 115200 ... 11 = 600).
int BaudItem(uint32_t value)
{
    return ListIndex(value - 1u, kBaudItems);
}

int32_t BaudValue(int item)
{
    return item < 0 ? 0 : item + 1;
}

// The thumb after a decode: MaxSpeed unless the maximum is lower; the slider
// keeps it within its range, and the highlight ends at the thumb.
void PlaceSpeedThumb(Set2PrinterView& view, int maxSpeed)
{
    SetTrackBar2Position(view.TrackBar2, view.Label41, std::min(maxSpeed, view.TrackBar2.Max));
    TrackBar2Change(view.TrackBar2, view.Label41);
}

void FillFactoryValues(Set2PrinterView& view, Set2NetworkView& network, int interfaceType)
{
    view.ComboBox14 = 0;
    ComboBox14Change(view.ComboBox14, interfaceType, view.TrackBar2, view.Label41);
    view.ComboBox17 = 1;
    view.TrackBar1 = 100;
    view.CheckBox6 = true;
    view.CheckBox4 = false;
    view.CheckBox5 = true;
    PlaceSpeedThumb(view, kEthernetMaxSpeed);
    view.CheckBox7 = false;
    view.CheckBox9 = false;
    view.RadioGroup1 = 0;
    view.CheckBox8 = false;
    FillFactoryNetworkValues(network);
}

} // namespace

BlockDecodeResult DecodeSet2PrinterBlock(SettingsBlockView block, Set2PrinterView& view, Set2NetworkView& network,
                                         int interfaceType)
{
    if (ReadU32(block, kUserFlag) != kUserValuesFlag) {
        FillFactoryValues(view, network, interfaceType);
        return {false, LoadStr(IDS_FACTORY_VALUES)};
    }
    view.ComboBox14 = BaudItem(ReadU32(block, kBaudIndex));
    view.ComboBox17 = ListIndex(ReadU32(block, kFlowControl), kFlowControlItems);
    view.TrackBar1 = std::clamp(ReadI32(block, kContrast), kContrastMin, kContrastMax);
    view.CheckBox6 = ReadU32(block, kAutoLineFeed) != 0;
    view.CheckBox4 = ReadU32(block, kPowerOnMessage) != 0;
    view.CheckBox5 = ReadU32(block, kAutoCutter) != 0;
    ComboBox14Change(view.ComboBox14, interfaceType, view.TrackBar2, view.Label41);
    PlaceSpeedThumb(view, ReadI32(block, kMaxSpeed));
    view.CheckBox7 = ReadU32(block, kNoPreload) != 0;
    const int32_t buzzer = ReadI32(block, kBuzzer);
    view.CheckBox9 = (buzzer >> 4) != 0;
    view.RadioGroup1 = buzzer & 1;
    view.CheckBox8 = ReadU32(block, kNearEndSensorOff) != 0;
    return {true, LoadStr(IDS_USER_VALUES)};
}

void EncodeSet2PrinterBlock(const Set2PrinterView& view, SettingsBlock& image)
{
    WriteU32(image, kUserFlag, kUserValuesFlag);
    WriteI32(image, kBaudIndex, BaudValue(view.ComboBox14));
    WriteI32(image, kFlowControl, view.ComboBox17);
    WriteI32(image, kContrast, view.TrackBar1);
    WriteFlag(image, kAutoLineFeed, view.CheckBox6);
    WriteFlag(image, kPowerOnMessage, view.CheckBox4);
    WriteFlag(image, kAutoCutter, view.CheckBox5);
    WriteI32(image, kMaxSpeed, view.TrackBar2.Position);
    WriteFlag(image, kNoPreload, view.CheckBox7);
    WriteI32(image, kBuzzer, (view.CheckBox9 ? kBuzzerOn : 0) + view.RadioGroup1);
    WriteFlag(image, kNearEndSensorOff, view.CheckBox8);
    ClearBytes(image, kReservedTailFirst, kSettingsBlockSize - 1);
}

void EncodeSet2Blocks(const Set2PrinterView& printer, const Set2NetworkView& network, SettingsBlock& printerImage,
                      SettingsBlock& networkImage)
{
    EncodeSet2PrinterBlock(printer, printerImage);
    EncodeSet2NetworkBlock(network, networkImage);
}

} // namespace krn310
