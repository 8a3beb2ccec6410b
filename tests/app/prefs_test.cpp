#include "app/prefs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include <sys/stat.h>

#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged.h"

namespace quorin {
namespace {

namespace fs = std::filesystem;
using Kind = PrefsEntry::Kind;
using testing::ReadFile;
using testing::RunUnprivileged;
using testing::TempDir;
using testing::WriteFile;

TEST(PrefsFormat, LineForms) {
  bool utf8 = true;
  const auto e = PrefsParse(
      "  \t; a comment  \n;no space\n[Group] trailing\n[open\nKey  =\t value  \nbare\n  spaced key\t= v=w\n", &utf8);
  EXPECT_FALSE(utf8);
  ASSERT_EQ(e.size(), 7u);
  EXPECT_EQ(e[0].kind, Kind::Comment);
  EXPECT_EQ(e[0].key, "a comment  ");
  EXPECT_EQ(e[1].key, "no space");
  EXPECT_EQ(e[2].kind, Kind::Group);
  EXPECT_EQ(e[2].key, "Group");
  EXPECT_EQ(e[3].key, "open");
  EXPECT_EQ(e[4].kind, Kind::Key);
  EXPECT_EQ(e[4].key, "Key");
  EXPECT_EQ(e[4].value, "value  ");  // trailing blanks stay in the entry
  EXPECT_EQ(e[5].key, "bare");
  EXPECT_EQ(e[5].value, "");
  EXPECT_EQ(e[6].key, "spaced key");
  EXPECT_EQ(e[6].value, "v=w");
}

TEST(PrefsFormat, LineEndingsBlankLinesAndByteOrderMarkReadAlike) {
  bool utf8 = false;
  const auto lf = PrefsParse("a=1\nb=2\n\n\nc=3", &utf8);
  const auto cr = PrefsParse("a=1\rb=2\r\r\rc=3\r", &utf8);
  const auto crlf = PrefsParse("\xEF\xBB\xBF" "a=1\r\nb=2\r\n\r\nc=3\r\n", &utf8);
  EXPECT_TRUE(utf8);
  ASSERT_EQ(lf.size(), 3u);
  ASSERT_EQ(cr.size(), 3u);
  ASSERT_EQ(crlf.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(lf[k].key, cr[k].key);
    EXPECT_EQ(lf[k].value, crlf[k].value);
  }
  EXPECT_EQ(PrefsParse("\xEF\xBB", &utf8).size(), 1u);  // too short for a mark: a key
  EXPECT_FALSE(utf8);
  EXPECT_EQ(PrefsParse("a=1\0b=2", &utf8).size(), 1u);
}

TEST(PrefsFormat, FormatWritesKeySpacedEqualsValueWithCrLf) {
  std::vector<PrefsEntry> entries = {
      {Kind::Comment, "note", ""}, {Kind::Key, "A", "1"}, {Kind::Group, "G", ""}, {Kind::Key, "B", ""}};
  EXPECT_EQ(PrefsFormat(entries, false), "; note\r\nA = 1\r\n[G]\r\nB = \r\n");
  EXPECT_EQ(PrefsFormat({}, true), "\xEF\xBB\xBF\r\n");
}

TEST(PrefsRead, NumbersTakeOnlyTheLeadingDecimal) {
  EXPECT_EQ(PrefsLeadingInt("  -12abc"), -12);
  EXPECT_EQ(PrefsLeadingInt("0x10"), 0);
  EXPECT_EQ(PrefsLeadingInt("010"), 10);  // no octal
  EXPECT_EQ(PrefsLeadingInt(""), 0);
  EXPECT_EQ(PrefsLeadingInt("+7"), 7);
  EXPECT_EQ(PrefsLeadingInt("99999999999"), 2147483647);
  EXPECT_FLOAT_EQ(PrefsLeadingFloat("2.5"), 2.5f);
  EXPECT_FLOAT_EQ(PrefsLeadingFloat(" -.5e1x"), -5.0f);
  EXPECT_FLOAT_EQ(PrefsLeadingFloat("1e"), 1.0f);
  EXPECT_FLOAT_EQ(PrefsLeadingFloat("3."), 3.0f);
  EXPECT_FLOAT_EQ(PrefsLeadingFloat("+1E2"), 100.0f);
  for (const char* zero : {"abc", "inf", "nan", "-infinity", "0x1p3", ".", "-", "e5"}) {
    EXPECT_EQ(PrefsLeadingFloat(zero), 0.0f) << zero;
  }
  EXPECT_EQ(PrefsLeadingFloat("0x1p3"), 0.0f);
}

TEST(PrefsRead, FloatsBeyondEitherRangeReadAsTheNearestFloat) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  EXPECT_EQ(PrefsLeadingFloat("1e39"), kInfinity);   // beyond float only
  EXPECT_EQ(PrefsLeadingFloat("1e400"), kInfinity);  // beyond double too
  EXPECT_EQ(PrefsLeadingFloat("-1e400"), -kInfinity);
  EXPECT_EQ(PrefsLeadingFloat("1" + std::string(400, '0') + "e-10"), kInfinity);
  EXPECT_EQ(PrefsLeadingFloat("1" + std::string(400, '0')), kInfinity);
  EXPECT_EQ(PrefsLeadingFloat("1e99999999999999999999"), kInfinity);
  // Too small for either: zero, keeping the sign.
  EXPECT_EQ(PrefsLeadingFloat("1e-400"), 0.0f);
  EXPECT_EQ(PrefsLeadingFloat("0." + std::string(400, '0') + "1e10"), 0.0f);
  EXPECT_TRUE(std::signbit(PrefsLeadingFloat("-1e-400")));
  EXPECT_FLOAT_EQ(PrefsLeadingFloat("0." + std::string(400, '0') + "1e400"), 0.1f);  // in range
}

TEST(PrefsRead, LookupIgnoresCaseTakesFirstAndStopsAtGroup) {
  TempDir dir;
  WriteFile("p.ini", "Key1 = 16\nkey1 = 30\nName =  padded\t \n[Section]\nHidden = 5\n");
  PrefsStore store;
  ASSERT_NE(PrefsOpen(store, "p.ini"), 0);
  EXPECT_EQ(PrefsReadInt(store, "KEY1", 0), 16);
  EXPECT_EQ(PrefsReadText(store, "name", "x"), "padded");
  EXPECT_EQ(PrefsReadInt(store, "Hidden", 1), 1);
  EXPECT_EQ(PrefsReadText(store, "Absent", "fallback"), "fallback");
  EXPECT_EQ(PrefsReadFloat(store, "Absent", 0.8f), 0.8f);
  PrefsClose(store);
  EXPECT_EQ(store.mode, PrefsStore::Mode::Closed);
}

TEST(PrefsWrite, RewriteKeepsOtherEntriesAndTakesTheNewKeyCase) {
  TempDir dir;
  WriteFile("u.cfg", "; kept\nwindowed=1\nOther  =  x  \n\n[G]\nInside=1\n");
  PrefsStore store;
  ASSERT_NE(PrefsOpen(store, "u.cfg"), 0);
  PrefsWriteText(store, "Windowed", "0");
  PrefsWriteText(store, "Added", "7");  // lands before the group, where it can be read
  ASSERT_TRUE(PrefsClose(store));
  EXPECT_EQ(ReadFile("u.cfg"), "; kept\r\nWindowed = 0\r\nOther = x  \r\nAdded = 7\r\n[G]\r\nInside = 1\r\n");
  ASSERT_NE(PrefsOpen(store, "u.cfg"), 0);
  EXPECT_EQ(PrefsReadInt(store, "added", 0), 7);
  PrefsClose(store);
}

TEST(PrefsWrite, Utf8FileKeepsItsMarkAndConvertsText) {
  TempDir dir;
  WriteFile("u.cfg", "\xEF\xBB\xBFName = Ren\xC3\xA9\n");
  PrefsStore store;
  ASSERT_NE(PrefsOpen(store, "u.cfg"), 0);
  EXPECT_EQ(PrefsReadText(store, "name", ""), "Ren\xE9");
  PrefsWriteText(store, "Caf\xE9", "\xE9t\xE9");
  ASSERT_TRUE(PrefsClose(store));
  EXPECT_EQ(ReadFile("u.cfg"), "\xEF\xBB\xBF\r\nName = Ren\xC3\xA9\r\nCaf\xC3\xA9 = \xC3\xA9t\xC3\xA9\r\n");
}

TEST(PrefsWrite, UnmodifiedStoreIsNotRewritten) {
  TempDir dir;
  WriteFile("u.cfg", "a=1\n");
  PrefsStore store;
  PrefsOpen(store, "u.cfg");
  PrefsReadInt(store, "a", 0);
  PrefsClose(store);
  EXPECT_EQ(ReadFile("u.cfg"), "a=1\n");
}

TEST(PrefsWrite, MissingFileGivesDefaultsAndIsCreatedOnClose) {
  TempDir dir;
  PrefsStore store;
  EXPECT_EQ(PrefsOpen(store, "new.cfg"), 0);
  EXPECT_EQ(PrefsReadInt(store, "a", 9), 9);
  PrefsWriteText(store, "a", "1");
  EXPECT_TRUE(PrefsClose(store));
  EXPECT_EQ(ReadFile("new.cfg"), "a = 1\r\n");

  EXPECT_EQ(PrefsOpen(store, "missing/dir.cfg"), 0);
  PrefsWriteText(store, "a", "1");
  EXPECT_FALSE(PrefsClose(store));
  EXPECT_FALSE(fs::exists("missing"));
}

TEST(PrefsCreate, EmptiesTheFileAndIgnoresWritesWhenItCannot) {
  TempDir dir;
  WriteFile("u.cfg", "old=1\nmore=2\n");
  PrefsStore store;
  ASSERT_NE(PrefsCreate(store, "u.cfg"), 0);
  EXPECT_EQ(ReadFile("u.cfg"), "old=1\nmore=2\n");  // untouched until the close
  EXPECT_EQ(PrefsReadInt(store, "old", 5), 5);
  PrefsWriteText(store, "new", "2");
  ASSERT_TRUE(PrefsClose(store));
  EXPECT_EQ(ReadFile("u.cfg"), "new = 2\r\n");

  ASSERT_NE(PrefsCreate(store, "u.cfg"), 0);
  PrefsClose(store);
  EXPECT_EQ(ReadFile("u.cfg"), "");

  EXPECT_EQ(PrefsCreate(store, "missing/u.cfg"), 0);
  PrefsWriteText(store, "a", "1");
  PrefsClose(store);
  EXPECT_FALSE(fs::exists("missing"));
}

TEST(PrefsWrite, FailedRewriteLeavesTheOldFileIntact) {
  TempDir dir;
  WriteFile("u.cfg", "HiScore = 9999\r\n");
  fs::create_directory("u.cfg.new");  // stands in for a full disk: the new copy cannot be written
  PrefsStore store;
  ASSERT_NE(PrefsCreate(store, "u.cfg"), 0);
  PrefsWriteText(store, "HiScore", "0");
  EXPECT_FALSE(PrefsClose(store));
  EXPECT_EQ(ReadFile("u.cfg"), "HiScore = 9999\r\n");
}

TEST(PrefsReadOnly, ReadOnlyFileIsReadButNeverWritten) {
  TempDir dir(false);
  fs::permissions(dir.Path(), fs::perms::all);
  const std::string path = dir.File("u.cfg");
  WriteFile(path, "a=1\n");
  ::chmod(path.c_str(), 0444);
  const int result = RunUnprivileged([&] {
    PrefsStore store;
    if (PrefsOpen(store, path) == 0) return 1;
    if (store.mode != PrefsStore::Mode::ReadOnly) return 2;
    if (PrefsReadInt(store, "a", 0) != 1) return 3;
    PrefsWriteText(store, "a", "2");
    PrefsClose(store);
    if (PrefsCreate(store, path) != 0) return 4;  // cannot be created either
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFile(path), "a=1\n");
}

}  // namespace
}  // namespace quorin
