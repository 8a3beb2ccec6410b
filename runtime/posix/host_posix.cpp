#include "runtime/host.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace quorin {

namespace fs = std::filesystem;

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::optional<std::string> HostEnvironment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::string HostUserFilePath(std::string_view folderName, std::string_view fileName,
                             const EnvironmentLookup& environment) {
  // Relative data folders are ignored, as other desktop programs do.
  std::optional<std::string> base = environment("XDG_DATA_HOME");
  if (!base || base->empty() || base->front() != '/') {
    const std::optional<std::string> home = environment("HOME");
    if (!home || home->empty()) return {};
    base = *home + "/.local/share";
  }
  const fs::path folder = fs::path(*base) / folderName;
  std::error_code ec;
  fs::create_directories(folder, ec);
  return (folder / fileName).string();
}

std::tm HostLocalTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}

std::string HostPathSpelling(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool FlushFileToDisk(std::FILE* file) {
  return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

void KeepFilePermissions(std::FILE* file, const fs::path& old) {
  struct stat status;
  if (::stat(old.c_str(), &status) == 0) fchmod(fileno(file), status.st_mode & 07777);
}

bool ReplaceFileAtomically(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::rename(from, to, ec);
  return !ec;
}

void HostUseParentConsole() {}

void SleepFine(std::uint64_t ns) {
  std::this_thread::sleep_for(std::chrono::nanoseconds(ns));
}

void CompositionSwitch::Set(bool on) {
  (void)on;  // the desktops here have no such switch
}

}  // namespace quorin
