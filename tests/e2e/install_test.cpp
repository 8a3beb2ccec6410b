// The installed game: `cmake --install` into a temporary prefix gives a tree
// that runs (under Xvfb, ending on Escape), and CPack's Debian package holds
// the same files and declares what the game loads.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "runtime/png_codec.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tools/iconmaker/icon.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testing::Capture;
using testing::HaveTool;
using testing::Spawn;
using testing::WaitFor;

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

// The bytes of a gzip file and what it holds; Debian wants its documents
// compressed without the original name or time, so that a rebuild of the same
// sources gives the same package.
struct Gzipped {
  bool plain = false;  // a gzip stream without name and time
  std::string text;    // decompressed
};

Gzipped ReadGzipped(const fs::path& path) {
  const std::string bytes = testing::ReadFile(path.string());
  Gzipped g;
  constexpr unsigned char kNameFlag = 0x08;
  g.plain = bytes.size() > 10 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
            static_cast<unsigned char>(bytes[1]) == 0x8b && (bytes[3] & kNameFlag) == 0 &&
            bytes.substr(4, 4) == std::string(4, '\0');
  g.text = Capture("gzip -dc " + Quoted(path) + " 2>/dev/null");
  return g;
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

TEST_F(InstalledGame, ShipsTheCopyrightTheChangelogOfThisVersionAndTheManualPage) {
  const fs::path doc = prefix->Path() / "share/doc/quorin";
  const std::string copyright = testing::ReadFile((doc / "copyright").string());
  EXPECT_EQ(copyright.rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n", 0), 0u)
      << copyright;
  for (const char* field : {"\nFiles: *\n", "\nCopyright: ", "\nLicense: "}) {
    EXPECT_NE(copyright.find(field), std::string::npos) << field;
  }

  const Gzipped changelog = ReadGzipped(doc / "changelog.gz");
  EXPECT_TRUE(changelog.plain);
  // A new version needs its own entry on top.
  EXPECT_EQ(changelog.text.rfind("quorin (" QUORIN_VERSION_TEXT ") ", 0), 0u) << changelog.text;

  const Gzipped manual = ReadGzipped(prefix->Path() / "share/man/man6/quorin.6.gz");
  EXPECT_TRUE(manual.plain);
  EXPECT_EQ(manual.text.rfind(".TH QUORIN 6 ", 0), 0u) << manual.text;
  for (const char* option : {"\\-\\-help", "\\-\\-version", "\\-\\-world", "\\-\\-record", "\\-\\-replay"}) {
    EXPECT_NE(manual.text.find(option), std::string::npos) << option;
  }
  // The guide the manual page points to, and the world it plays.
  for (const char* file : {"making-worlds.md", "little-cave.png", "examples/worlds/little-cave.png",
                           "examples/worlds/little-cave-run.txt"}) {
    EXPECT_TRUE(fs::exists(doc / file)) << file;
  }
}

TEST_F(InstalledGame, TheDesktopEntryPassesTheDesktopFileValidator) {
  if (!HaveTool("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate missing (./check installs it)";
  const testing::CommandResult r = testing::RunCommand(
      "desktop-file-validate " + Quoted(prefix->Path() / "share/applications/quorin.desktop") + " 2>&1");
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, "");  // hints and warnings count too
}

TEST_F(InstalledGame, TheInstalledBinaryAnswersVersionAndHelp) {
  EXPECT_EQ(Capture(Quoted(Bin()) + " --version"), "Quorin " QUORIN_VERSION_TEXT "\n");
  EXPECT_EQ(Capture(Quoted(Bin()) + " --help").rfind("Usage: quorin", 0), 0u);
}

TEST_F(InstalledGame, RunsFromThePrefixUnderXvfbAndEndsOnEscape) {
  if (!HaveTool("Xvfb") || !HaveTool("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing (./check installs them)";
  testing::TempDir work;  // the working directory: engine.ini and Quorin.cfg
  testing::XServer xserver({"1280x1024x24"});
  ASSERT_FALSE(xserver.display.empty()) << "Xvfb did not start";
  const std::string display = xserver.display;
  auto x = [&](const std::string& command) { return Trimmed(xserver.Run(command)); };
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
  ASSERT_FALSE(id.empty()) << "the installed game opened no window";
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(fs::exists(work.Path() / "Quorin.cfg")) << "an orderly exit writes the user file";
}

// Makes the package from the build tree once for the suite.
class DebianPackage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!HaveTool("dpkg-deb")) return;
    out = new testing::TempDir(false);
    const testing::CommandResult made =
        testing::RunCommand(std::string("cd ") + Quoted(out->Path()) + " && '" + QUORIN_CPACK + "' -G DEB --config '" +
                            QUORIN_BINARY_DIR + "/CPackConfig.cmake' 2>&1");
    packLog = made.out;
    packed = made.code == 0;
    for (const auto& entry : fs::directory_iterator(out->Path())) {
      if (entry.path().extension() == ".deb") deb = entry.path();
    }
  }
  static void TearDownTestSuite() {
    delete out;
    out = nullptr;
  }
  void SetUp() override {
    if (!HaveTool("dpkg-deb")) GTEST_SKIP() << "dpkg-deb missing";
    ASSERT_TRUE(packed) << packLog;
    ASSERT_FALSE(deb.empty()) << packLog;
  }

  static std::string Field(const char* name) { return Capture("dpkg-deb -f " + Quoted(deb) + " " + name); }

  static inline testing::TempDir* out = nullptr;
  static inline bool packed = false;
  static inline std::string packLog;
  static inline fs::path deb;
};

TEST_F(DebianPackage, HoldsTheInstalledFilesAndDeclaresTheLibrariesItLoads) {
  EXPECT_EQ(deb.filename().string().rfind("quorin_" QUORIN_VERSION_TEXT, 0), 0u) << deb;

  const std::string files = Capture("dpkg-deb -c " + Quoted(deb));
  for (const std::string& path :
       std::vector<std::string>{"./usr/bin/quorin", "./usr/share/applications/quorin.desktop",
                                "./usr/share/doc/quorin/README.md", "./usr/share/doc/quorin/copyright",
                                "./usr/share/doc/quorin/changelog.gz", "./usr/share/man/man6/quorin.6.gz"}) {
    EXPECT_NE(files.find(" " + path + "\n"), std::string::npos) << path << " missing from\n" << files;
  }
  for (const std::string& icon : IconPaths("./usr/")) {
    EXPECT_NE(files.find(" " + icon + "\n"), std::string::npos) << icon;
  }
  EXPECT_EQ(Trimmed(Field("Package")), "quorin");
  EXPECT_EQ(Trimmed(Field("Version")), QUORIN_VERSION_TEXT);
  EXPECT_EQ(Trimmed(Field("Section")), "games");
  const std::string depends = Field("Depends");
  for (const char* library : {"libsdl2-2.0-0", "libpng16-16", "libvorbisfile3", "libc6", "libstdc++6"}) {
    EXPECT_NE(depends.find(library), std::string::npos) << library << " not in Depends: " << depends;
  }
}

TEST_F(DebianPackage, CarriesTheGameWithoutItsSymbols) {
  if (!HaveTool("readelf")) GTEST_SKIP() << "readelf missing";
  testing::TempDir root(false);
  ASSERT_EQ(testing::RunCommand("dpkg-deb -x " + Quoted(deb) + " " + Quoted(root.Path())).code, 0);
  const std::string sections = Capture("readelf -S -W " + Quoted(root.Path() / "usr/bin/quorin") + " 2>&1");
  ASSERT_NE(sections.find(" .text "), std::string::npos) << sections;
  EXPECT_EQ(sections.find(" .symtab "), std::string::npos);
  EXPECT_EQ(sections.find(" .debug_"), std::string::npos);
}

TEST_F(DebianPackage, DescribesItselfInASummaryAndLinesThatFitEightyColumns) {
  const std::string description = Field("Description");
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < description.size();) {
    const std::size_t end = description.find('\n', start);
    lines.push_back(description.substr(start, end - start));
    start = end == std::string::npos ? description.size() : end + 1;
  }
  ASSERT_GE(lines.size(), 2u) << description;  // a summary and a longer text
  // dpkg prints "Description: " before the summary and indents the rest by one.
  EXPECT_LE(lines.front().size() + 13, 80u) << lines.front();
  for (std::size_t k = 1; k < lines.size(); ++k) {
    EXPECT_LE(lines[k].size(), 80u) << lines[k];
    EXPECT_EQ(lines[k].rfind(" ", 0), 0u) << lines[k];
  }
}

}  // namespace
}  // namespace quorin
