#include "app/controls/Look.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

namespace krn310 {

namespace {

QFont MakeFont(const char* family, QFont::StyleHint hint)
{
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPointSize(8);
    return font;
}

} // namespace

void ApplyWindowsLook()
{
    if (QStyle* windows = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(windows);
        QApplication::setPalette(windows->standardPalette());
    }
    QApplication::setFont(WindowFont());
}

QFont WindowFont()
{
    return MakeFont("Liberation Sans", QFont::SansSerif);
}

QFont ViewFont()
{
    return MakeFont("Liberation Sans", QFont::SansSerif);
}

QFont TreeFont()
{
    QFont font = WindowFont();
    font.setBold(true);
    return font;
}

QFont GridFont()
{
    return MakeFont("Liberation Mono", QFont::TypeWriter);
}

QColor InactiveCaptionColor()
{
    return QColor(191, 205, 219);
}

} // namespace krn310
