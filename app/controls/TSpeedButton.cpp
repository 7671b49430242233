#include "app/controls/TSpeedButton.h"

#include "app/controls/ControlEvent.h"

namespace krn310 {

TSpeedButton::TSpeedButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { RaiseEvent(OnClick); });
}

} // namespace krn310
