#include "platform/profile/ExecutablePath.h"

#include <system_error>

namespace krn310 {

std::filesystem::path ExecutablePath()
{
    std::error_code ec;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
}

} // namespace krn310
