#include "runtime/window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/null/null_video.h"

namespace quorin {
namespace {

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    device.printMessages = false;
    WindowSystemInit(layer, device);
  }
  NullVideo device;
  WindowLayer layer;
};

TEST_F(Windows, GameWindowHasTheExactClientAreaCentredOnThePrimaryDisplay) {
  const NativeWindow window = WindowOpen(layer, 0, 0, 0, 768, 576, "Quorin", kGameWindowFlags);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(WindowNativeHandle(layer, 0), window);
  const NullVideo::Window* w = device.WindowOf(window);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->wanted.clientWidth, 768);
  EXPECT_EQ(w->wanted.clientHeight, 576);
  EXPECT_TRUE(w->wanted.centred);
  EXPECT_TRUE(w->wanted.titleBar);
  EXPECT_FALSE(w->wanted.resizable);
  EXPECT_EQ(w->x, (1920 - 768) / 2);
  EXPECT_EQ(w->y, (1080 - 576) / 2);
  EXPECT_EQ(w->wanted.title, "Quorin");
}

TEST_F(Windows, OpeningAnIdentifierAgainReplacesItsWindow) {
  const NativeWindow first = WindowOpen(layer, 0, 10, 20, 100, 100, "a", 0);
  const NativeWindow second = WindowOpen(layer, 0, 10, 20, 200, 100, "b", 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(device.WindowOf(first), nullptr);
  EXPECT_EQ(device.WindowCount(), 1u);
  EXPECT_EQ(device.WindowOf(second)->x, 10);
  WindowOpen(layer, 3, 0, 0, 50, 50, "", kWindowHidden);
  EXPECT_TRUE(device.WindowOf(WindowNativeHandle(layer, 3))->wanted.hidden);
  WindowClose(layer, 0);
  EXPECT_EQ(WindowNativeHandle(layer, 0), 0u);
  WindowClose(layer, 0);  // nothing left to close
  WindowCloseAll(layer);
  EXPECT_EQ(device.WindowCount(), 0u);
  EXPECT_EQ(WindowOpen(layer, 1, 0, 0, 0, 10, "", 0), 0u);
}

TEST_F(Windows, PollNeverWaitsAndACloseRequestLeavesTheWindowOpen) {
  const NativeWindow window = WindowOpen(layer, 0, 0, 0, 64, 64, "Quorin", kGameWindowFlags);
  EXPECT_EQ(WindowPollEvent(layer), 0);
  EXPECT_EQ(WindowPollEvent(layer), 0);
  device.InjectClose(window);
  EXPECT_EQ(WindowPollEvent(layer), kWindowEventClose);
  EXPECT_EQ(WindowPollEvent(layer), 0);
  EXPECT_NE(device.WindowOf(window), nullptr);
  // A request for a window that closes first is dropped with it.
  device.InjectClose(window);
  WindowClose(layer, 0);
  EXPECT_EQ(WindowPollEvent(layer), 0);
}

TEST_F(Windows, MessagesAreRecordedAndAnswered) {
  EXPECT_EQ(MessageShowPlain(layer, "Error", "Can't initialize display."), 1);
  ASSERT_EQ(device.Messages().size(), 1u);
  EXPECT_EQ(device.Messages()[0].title, "Error");
  EXPECT_EQ(device.Messages()[0].text, "Can't initialize display.");
  device.messageAnswer = 7;
  EXPECT_EQ(MessageShow(layer, "t", "x", 4), 7);
  EXPECT_EQ(device.Messages()[1].flags, 4);
}

TEST(DirectoryCreate, TrailingBlanksAndSlashesAreRemoved) {
  const std::filesystem::path base = std::filesystem::path(::testing::TempDir()) / "quorin_dir_test";
  // Windows refuses to remove the longest folder below: tidying up never fails the test.
  std::error_code tidy;
  std::filesystem::remove_all(base, tidy);
  std::filesystem::create_directory(base);
  const std::string root = base.string();

  EXPECT_EQ(DirectoryCreate((root + "/Brightvault\\  ").c_str()), 1);
  EXPECT_TRUE(std::filesystem::is_directory(base / "Brightvault"));
  EXPECT_FALSE(std::filesystem::exists(base / "Brightvault\\  "));
  EXPECT_EQ(DirectoryCreate((root + "/Brightvault").c_str()), 0);  // exists already
  EXPECT_EQ(DirectoryCreate((root + "/a/b").c_str()), 0);          // one level only
  EXPECT_EQ(DirectoryCreate((root + "\\Slashes/ /\\").c_str()), 1);
  EXPECT_TRUE(std::filesystem::is_directory(base / "Slashes"));
  EXPECT_EQ(DirectoryCreate(nullptr), 0);
  EXPECT_EQ(DirectoryCreate(" //"), 0);

  // Only the first 260 characters count.
  std::string longName = root + "/";
  longName += std::string(kMaxPathLength - longName.size(), 'x');
  const std::string created = longName;
  longName += "IGNORED";
  EXPECT_EQ(DirectoryCreate(longName.c_str()), 1);
  EXPECT_TRUE(std::filesystem::is_directory(created));
  std::filesystem::remove_all(base, tidy);
}

std::intptr_t Twice(std::intptr_t v) {
  return v * 2;
}

TEST(CallFunctionPointer, PassesTheArgumentAndReturnsTheResult) {
  EXPECT_EQ(CallFunctionPointer(Twice, 21), 42);
  EXPECT_EQ(CallFunctionPointer(nullptr, 21), 0);
}

}  // namespace
}  // namespace quorin
