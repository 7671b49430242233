#pragma once

#include <exception>
#include <utility>

namespace krn310 {

// Shows the error box for an exception that escaped an event handler.
void ReportEscapedException(std::exception_ptr e);

// Runs one event handler. An exception that escapes it is shown in an error
// message box and the program goes on; the handler's remaining steps are
// skipped. Every handler the event loop calls runs through this.
template <class Handler>
void RunGuarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        ReportEscapedException(std::current_exception());
    }
}

} // namespace krn310
