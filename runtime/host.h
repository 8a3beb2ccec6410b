// The few things the operating system does differently, below everything
// else: files by UTF-8 path, the environment, the per-user data folder, the
// one-step file replace, fine sleeps and the desktop composition switch.
// runtime/posix/ implements it for Linux, runtime/windows/ for Windows; the
// build picks one. Paths are UTF-8 text on every system.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorin {

// A path from UTF-8 text and back, whatever the system's own encoding is.
inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
inline std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// std::fopen with a UTF-8 path.
std::FILE* OpenFile(const std::string& path, const char* mode);

// An environment variable as UTF-8; nullopt when it is not set.
std::optional<std::string> HostEnvironment(std::string_view name);
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view)>;

// The per-user data folder named folderName (created when missing, its
// parent on Windows is not), joined with fileName. Empty when the system
// gives no usable place: APPDATA on Windows, the XDG data folder elsewhere.
std::string HostUserFilePath(std::string_view folderName, std::string_view fileName,
                             const EnvironmentLookup& environment);

// The local calendar time of a moment.
std::tm HostLocalTime(std::time_t moment);

// The game writes its paths with backslashes; this is the system's spelling.
std::string HostPathSpelling(std::string path);

// Flushes the file's bytes to the disk itself.
bool FlushFileToDisk(std::FILE* file);
// Gives the open new file the permissions of the one it is about to replace.
void KeepFilePermissions(std::FILE* file, const std::filesystem::path& old);
// Puts from in the place of to in one step: a crash leaves one or the other.
bool ReplaceFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// A windowed Windows program has no console: when started from one with
// nowhere else to write, its standard output and errors go to that console
// (for --help and --version). Nothing to do elsewhere.
void HostUseParentConsole();

// Sleeps about ns nanoseconds on the finest timer the system has (never a
// millisecond one, which can sleep past a frame mark).
void SleepFine(std::uint64_t ns);

// Desktop composition off while the game runs where the system has the switch
// (it steadies the frame rate there), back on at exit. The switch's library
// is optional: without it nothing happens.
class CompositionSwitch {
 public:
  CompositionSwitch() = default;
  CompositionSwitch(const CompositionSwitch&) = delete;
  CompositionSwitch& operator=(const CompositionSwitch&) = delete;
  ~CompositionSwitch() { Set(true); }
  void Set(bool on);
  // The switch is held off now.
  bool Off() const { return library_ != nullptr; }

 private:
  void* library_ = nullptr;  // the system library with the switch, while it is off
};

}  // namespace quorin
