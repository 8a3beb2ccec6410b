// The system layer on every system: the per-user file under a folder whose
// name is not ASCII, written, replaced in one step and read back.
#include "runtime/host.h"

#include <gtest/gtest.h>

#include "runtime/file_io.h"
#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;

TEST(Host, UserFileUnderANonAsciiFolderIsWrittenAndReplacedWhole) {
  testing::TempDir dir;
  const std::string base = PathToUtf8(dir.Path()) + "/D\u00e9j\u00e0 \u00c5sa \u4e16\u754c";
  ASSERT_TRUE(fs::create_directory(PathFromUtf8(base)));
  // Windows asks APPDATA, Linux the XDG data folder: both point at base.
  const EnvironmentLookup lookup = [&](std::string_view name) -> std::optional<std::string> {
    if (name == "APPDATA" || name == "XDG_DATA_HOME") return base;
    return std::nullopt;
  };
  const std::string path = HostUserFilePath("Brightvault", "Quorin.cfg", lookup);
  EXPECT_EQ(PathFromUtf8(path), PathFromUtf8(base) / "Brightvault" / "Quorin.cfg");
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(base) / "Brightvault"));

  ASSERT_TRUE(WriteFileAtomically(path, "first"));
  ASSERT_TRUE(WriteFileAtomically(path, "second, longer"));
  std::string read;
  ASSERT_TRUE(ReadWholeFile(path, read));
  EXPECT_EQ(read, "second, longer");
  // Nothing left beside it: the temporary file became the file.
  EXPECT_EQ(std::distance(fs::directory_iterator(PathFromUtf8(base) / "Brightvault"), fs::directory_iterator()), 1);

  const EnvironmentLookup nothing = [](std::string_view) -> std::optional<std::string> { return std::nullopt; };
  EXPECT_EQ(HostUserFilePath("Brightvault", "Quorin.cfg", nothing), "");
}

TEST(Host, AFileOpensByItsUtf8Name) {
  testing::TempDir dir;
  const std::string path = PathToUtf8(dir.Path() / PathFromUtf8("\u00fcber.png"));
  std::FILE* file = OpenFile(path, "wb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_TRUE(fs::exists(dir.Path() / PathFromUtf8("\u00fcber.png")));
  EXPECT_EQ(OpenFile(path + ".missing", "rb"), nullptr);
}

}  // namespace
}  // namespace quorin
