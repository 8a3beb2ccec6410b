#include "runtime/host.h"

#include <io.h>
#include <windows.h>

#include <cstdlib>
#include <system_error>

namespace quorin {

namespace fs = std::filesystem;

namespace {

// The longest APPDATA the user folder is made under, in characters.
constexpr std::size_t kMaxAppDataLength = 254;

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

// The narrow calls would read paths in the ANSI code page, which cannot spell
// every user name: everything goes through the wide ones.
std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

std::optional<std::string> HostEnvironment(std::string_view name) {
  const wchar_t* value = _wgetenv(Wide(name).c_str());
  if (!value) return std::nullopt;
  return Utf8(value);
}

std::string HostUserFilePath(std::string_view folderName, std::string_view fileName,
                             const EnvironmentLookup& environment) {
  const std::optional<std::string> appData = environment("APPDATA");
  if (!appData || appData->empty() || Wide(*appData).size() > kMaxAppDataLength) return {};
  std::string folder = *appData;
  while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  folder += '\\';
  folder += folderName;
  // Only the last folder is made: an APPDATA that does not exist is no place.
  std::error_code ec;
  fs::create_directory(PathFromUtf8(folder), ec);
  return folder + "\\" + std::string(fileName);
}

std::tm HostLocalTime(std::time_t moment) {
  std::tm local{};
  localtime_s(&local, &moment);
  return local;
}

std::string HostPathSpelling(std::string path) {
  return path;
}

bool FlushFileToDisk(std::FILE* file) {
  return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

void KeepFilePermissions(std::FILE* file, const fs::path& old) {
  // A replaced file takes its folder's permissions, as a new one would.
  (void)file;
  (void)old;
}

bool ReplaceFileAtomically(const fs::path& from, const fs::path& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void HostUseParentConsole() {
  // Output already going somewhere (a pipe, a file, Wine's terminal) stays there.
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::FILE* ignored = nullptr;
  (void)freopen_s(&ignored, "CONOUT$", "w", stdout);
  (void)freopen_s(&ignored, "CONOUT$", "w", stderr);
}

void SleepFine(std::uint64_t ns) {
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif
  HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
  if (timer == nullptr) {  // older systems: whole milliseconds, rounded down
    if (ns >= 1000000) Sleep(static_cast<DWORD>(ns / 1000000));
    return;
  }
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(ns / 100);  // relative, in 100 ns steps
  if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) WaitForSingleObject(timer, INFINITE);
  CloseHandle(timer);
}

void CompositionSwitch::Set(bool on) {
  using EnableComposition = HRESULT(WINAPI*)(UINT);
  if (!on && library_ == nullptr) {
    // Loaded at run time: systems without it still start the game.
    HMODULE library = LoadLibraryW(L"dwmapi.dll");
    if (library == nullptr) return;
    auto enable = reinterpret_cast<EnableComposition>(
        reinterpret_cast<void*>(GetProcAddress(library, "DwmEnableComposition")));
    if (enable == nullptr) {
      FreeLibrary(library);
      return;
    }
    enable(0);
    library_ = library;
  } else if (on && library_ != nullptr) {
    HMODULE library = static_cast<HMODULE>(library_);
    if (auto enable = reinterpret_cast<EnableComposition>(
            reinterpret_cast<void*>(GetProcAddress(library, "DwmEnableComposition")))) {
      enable(1);
    }
    FreeLibrary(library);
    library_ = nullptr;
  }
}

}  // namespace quorin
