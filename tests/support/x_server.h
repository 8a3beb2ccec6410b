// Child processes for the tests that run the real game: start, wait, and an
// X server (Xvfb) of the test's own.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/process.h"

namespace quorin::testing {

inline std::string Capture(const std::string& command) { return RunCommand(command).out; }

inline bool HaveTool(const char* name) {
  return !Capture(std::string("command -v ") + name + " 2>/dev/null").empty();
}

// Starts args[0] with the extra environment; errorsTo, when given, receives
// the child's standard error.
inline pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                   const char* errorsTo = nullptr) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (errorsTo) {
      if (std::FILE* f = std::fopen(errorsTo, "a")) ::dup2(::fileno(f), 2);
    }
    for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// Exit code, -2 for a process that did not exit normally, or -1 when it did
// not end in time (it is then killed unless keep is set).
inline int WaitFor(pid_t pid, std::chrono::milliseconds limit, bool keep = false) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (keep) return -1;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

// An Xvfb with the given screens ("WxHxD" each) on a display it picks itself
// and reports through a pipe. It runs with -noreset: by default it resets
// whenever its last client leaves, and a connection made during the reset
// fails (every xdotool call would be that last client).
struct XServer {
  pid_t pid = -1;
  std::string display;  // ":N", empty when it did not start

  explicit XServer(const std::vector<std::string>& screens) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    std::vector<std::string> args = {"Xvfb", "-displayfd", std::to_string(fds[1])};
    for (std::size_t k = 0; k < screens.size(); ++k) {
      args.insert(args.end(), {"-screen", std::to_string(k), screens[k]});
    }
    args.insert(args.end(), {"-nolisten", "tcp", "-noreset"});
    pid = Spawn(args);
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
    ::close(fds[0]);
    if (number.empty()) return;
    display = ":" + number;
    // The number comes before the server takes clients; wait until it answers.
    for (int k = 0; k < 100 && Run("xdpyinfo >/dev/null 2>&1 && echo up").empty(); ++k) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~XServer() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      WaitFor(pid, std::chrono::milliseconds(2000));
    }
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  // What a shell command on this display prints (its errors left out).
  std::string Run(const std::string& command) const {
    return Capture("DISPLAY=" + display + " " + command + " 2>/dev/null");
  }
};

}  // namespace quorin::testing
