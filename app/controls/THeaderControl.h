#pragma once

#include "app/controls/TImageList.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace krn310 {

// A header control whose sections work as buttons: each shows an image from
// an image list and a text, and a click on a section raises OnSectionClick.
class THeaderControl : public QWidget {
public:
    explicit THeaderControl(QWidget* parent);

    void SetImages(const TImageList* images);
    // Adds a section at the right end; gives its index.
    int AddSection(const QString& text, int imageIndex, int width);
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    QString SectionText(int index) const;
    int SectionImageIndex(int index) const;
    int SectionWidth(int index) const;
    void SetSectionText(int index, const QString& text);
    void SetSectionImageIndex(int index, int imageIndex);
    // The section under a point, or -1.
    int SectionAt(const QPoint& pos) const;
    QRect SectionRect(int index) const;

    // Raised when the left button is pressed and released on the same section.
    std::function<void(int section)> OnSectionClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Section {
        QString text;
        int imageIndex;
        int width;
    };

    bool Valid(int index) const { return index >= 0 && index < SectionCount(); }

    const TImageList* images_ = nullptr;
    std::vector<Section> sections_;
    int pressed_ = -1;
    bool pressedInside_ = false;
};

} // namespace krn310
