#pragma once

#include <QFrame>
#include <QWidget>

namespace krn310 {

// A panel: a frame with a one-pixel raised or lowered bevel whose client
// area starts one pixel in, where the controls it holds are placed.
class TPanel : public QFrame {
public:
    enum class Bevel { Raised, Lowered };

    TPanel(Bevel bevel, QWidget* parent);

    Bevel BevelOuter() const { return bevel_; }

private:
    Bevel bevel_;
};

// A rectangle shape: white inside, a black one-pixel pen.
class TShape : public QWidget {
public:
    explicit TShape(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace krn310
