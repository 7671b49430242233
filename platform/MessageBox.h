#pragma once

#include <string>

namespace krn310 {

enum class MessageBoxKind {
    Plain,  // a plain box with an OK button
    Error,  // an error box with an OK button
};

// Where modal message boxes go. The window installs one that shows a real
// modal box (and so runs a nested event loop until it is closed); tests
// install one that records and answers. Without one, the text goes to stderr.
class IMessageBoxSink {
public:
    virtual ~IMessageBoxSink() = default;
    virtual void Show(const std::string& text, const std::string& caption, MessageBoxKind kind) = 0;
};

// Shows a modal box and returns when it has been closed.
void ShowMessageBox(const std::string& text, const std::string& caption = {},
                    MessageBoxKind kind = MessageBoxKind::Plain);

// Installs a sink for the lifetime of the object, restoring the previous one.
class ScopedMessageBoxSink {
public:
    explicit ScopedMessageBoxSink(IMessageBoxSink& sink);
    ~ScopedMessageBoxSink();
    ScopedMessageBoxSink(const ScopedMessageBoxSink&) = delete;
    ScopedMessageBoxSink& operator=(const ScopedMessageBoxSink&) = delete;

private:
    IMessageBoxSink* previous_;
};

} // namespace krn310
