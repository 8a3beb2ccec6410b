#include "runtime/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "tests/support/temp_dir.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(AtomicWrite, ReplacesContentsAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.File("a.cfg");
  WriteFile(path, "old contents that are longer");
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_FALSE(fs::exists(path + ".new"));
  ASSERT_TRUE(WriteFileAtomically(dir.File("fresh.cfg"), ""));
  EXPECT_TRUE(fs::exists(dir.File("fresh.cfg")));
}

TEST(AtomicWrite, FailureToWriteTheTemporaryKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("a.cfg");
  WriteFile(path, "precious");
  fs::create_directory(path + ".new");  // the temporary cannot be created
  EXPECT_FALSE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadFile(path), "precious");
}

TEST(AtomicWrite, FailureToRenameRemovesTheTemporary) {
  TempDir dir;
  const std::string path = dir.File("folder");
  fs::create_directory(path);
  fs::create_directory(path + "/inside");  // a non-empty folder cannot be replaced
  EXPECT_FALSE(WriteFileAtomically(path, "new"));
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_FALSE(fs::exists(path + ".new"));
}

TEST(AtomicWrite, FollowsLinksAndKeepsPermissions) {
  TempDir dir;
  const std::string real = dir.File("real.cfg");
  WriteFile(real, "x");
  ::chmod(real.c_str(), 0640);
  fs::create_symlink(real, dir.File("link.cfg"));
  ASSERT_TRUE(WriteFileAtomically(dir.File("link.cfg"), "through the link"));
  EXPECT_TRUE(fs::is_symlink(dir.File("link.cfg")));
  EXPECT_EQ(ReadFile(real), "through the link");
  struct stat st;
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicWrite, MissingFolderFails) {
  TempDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.File("nowhere/a.cfg"), "x"));
  EXPECT_FALSE(WriteFileAtomically("", "x"));
}

}  // namespace
}  // namespace quorin
