#include "platform/HandlerGuard.h"

#include "platform/MessageBox.h"

#include <stdexcept>
#include <string>

namespace krn310 {

void ReportEscapedException(std::exception_ptr e)
{
    std::string text = "Unknown error";
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        text = ex.what();
    } catch (...) {
    }
    try {
        ShowMessageBox(text, "Error", MessageBoxKind::Error);
    } catch (...) {
        // Nothing sensible is left to do when showing the error fails too.
    }
}

} // namespace krn310
