// Runs part of a test in a child process, for what must not touch the test process itself:
// another user, another environment, a resource limit, a kill.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

namespace proxylist::testing {

// The child's exit code: what `body` returned, or -1 when the child did not exit by itself.
inline int run_in_child(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline constexpr uid_t kNobody = 65534;

// Where this runs as root (the tests do, and no folder refuses root), becomes user nobody with
// no groups besides nobody's. False when that fails.
inline bool become_nobody() {
    if (::getuid() != 0) {
        return true;
    }
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace proxylist::testing
