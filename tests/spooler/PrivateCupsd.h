#pragma once

#include "tests/spooler/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace krn310::test {

// Runs a command, waits for it and returns its exit status (-1 when it could
// not be run); its standard output goes to `out` when given.
int RunCommand(const std::vector<std::string>& argv, std::string* out = nullptr);

// A cupsd of the test's own: configuration, spool, logs and state in a
// temporary folder, listening only on a Unix socket there. The system's
// CUPS is never touched. The daemon dies with the test process, even when
// the test crashes.
class TPrivateCupsd {
public:
    TPrivateCupsd() = default;
    ~TPrivateCupsd() { Stop(); }
    TPrivateCupsd(const TPrivateCupsd&) = delete;
    TPrivateCupsd& operator=(const TPrivateCupsd&) = delete;

    // Starts the daemon and points this process's CUPS clients (libcups and
    // the lp tools it runs) at it. False, with Error(), when it cannot.
    bool Start();
    void Stop();

    bool Running() const { return pid_ > 0; }
    bool Installed() const { return !cupsd_.empty(); }
    const std::string& Error() const { return error_; }
    const std::string& Socket() const { return socket_; }
    std::string JournalPath() const { return dir_ / "journal/released-queues"; }

    bool AddQueue(const std::string& name, const std::string& uri) const;
    bool SetQueueUri(const std::string& name, const std::string& uri) const;
    bool RemoveQueue(const std::string& name) const;
    void RemoveAllQueues() const;
    // Every queue with its device URI, as the lp tools see them.
    std::map<std::string, std::string> DeviceUris() const;

private:
    std::string Log() const;

    TTempDir dir_{"krn310-cupsd"};
    std::string cupsd_;
    std::string socket_;
    std::string error_;
    int pid_ = 0;
};

// The daemon shared by every test of the executable: libcups keeps the
// server it was first pointed at, so there is one per process.
TPrivateCupsd& SharedCupsd();

// Tests against the shared daemon. Each starts with no queues and no journal.
// Without cupsd they skip, except under CI, where cupsd is required.
class CupsdTest : public ::testing::Test {
protected:
    void SetUp() override;

    TPrivateCupsd& Cupsd() { return SharedCupsd(); }
    void AddQueues(const std::map<std::string, std::string>& queues);
};

} // namespace krn310::test
