#include "app/controls/TTrackBar.h"

#include "app/controls/ControlEvent.h"

#include <QStyleOptionSlider>
#include <QStylePainter>

#include <algorithm>

namespace krn310 {

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::NoTicks);
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QSlider::valueChanged, this, [this](int) { RaiseEvent(OnChange); });
}

void TTrackBar::SetSelStart(int value)
{
    selStart_ = value;
    update();
}

void TTrackBar::SetSelEnd(int value)
{
    selEnd_ = value;
    update();
}

void TTrackBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);

    option.subControls = QStyle::SC_SliderGroove;
    painter.drawComplexControl(QStyle::CC_Slider, option);

    const int from = std::clamp(std::min(selStart_, selEnd_), minimum(), maximum());
    const int to = std::clamp(std::max(selStart_, selEnd_), minimum(), maximum());
    if (to > from) {
        const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const int span = groove.width() - handle.width();
        const int offset = groove.left() + handle.width() / 2;
        const int left = offset + QStyle::sliderPositionFromValue(minimum(), maximum(), from, span);
        const int right = offset + QStyle::sliderPositionFromValue(minimum(), maximum(), to, span);
        const QRect range(left, groove.center().y() - 2, right - left, 5);
        painter.fillRect(range, palette().brush(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight));
    }

    option.subControls = QStyle::SC_SliderHandle;
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

} // namespace krn310
