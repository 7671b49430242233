#include "platform/MessageBox.h"

#include <cstdio>

namespace krn310 {

namespace {

IMessageBoxSink* g_sink = nullptr;

} // namespace

void ShowMessageBox(const std::string& text, const std::string& caption, MessageBoxKind kind)
{
    if (g_sink) {
        g_sink->Show(text, caption, kind);
        return;
    }
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    (void)kind;
}

ScopedMessageBoxSink::ScopedMessageBoxSink(IMessageBoxSink& sink) : previous_(g_sink)
{
    g_sink = &sink;
}

ScopedMessageBoxSink::~ScopedMessageBoxSink()
{
    g_sink = previous_;
}

} // namespace krn310
