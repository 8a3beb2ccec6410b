// A fresh folder for a test, made the working directory while the test runs.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace quorin::testing {

class TempDir {
 public:
  explicit TempDir(bool enter = true) {
    // A new folder of a random name (portable where mkdtemp is not).
    std::random_device seed;
    std::mt19937_64 names(seed());
    std::error_code ec;
    do {
      path_ = std::filesystem::temp_directory_path() / ("quorin-test-" + std::to_string(names() % 1000000000));
    } while (!std::filesystem::create_directory(path_, ec) && !ec);
    if (enter) {
      old_ = std::filesystem::current_path();
      std::filesystem::current_path(path_);
    }
  }
  ~TempDir() {
    std::error_code ec;
    if (!old_.empty()) std::filesystem::current_path(old_, ec);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
  std::filesystem::path old_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace quorin::testing
