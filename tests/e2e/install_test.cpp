// The installed game: `cmake --install` into a temporary prefix gives a tree
// that runs (under Xvfb, ending on Escape), and CPack's Debian package holds
// the same files and declares what the game loads.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "runtime/png_codec.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tools/iconmaker/icon.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string Capture(const std::string& command) { return testing::RunCommand(command).out; }
bool HaveTool(const char* name) { return !Capture(std::string("command -v ") + name + " 2>/dev/null").empty(); }

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::vector<std::string> IconPaths(const std::string& prefix) {
  std::vector<std::string> paths;
  for (const std::int32_t size : kIconSizes) {
    const std::string side = std::to_string(size);
    paths.push_back(prefix + "share/icons/hicolor/" + side + "x" + side + "/apps/quorin.png");
  }
  return paths;
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// Exit code, or -1 when the process did not end in time (it is then killed
// unless keep is set).
int WaitFor(pid_t pid, std::chrono::milliseconds limit, bool keep = false) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    std::this_thread::sleep_for(20ms);
  }
  if (keep) return -1;
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

// Installs the build tree into a fresh prefix once for the suite.
class InstalledGame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix = new testing::TempDir(false);
    const testing::CommandResult r = testing::RunCommand(std::string("'") + QUORIN_CMAKE + "' --install '" +
                                                         QUORIN_BINARY_DIR + "' --prefix " +
                                                         Quoted(prefix->Path()) + " 2>&1");
    installLog = r.out;
    installed = r.code == 0;
  }
  static void TearDownTestSuite() {
    delete prefix;
    prefix = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(installed) << installLog; }

  static fs::path Bin() { return prefix->Path() / "bin" / "quorin"; }

  static inline testing::TempDir* prefix = nullptr;
  static inline bool installed = false;
  static inline std::string installLog;
};

TEST_F(InstalledGame, PutsTheGameTheDesktopEntryAndEveryIconSizeInTheirPlaces) {
  EXPECT_TRUE(fs::exists(Bin()));
  EXPECT_EQ(fs::status(Bin()).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
  const std::string desktop = testing::ReadFile((prefix->Path() / "share/applications/quorin.desktop").string());
  EXPECT_NE(desktop.find("\nExec=quorin\n"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("\nIcon=quorin\n"), std::string::npos);
  EXPECT_NE(desktop.find("Categories=Game;"), std::string::npos);
  const std::string root = prefix->Path().string() + "/";
  for (std::size_t k = 0; k < kIconSizes.size(); ++k) {
    const std::string path = IconPaths(root)[k];
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DecodedImage icon;
    ASSERT_TRUE(DecodePng(data, icon)) << path;
    EXPECT_EQ(icon.pixels.width, kIconSizes[k]);
    EXPECT_EQ(icon.pixels.height, kIconSizes[k]);
    EXPECT_TRUE(icon.hasAlpha);
  }
}

TEST_F(InstalledGame, TheInstalledBinaryAnswersVersionAndHelp) {
  EXPECT_EQ(Capture(Quoted(Bin()) + " --version"), "Quorin " QUORIN_VERSION_TEXT "\n");
  EXPECT_EQ(Capture(Quoted(Bin()) + " --help").rfind("Usage: quorin", 0), 0u);
}

TEST_F(InstalledGame, RunsFromThePrefixUnderXvfbAndEndsOnEscape) {
  if (!HaveTool("Xvfb") || !HaveTool("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing (./check installs them)";
  testing::TempDir work;  // the working directory: engine.ini and Quorin.cfg
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t xvfb =
      Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
  ::close(fds[1]);
  std::string number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  ::close(fds[0]);
  ASSERT_FALSE(number.empty()) << "Xvfb did not start";
  const std::string display = ":" + number;
  auto x = [&](const std::string& command) {
    return Trimmed(Capture("DISPLAY=" + display + " " + command + " 2>/dev/null"));
  };
  // The number comes before the server takes clients; wait until it answers.
  for (int k = 0; k < 100 && x("xdotool getmouselocation").empty(); ++k) std::this_thread::sleep_for(50ms);
  const pid_t game = Spawn({Bin().string()}, {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy", "SDL_VIDEODRIVER=x11",
                                              "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"});
  std::string id;
  for (int k = 0; k < 600 && id.empty(); ++k) {
    id = x("xdotool search --name '^Quorin$' | head -1");
    if (id.empty()) std::this_thread::sleep_for(50ms);
  }
  int code = -3;
  if (!id.empty()) {
    x("xdotool windowfocus --sync " + id);
    std::this_thread::sleep_for(300ms);
    // A sanitizer build on a loaded machine may miss a short press while it
    // builds its sprites: press again until the game ends.
    for (int press = 0; press < 5 && code < 0; ++press) {
      x("xdotool keydown Escape");
      std::this_thread::sleep_for(300ms);  // several frames, even on a loaded machine
      x("xdotool keyup Escape");
      code = WaitFor(game, 4s, press < 4);
    }
  } else {
    WaitFor(game, 1ms);
  }
  ::kill(xvfb, SIGTERM);
  WaitFor(xvfb, 2000ms);
  ASSERT_FALSE(id.empty()) << "the installed game opened no window";
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(fs::exists(work.Path() / "Quorin.cfg")) << "an orderly exit writes the user file";
}

TEST(DebianPackage, HoldsTheInstalledFilesAndDeclaresTheLibrariesItLoads) {
  if (!HaveTool("dpkg-deb")) GTEST_SKIP() << "dpkg-deb missing";
  testing::TempDir out(false);
  const testing::CommandResult made =
      testing::RunCommand(std::string("cd ") + Quoted(out.Path()) + " && '" + QUORIN_CPACK + "' -G DEB --config '" +
                          QUORIN_BINARY_DIR + "/CPackConfig.cmake' 2>&1");
  ASSERT_EQ(made.code, 0) << made.out;
  fs::path deb;
  for (const auto& entry : fs::directory_iterator(out.Path())) {
    if (entry.path().extension() == ".deb") deb = entry.path();
  }
  ASSERT_FALSE(deb.empty()) << made.out;
  EXPECT_EQ(deb.filename().string().rfind("quorin_" QUORIN_VERSION_TEXT, 0), 0u) << deb;

  const std::string files = Capture("dpkg-deb -c " + Quoted(deb));
  for (const std::string& path : std::vector<std::string>{"./usr/bin/quorin", "./usr/share/applications/quorin.desktop"}) {
    EXPECT_NE(files.find(" " + path + "\n"), std::string::npos) << path << " missing from\n" << files;
  }
  EXPECT_NE(files.find(" ./usr/share/doc/quorin/README.md\n"), std::string::npos);
  for (const std::string& icon : IconPaths("./usr/")) {
    EXPECT_NE(files.find(" " + icon + "\n"), std::string::npos) << icon;
  }
  EXPECT_EQ(Trimmed(Capture("dpkg-deb -f " + Quoted(deb) + " Package")), "quorin");
  EXPECT_EQ(Trimmed(Capture("dpkg-deb -f " + Quoted(deb) + " Version")), QUORIN_VERSION_TEXT);
  EXPECT_EQ(Trimmed(Capture("dpkg-deb -f " + Quoted(deb) + " Section")), "games");
  const std::string depends = Capture("dpkg-deb -f " + Quoted(deb) + " Depends");
  for (const char* library : {"libsdl2-2.0-0", "libpng16-16", "libvorbisfile3", "libc6", "libstdc++6"}) {
    EXPECT_NE(depends.find(library), std::string::npos) << library << " not in Depends: " << depends;
  }
}

}  // namespace
}  // namespace quorin
