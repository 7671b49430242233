#pragma once

#include <QLineEdit>

#include <functional>

namespace krn310 {

// A single-line edit with the design's limits: maximum length (QLineEdit's),
// digits only, read-only, and a key filter.
class TEdit : public QLineEdit {
public:
    explicit TEdit(QWidget* parent);

    // Digits only refuses every other character, typed or pasted.
    void SetDigitsOnly(bool on);
    bool DigitsOnly() const { return digitsOnly_; }

    // The greatest number of characters the operator can enter. Unlike
    // QLineEdit's own limit it binds typing and pasting only: text the
    // program sets (a value from the configuration file) stays whole.
    void SetMaxLength(int length);
    int MaxLength() const { return maxLength_; }

    // Receives each typed character (Backspace as 8); setting it to 0
    // discards the key, another value replaces it. Keys that produce no
    // character (arrows, Delete) do not pass through it.
    std::function<void(char16_t& key)> OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    class InputRule;

    bool digitsOnly_ = false;
    int maxLength_ = -1;
    qsizetype shownLength_ = 0;
};

} // namespace krn310
