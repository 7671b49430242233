#pragma once

#include <array>
#include <string>

namespace krn310 {

// TrackBar2 "Максимальная скорость печати": its range, thumb, the end of its
// highlighted range, and its own left coordinate within its panel.
struct SpeedSlider {
    int Min = 18;
    int Max = 125;
    int Position = 125;
    int SelEnd = 125;
    int Left = 1;

    bool operator==(const SpeedSlider&) const = default;
};

// Label41 above the slider: the speed text and its left coordinate.
struct SpeedLabel {
    std::string Text;
    int Left = 0;

    bool operator==(const SpeedLabel&) const = default;
};

inline constexpr int kBaudItems = 11;
inline constexpr int kEthernetInterface = 1;
inline constexpr int kEthernetMaxSpeed = 125;

// The highest MaxSpeed at each RS-232 baud rate, by ComboBox14 item index
// (115200 first, 600 last).
inline constexpr std::array<int, kBaudItems> MaxSpeedByBaud{125, 125, 101, 79, 53, 53, 25, 30, 30, 18, 18};

// Runs whenever the thumb moves: the highlight ends at the thumb and the label
// shows the speed and follows it.
void TrackBar2Change(SpeedSlider& slider, SpeedLabel& label);

// Moves the thumb as the slider would: kept within Min..Max, and
// TrackBar2Change runs if it moved.
void SetTrackBar2Position(SpeedSlider& slider, SpeedLabel& label, int position);

// The slider maximum for a chosen baud (ComboBox14 item index, -1 = none) and
// interface (InterfaceType): 125 on Ethernet, else by baud; unchanged with no
// baud and when below the minimum. The thumb is clamped into the new range.
void ComboBox14Change(int baudIndex, int interfaceType, SpeedSlider& slider, SpeedLabel& label);

} // namespace krn310
