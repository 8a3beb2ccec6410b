#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace quorin {
namespace {

struct Outcome {
  std::optional<int> exit;
  LaunchOptions launch;
  std::string out;
  std::string err;
};

Outcome Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "quorin");
  std::ostringstream out, err;
  Outcome o;
  o.exit = HandleCommandLine(args, "9.8.7", out, err, o.launch);
  o.out = out.str();
  o.err = err.str();
  return o;
}

TEST(CommandLine, NoOptionsPlaysTheGameAndPrintsNothing) {
  const Outcome o = Parse({});
  EXPECT_FALSE(o.exit.has_value());
  EXPECT_TRUE(o.out.empty());
  EXPECT_TRUE(o.err.empty());
}

TEST(CommandLine, HelpInEitherSpellingPrintsTheUsageAndEndsWell) {
  for (const char* help : {"--help", "-h"}) {
    const Outcome o = Parse({help});
    EXPECT_EQ(o.exit, 0) << help;
    EXPECT_EQ(o.out.rfind("Usage: quorin", 0), 0u) << help;
    EXPECT_NE(o.out.find("F12"), std::string::npos);
    EXPECT_NE(o.out.find("engine.ini"), std::string::npos);
    for (const char* option : {"--world FILE.png", "--record FILE", "--replay FILE"}) {
      EXPECT_NE(o.out.find(option), std::string::npos) << option;
    }
    EXPECT_TRUE(o.err.empty());
  }
}

TEST(CommandLine, VersionInEitherSpellingPrintsNameAndVersion) {
  for (const char* version : {"--version", "-V"}) {
    const Outcome o = Parse({version});
    EXPECT_EQ(o.exit, 0);
    EXPECT_EQ(o.out, "Quorin 9.8.7\n");
  }
}

TEST(CommandLine, AnUnknownOptionIsAUsageErrorOnTheErrorStream) {
  const Outcome o = Parse({"--fullscreen"});
  EXPECT_EQ(o.exit, 2);
  EXPECT_TRUE(o.out.empty());
  EXPECT_NE(o.err.find("'--fullscreen'"), std::string::npos);
}

TEST(CommandLine, TheFirstOptionDecides) {
  EXPECT_EQ(Parse({"--version", "--bogus"}).out, "Quorin 9.8.7\n");
  EXPECT_EQ(Parse({"--bogus", "--help"}).exit, 2);
}

TEST(CommandLine, WorldRecordAndReplayTakeAFileEachAndPlay) {
  Outcome o = Parse({"--world", "cave.png", "--record", "run.txt"});
  EXPECT_FALSE(o.exit.has_value()) << o.err;
  EXPECT_EQ(o.launch.world, "cave.png");
  EXPECT_EQ(o.launch.record, "run.txt");
  EXPECT_EQ(o.launch.replay, "");
  o = Parse({"--replay", "--odd name.txt", "--world", "w.png"});
  EXPECT_FALSE(o.exit.has_value()) << o.err;
  EXPECT_EQ(o.launch.replay, "--odd name.txt");
  EXPECT_EQ(o.launch.world, "w.png");
}

TEST(CommandLine, AFileOptionWithoutItsFileOrRecordWithReplayIsAUsageError) {
  Outcome o = Parse({"--world"});
  EXPECT_EQ(o.exit, 2);
  EXPECT_NE(o.err.find("'--world' needs a file"), std::string::npos) << o.err;
  EXPECT_EQ(Parse({"--record", ""}).exit, 2);
  o = Parse({"--record", "a.txt", "--replay", "b.txt"});
  EXPECT_EQ(o.exit, 2);
  EXPECT_NE(o.err.find("do not go together"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace quorin
