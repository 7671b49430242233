#pragma once

#include "platform/MessageBox.h"

namespace krn310 {

// Shows the program's message boxes as real modal boxes with an OK button,
// over the active window; a plain box has no icon, an error box the
// critical one. Returns when the operator has closed the box.
class TQtMessageBoxSink : public IMessageBoxSink {
public:
    void Show(const std::string& text, const std::string& caption, MessageBoxKind kind) override;
};

} // namespace krn310
