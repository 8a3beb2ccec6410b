#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace quorin {
namespace {

struct Outcome {
  std::optional<int> exit;
  std::string out;
  std::string err;
};

Outcome Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "quorin");
  std::ostringstream out, err;
  Outcome o;
  o.exit = HandleCommandLine(args, "9.8.7", out, err);
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

}  // namespace
}  // namespace quorin
