#pragma once

#include <cstdlib>
#include <functional>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krn310::test {

// Runs the body in a forked child and returns its wait status; the body's
// return value becomes the exit code. For what must not happen in the test
// process itself: dropping privileges, dying half-way.
inline int RunInChild(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return status;
}

inline bool ExitedWith(int status, int code)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

} // namespace krn310::test
