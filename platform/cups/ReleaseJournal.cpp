#include "platform/cups/ReleaseJournal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace krn310 {

namespace {

constexpr char kSeparator = '\t';

std::string ReadFirstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::optional<unsigned long long> StartTimeOf(long pid)
{
    const std::string stat = ReadFirstLine("/proc/" + std::to_string(pid) + "/stat");
    // The command name in parentheses may hold blanks; the fields after it
    // start with the state, and the start time is the 20th of them.
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 0; i < 20; ++i) {
        if (!(fields >> field))
            return std::nullopt;
    }
    try {
        return std::stoull(field);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string BootId()
{
    return ReadFirstLine("/proc/sys/kernel/random/boot_id");
}

bool Fits(const std::string& field)
{
    return !field.empty() && field.find_first_of("\t\n\r") == std::string::npos;
}

std::optional<TJournalEntry> ParseLine(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, kSeparator);)
        fields.push_back(field);
    if (fields.size() != 5 || !Fits(fields[0]) || !Fits(fields[1]))
        return std::nullopt;
    try {
        TJournalEntry entry;
        entry.Printer = fields[0];
        entry.DeviceUri = fields[1];
        entry.Holder.Pid = std::stol(fields[2]);
        entry.Holder.StartTime = std::stoull(fields[3]);
        entry.Holder.BootId = fields[4];
        return entry;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void MakeDirectories(const std::string& dir)
{
    for (auto slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        ::mkdir(dir.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            return;
    }
}

void SyncDirectory(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

TJournalHolder CurrentHolder()
{
    TJournalHolder holder;
    holder.Pid = static_cast<long>(::getpid());
    holder.StartTime = StartTimeOf(holder.Pid).value_or(0);
    holder.BootId = BootId();
    return holder;
}

bool IsHolderAlive(const TJournalHolder& holder)
{
    if (holder.Pid <= 0 || holder.BootId != BootId())
        return false;
    const auto startTime = StartTimeOf(holder.Pid);
    return startTime && *startTime == holder.StartTime;
}

TReleaseJournal::TLock::TLock(const std::string& path)
{
    MakeDirectories(DirectoryOf(path));
    fd_ = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        return;
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

TReleaseJournal::TLock::~TLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

TReleaseJournal::TReleaseJournal(std::string path)
    : path_(std::move(path))
{
}

std::vector<TJournalEntry> TReleaseJournal::Load() const
{
    std::vector<TJournalEntry> entries;
    std::ifstream in(path_);
    for (std::string line; std::getline(in, line);) {
        if (auto entry = ParseLine(line))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

bool TReleaseJournal::Save(const std::vector<TJournalEntry>& entries) const
{
    const std::string dir = DirectoryOf(path_);
    if (entries.empty()) {
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
            return false;
        SyncDirectory(dir);
        return true;
    }

    std::string text;
    for (const TJournalEntry& entry : entries) {
        text += entry.Printer + kSeparator + entry.DeviceUri + kSeparator + std::to_string(entry.Holder.Pid)
            + kSeparator + std::to_string(entry.Holder.StartTime) + kSeparator + entry.Holder.BootId + '\n';
    }

    MakeDirectories(dir);
    const std::string temp = path_ + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path_.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncDirectory(dir);
    return true;
}

bool TReleaseJournal::Record(const std::string& printer, const std::string& deviceUri)
{
    if (!Fits(printer) || !Fits(deviceUri))
        return false;
    TLock lock(path_);
    std::vector<TJournalEntry> entries = Load();
    std::erase_if(entries, [&](const TJournalEntry& entry) { return entry.Printer == printer; });
    entries.push_back({printer, deviceUri, CurrentHolder()});
    return Save(entries);
}

std::optional<std::string> TReleaseJournal::OriginalUri(const std::string& printer) const
{
    for (const TJournalEntry& entry : Load()) {
        if (entry.Printer == printer)
            return entry.DeviceUri;
    }
    return std::nullopt;
}

void TReleaseJournal::Forget(const std::string& printer)
{
    TLock lock(path_);
    std::vector<TJournalEntry> entries = Load();
    const auto removed = std::erase_if(entries, [&](const TJournalEntry& entry) { return entry.Printer == printer; });
    if (removed > 0)
        Save(entries);
}

std::string DefaultJournalPath()
{
    constexpr char kRelative[] = "krn310-config/released-queues";
    if (const char* path = std::getenv("KRN310_SPOOLER_JOURNAL"); path && *path)
        return path;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/')
        return std::string(state) + "/" + kRelative;
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::string(home) + "/.local/state/" + kRelative;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir && *user->pw_dir == '/')
        return std::string(user->pw_dir) + "/.local/state/" + kRelative;
    return kRelative;
}

} // namespace krn310
