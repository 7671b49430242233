#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace krn310 {

namespace {

// A box without its own caption carries the program's name, as the window does.
QString CaptionFor(const std::string& caption)
{
    return caption.empty() ? QStringLiteral("KRN-310 Конфигуратор (v.1.01)") : QString::fromStdString(caption);
}

} // namespace

void TQtMessageBoxSink::Show(const std::string& text, const std::string& caption, MessageBoxKind kind)
{
    QMessageBox box(kind == MessageBoxKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon, CaptionFor(caption),
                    QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

} // namespace krn310
