#include "app/controls/TEdit.h"

#include "app/controls/ControlEvent.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace krn310 {

namespace {

// The character a key press types, or 0 for a key that types none.
char16_t TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Backspace)
        return u'\b';
    const QString text = event.text();
    if (text.size() != 1)
        return 0;
    const char16_t c = text.at(0).unicode();
    // Qt gives Delete the character 127; it is not a typed character.
    return c == 127 ? 0 : c;
}

} // namespace

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {}

void TEdit::SetDigitsOnly(bool on)
{
    digitsOnly_ = on;
    if (on)
        setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    else
        setValidator(nullptr);
}

void TEdit::keyPressEvent(QKeyEvent* event)
{
    const char16_t typed = TypedCharacter(*event);
    if (!OnKeyPress || typed == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    char16_t key = typed;
    RaiseEvent(OnKeyPress, key);
    if (key == 0) {
        event->accept();
        return;
    }
    if (key == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), 0, Qt::NoModifier, QString(QChar(key)));
    QLineEdit::keyPressEvent(&replaced);
}

} // namespace krn310
