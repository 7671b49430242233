#pragma once

#include <optional>
#include <string>
#include <vector>

namespace krn310 {

// The process that released a queue: a pid alone could be a new process
// after a restart or a wrap-around, so its start time and the boot are kept.
struct TJournalHolder {
    long Pid = 0;
    unsigned long long StartTime = 0;
    std::string BootId;

    bool operator==(const TJournalHolder&) const = default;
};

TJournalHolder CurrentHolder();
bool IsHolderAlive(const TJournalHolder& holder);

struct TJournalEntry {
    std::string Printer;
    std::string DeviceUri;  // the queue's URI before it was moved to the null device
    TJournalHolder Holder;
};

// The queues this program has moved off their ports, with their original
// URIs, so that a queue is not left on the null device when the program dies
// while it holds the port. Every change is written to a temporary file,
// synced and renamed over the journal; the file is removed when the last
// entry goes. Changes take a lock file beside the journal, so two instances
// of the program do not lose each other's entries.
class TReleaseJournal {
public:
    explicit TReleaseJournal(std::string path);

    const std::string& Path() const { return path_; }

    std::vector<TJournalEntry> Load() const;

    // Records a queue released by this process, replacing an older entry for
    // the same queue. False when the journal cannot be written.
    bool Record(const std::string& printer, const std::string& deviceUri);

    std::optional<std::string> OriginalUri(const std::string& printer) const;

    void Forget(const std::string& printer);

    // Hands the entries of dead holders to `restore` under the lock and keeps
    // those for which it returns false, with the entries of living holders.
    template <typename Restore>
    void ReplayDead(Restore&& restore);

private:
    class TLock {
    public:
        explicit TLock(const std::string& path);
        ~TLock();
        TLock(const TLock&) = delete;
        TLock& operator=(const TLock&) = delete;

    private:
        int fd_;
    };

    bool Save(const std::vector<TJournalEntry>& entries) const;

    std::string path_;
};

// $KRN310_SPOOLER_JOURNAL, else $XDG_STATE_HOME/krn310-config/released-queues,
// else ~/.local/state/krn310-config/released-queues.
std::string DefaultJournalPath();

template <typename Restore>
void TReleaseJournal::ReplayDead(Restore&& restore)
{
    TLock lock(path_);
    std::vector<TJournalEntry> kept;
    for (TJournalEntry& entry : Load()) {
        if (IsHolderAlive(entry.Holder) || !restore(entry))
            kept.push_back(std::move(entry));
    }
    Save(kept);
}

} // namespace krn310
