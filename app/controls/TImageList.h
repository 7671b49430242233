#pragma once

#include <QPixmap>

#include <vector>

namespace krn310 {

// A list of images of one size, addressed by index.
class TImageList {
public:
    TImageList(int width, int height) : width_(width), height_(height) {}

    void Add(const QPixmap& image) { images_.push_back(image); }
    int Count() const { return static_cast<int>(images_.size()); }
    // A null pixmap for an index outside the list.
    QPixmap Image(int index) const;
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<QPixmap> images_;
};

// The lamp drawn for ImageList1: a 16 x 16 circular lamp in the given colour.
QPixmap DrawLamp(const QColor& color, int size = 16);

} // namespace krn310
