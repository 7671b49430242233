#pragma once

#include <QSlider>

#include <functional>

namespace krn310 {

// A horizontal slider without tick marks that moves one step per page and
// highlights the part of its track from SelStart to SelEnd.
class TTrackBar : public QSlider {
public:
    explicit TTrackBar(QWidget* parent);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Position() const { return value(); }
    // Setting a bound clamps the position into the new range.
    void SetMin(int min) { setMinimum(min); }
    void SetMax(int max) { setMaximum(max); }
    void SetPosition(int position) { setValue(position); }

    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    void SetSelStart(int value);
    void SetSelEnd(int value);

    // Raised whenever the position changes, moved by the operator or set by
    // the program (a clamp by a new bound included).
    std::function<void()> OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int selStart_ = 0;
    int selEnd_ = 0;
};

} // namespace krn310
