// The user file survives anything that happens while it is written: a kill at
// any moment, a full disk, a read-only folder.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/settings.h"
#include "app/startup.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string UserFileWith(std::int32_t hiScore) {
  return "AudioVolume = 3\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = " + std::to_string(hiScore) +
         "\r\nMaxBounce = 0\r\n";
}

const std::string kOldUserFile = UserFileWith(1234);

// The real saving code in a child that rewrites the file without pause, each
// time with a new high score, until it is killed.
pid_t StartSavingForever() {
  const pid_t pid = fork();
  if (pid == 0) {
    Game game;
    CreateContainers(game);
    game.settings.userFilePath = "Quorin.cfg";
    game.settings.Windowed = 1;
    game.options.volumeChoice = 3;
    game.options.smoothingChoice = 1;
    for (std::int32_t score = 1;; ++score) {
      game.options.HiScore = score;
      SaveUserSettings(game);
    }
  }
  return pid;
}

// Whether the text is one whole user file as SaveUserSettings writes it.
bool IsWholeUserFile(const std::string& text) {
  const std::string head = "AudioVolume = 3\r\nWindowed = 1\r\nSmoothing = 1\r\nHiScore = ";
  const std::string tail = "\r\nMaxBounce = 0\r\n";
  if (!text.starts_with(head) || !text.ends_with(tail) || text.size() <= head.size() + tail.size()) return false;
  const std::string digits = text.substr(head.size(), text.size() - head.size() - tail.size());
  return digits.find_first_not_of("0123456789") == std::string::npos;
}

TEST(SaveSafety, KillAtAnyMomentLeavesTheOldOrTheNewFile) {
  TempDir dir;
  WriteFile("Quorin.cfg", kOldUserFile);
  std::mt19937 random(20261208);  // fixed, so a failure repeats
  constexpr int kKills = 150;
  int midWrite = 0;  // kills that left a half-written temporary file behind
  for (int k = 0; k < kKills; ++k) {
    const std::string before = ReadFile("Quorin.cfg");
    const pid_t child = StartSavingForever();
    ASSERT_GT(child, 0);
    // Let it finish one save first (a slow machine may take a while to
    // start it), then kill it somewhere in the following ones.
    for (int wait = 0; wait < 5000 && ReadFile("Quorin.cfg") == before; ++wait) ::usleep(1000);
    ::usleep(std::uniform_int_distribution<unsigned>(0, 2000)(random));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver stopped on its own";
    const std::string now = ReadFile("Quorin.cfg");
    ASSERT_TRUE(IsWholeUserFile(now)) << "after kill " << k << ": \"" << now << "\"";
    if (fs::exists("Quorin.cfg.new")) {
      ++midWrite;
      fs::remove("Quorin.cfg.new");
    }
  }
  EXPECT_GT(midWrite, 0) << "no kill met a save in progress";
  RecordProperty("kills", kKills);
  RecordProperty("killsDuringAWrite", midWrite);
  std::printf("%d kills survived, %d of them during a write\n", kKills, midWrite);
}

// The real game for a few frames in the folder, after prepare ran in its
// process; its exit code, or -1 when it did not exit.
template <typename Prepare>
int RunSimIn(const fs::path& folder, Prepare prepare) {
  const pid_t child = fork();
  if (child == 0) {
    if (::chdir(folder.c_str()) != 0) _exit(96);
    prepare();
    ::execl(QUORIN_SIM_PATH, "quorin-sim", "run", "--frames", "3", static_cast<char*>(nullptr));
    _exit(95);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Saving into a folder of its own, filled to the last byte: a small memory
// disk where the machine allows mounting one, else a file size limit of a few
// bytes on the saving process, which fails the same writes the same way.
TEST(SaveSafety, FullDiskKeepsTheOldFileAndTheGameExitsNormally) {
  TempDir dir(false);
  const fs::path disk = dir.Path() / "disk";
  fs::create_directory(disk);
  const bool mounted = ::mount("quorin-test", disk.c_str(), "tmpfs", 0, "size=16k") == 0;
  const std::string path = (disk / "Quorin.cfg").string();
  WriteFile(path, kOldUserFile);
  if (mounted) {
    // Fill what is left; the last write fails when the disk is full.
    std::FILE* filler = std::fopen((disk / "filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(512, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    std::fclose(filler);
  }
  const int code = RunSimIn(disk, [mounted] {
    if (!mounted) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{8, 8};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
  });
  EXPECT_EQ(code, 0) << "the game did not exit normally";
  EXPECT_EQ(ReadFile(path), kOldUserFile);
  EXPECT_FALSE(fs::exists(path + ".new"));
  if (mounted) ::umount(disk.c_str());
}

TEST(SaveSafety, ReadOnlyFolderKeepsTheOldFile) {
  TempDir dir(false);
  const std::string path = dir.File("Quorin.cfg");
  WriteFile(path, kOldUserFile);
  ::chmod(dir.Path().c_str(), 0555);
  const int code = RunSimIn(dir.Path(), [] {
    if (geteuid() == 0 && (setgid(testing::kNobody) != 0 || setuid(testing::kNobody) != 0)) _exit(97);
  });
  EXPECT_EQ(code, 0) << "the game did not exit normally";
  EXPECT_EQ(ReadFile(path), kOldUserFile);
}

}  // namespace
}  // namespace quorin
