#pragma once

#include <filesystem>

namespace krn310 {

// The full path of the running executable; empty when it cannot be found.
std::filesystem::path ExecutablePath();

} // namespace krn310
