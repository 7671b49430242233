#pragma once

#include <QColor>
#include <QGroupBox>

namespace krn310 {

// A frame with a caption; the caption alone may take its own colour, while
// the controls inside keep theirs.
class TGroupBox : public QGroupBox {
public:
    TGroupBox(const QString& caption, QWidget* parent);

    void SetCaptionColor(const QColor& color);
    QColor CaptionColor() const { return captionColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor captionColor_;
};

} // namespace krn310
