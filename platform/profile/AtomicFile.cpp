#include "platform/profile/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace krn310 {

namespace {

ScopedBeforeReplaceHook::Hook& BeforeReplaceHook()
{
    static ScopedBeforeReplaceHook::Hook hook;
    return hook;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A name of its own per attempt, so two writers never share a temporary file.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                       std::to_string(counter.fetch_add(1));
    return target.parent_path() / name;
}

int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryNameBeside(target);
        const int fd = OpenRetrying(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The rename is only durable once the directory entry is on the disk too.
void SyncDirectory(const std::filesystem::path& dir)
{
    const int fd = OpenRetrying(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::filesystem::path ResolveTarget(const std::filesystem::path& path)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec))
        return path;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, bool* missing)
{
    if (missing)
        *missing = false;
    const int fd = OpenRetrying(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (missing)
            *missing = errno == ENOENT;
        return std::nullopt;
    }
    std::string contents;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return contents;
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view contents)
{
    if (path.empty())
        return false;
    const std::filesystem::path target = ResolveTarget(path);

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    if (exists && !S_ISREG(old.st_mode))
        return false;

    std::filesystem::path temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return false;

    bool ok = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) && WriteAll(fd, contents) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && BeforeReplaceHook())
        ok = BeforeReplaceHook()(temporary);
    if (ok)
        ok = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path());
    return true;
}

ScopedBeforeReplaceHook::ScopedBeforeReplaceHook(Hook hook)
    : previous_(std::exchange(BeforeReplaceHook(), std::move(hook)))
{
}

ScopedBeforeReplaceHook::~ScopedBeforeReplaceHook()
{
    BeforeReplaceHook() = std::move(previous_);
}

} // namespace krn310
