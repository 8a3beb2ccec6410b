// Runs a shell command for a test and collects what it prints and how it ended.
#pragma once

#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace quorin::testing {

struct CommandResult {
  std::string out;  // standard output
  int code = -1;    // exit code; -1 when it did not exit normally
};

inline CommandResult RunCommand(const std::string& command) {
  CommandResult r;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
  const int status = ::pclose(pipe);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// quorin-sim with the given arguments (shell syntax allowed).
inline CommandResult RunSim(const std::string& args) {
  return RunCommand(std::string(QUORIN_SIM_PATH) + " " + args);
}

}  // namespace quorin::testing
