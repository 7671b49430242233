#include "settings/SpeedSlider.h"

#include <algorithm>

namespace krn310 {

namespace {

constexpr int kLabelTrackSpan = 230;
constexpr int kDesignMin = 18;
constexpr int kDesignMax = 125;

std::string SpeedText(int position)
{
    const long double speed = static_cast<long double>(220 * position) * 0.008L + 0.5L;
    return std::to_string(static_cast<unsigned>(speed));
}

int LabelLeft(const SpeedSlider& slider)
{
    // An empty range (1200 and 600 baud) draws the thumb at the track's start,
    // so the label stands where the full range puts the minimum.
    const int span = slider.Max > slider.Min ? slider.Max - slider.Min : kDesignMax - kDesignMin;
    const int position = slider.Max > slider.Min ? slider.Position : slider.Min;
    const long double left = static_cast<long double>(kLabelTrackSpan) / span * position + slider.Left;
    return static_cast<int>(left);
}

} // namespace

void TrackBar2Change(SpeedSlider& slider, SpeedLabel& label)
{
    slider.SelEnd = slider.Position;
    label.Text = SpeedText(slider.Position);
    label.Left = LabelLeft(slider);
}

void SetTrackBar2Position(SpeedSlider& slider, SpeedLabel& label, int position)
{
    const int clamped = std::clamp(position, slider.Min, std::max(slider.Min, slider.Max));
    if (clamped == slider.Position)
        return;
    slider.Position = clamped;
    TrackBar2Change(slider, label);
}

void ComboBox14Change(int baudIndex, int interfaceType, SpeedSlider& slider, SpeedLabel& label)
{
    int max = 0;
    if (interfaceType == kEthernetInterface)
        max = kEthernetMaxSpeed;
    else if (baudIndex >= 0 && baudIndex < kBaudItems)
        max = MaxSpeedByBaud[static_cast<std::size_t>(baudIndex)];
    else
        return;
    if (max < slider.Min || max == slider.Max)
        return;
    slider.Max = max;
    SetTrackBar2Position(slider, label, slider.Position);
}

} // namespace krn310
