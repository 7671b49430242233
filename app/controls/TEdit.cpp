#include "app/controls/TEdit.h"

#include "app/controls/ControlEvent.h"

#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

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

// What the operator may type or paste; shortening an over-long text stays
// possible.
class TEdit::InputRule : public QValidator {
public:
    explicit InputRule(TEdit* edit) : QValidator(edit), edit_(edit) {}

    State validate(QString& input, int& pos) const override
    {
        // QLineEdit validates setText too, and would cut a stored value to the
        // limit. Text the program sets leaves the edit unmodified; every edit
        // of the operator marks it modified.
        if (!edit_->isModified())
            return Acceptable;
        if (edit_->DigitsOnly()) {
            for (QChar c : input) {
                if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                    return Invalid;
            }
        }
        // Text that would grow past the limit loses what does not fit of
        // the part just typed or pasted, which ends at the cursor.
        const qsizetype allowed = std::max<qsizetype>(edit_->MaxLength(), edit_->shownLength_);
        const qsizetype excess = input.size() - allowed;
        if (edit_->MaxLength() >= 0 && excess > 0) {
            const qsizetype cut = std::min<qsizetype>(excess, pos);
            input.remove(pos - cut, cut);
            pos -= static_cast<int>(cut);
            if (input.size() > allowed)
                return Invalid;
        }
        return Acceptable;
    }

private:
    TEdit* edit_;
};

TEdit::TEdit(QWidget* parent) : QLineEdit(parent)
{
    setValidator(new InputRule(this));
    // During validation the edit already holds the new text; the length
    // before the change is what an edit may not grow past.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { shownLength_ = text.size(); });
}

void TEdit::SetDigitsOnly(bool on)
{
    digitsOnly_ = on;
}

void TEdit::SetMaxLength(int length)
{
    maxLength_ = length;
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
