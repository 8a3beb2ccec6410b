// Runs a check in a child process that cannot override file permissions, so
// read-only files behave as read-only even when the suite runs as root.
#pragma once

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

namespace quorin::testing {

constexpr int kNobody = 65534;

// The child's exit code: 0 when fn returned 0; 97 when privileges could not be dropped.
inline int RunUnprivileged(const std::function<int()>& fn) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(97);
    _exit(fn());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace quorin::testing
