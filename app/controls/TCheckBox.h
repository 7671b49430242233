#pragma once

#include <QCheckBox>

namespace krn310 {

// A check box; with the caption on the left, the box stands at the right end
// so that the boxes of a column of such controls line up.
class TCheckBox : public QCheckBox {
public:
    explicit TCheckBox(QWidget* parent);

    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked) { setChecked(checked); }

    void SetCaptionOnLeft(bool onLeft);
    bool CaptionOnLeft() const { return captionOnLeft_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    bool captionOnLeft_ = false;
};

} // namespace krn310
