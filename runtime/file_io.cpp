#include "runtime/file_io.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "runtime/host.h"

namespace quorin {

namespace fs = std::filesystem;

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  if (path.empty()) return false;
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return false;
  char buffer[8192];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) out.append(buffer, n);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::path target = PathFromUtf8(path);
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::canonical(target, ec);
    if (ec) return false;
    target = resolved;
  }
  const fs::path temp = fs::path(target).concat(".new");

  std::FILE* file = OpenFile(PathToUtf8(temp), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // Keep the permissions the player gave the old file.
  if (ok) KeepFilePermissions(file, target);
  ok = FlushFileToDisk(file) && ok;
  // Closed before the replace: Windows refuses to move an open file.
  ok = std::fclose(file) == 0 && ok;
  if (ok) ok = ReplaceFileAtomically(temp, target);
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace quorin
