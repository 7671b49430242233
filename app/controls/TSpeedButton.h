#pragma once

#include <QPushButton>

#include <functional>

namespace krn310 {

// A push button that never takes the keyboard focus, so that pressing it
// leaves the focus on the field the operator was editing.
class TSpeedButton : public QPushButton {
public:
    TSpeedButton(const QString& caption, QWidget* parent);

    std::function<void()> OnClick;
};

} // namespace krn310
