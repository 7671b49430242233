#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace krn310 {

// The whole file as bytes; nothing when it cannot be read. `missing` tells a
// file that does not exist from one that cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, bool* missing = nullptr);

// Replaces the file's contents so that at every moment the file holds either
// the old contents or the new ones in full: the new contents go to a
// temporary file beside it, are flushed to the disk and renamed over it. A
// symbolic link is followed, the file's permission bits are kept. On failure
// the old file is left as it was and false is returned.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view contents);

// Test seam: runs after the new contents are on the disk in the temporary
// file and before it replaces the file; returning false fails the replacement
// there. One at a time, restored when the object goes away.
class ScopedBeforeReplaceHook {
public:
    using Hook = std::function<bool(const std::filesystem::path& temporaryFile)>;
    explicit ScopedBeforeReplaceHook(Hook hook);
    ~ScopedBeforeReplaceHook();
    ScopedBeforeReplaceHook(const ScopedBeforeReplaceHook&) = delete;
    ScopedBeforeReplaceHook& operator=(const ScopedBeforeReplaceHook&) = delete;

private:
    Hook previous_;
};

} // namespace krn310
