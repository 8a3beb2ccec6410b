// Compares a picture with one stored under tests/data, pixel for pixel.
//
// A missing stored picture is written and the check fails, so that someone
// looks at it before committing it. After an intended change, run the tests
// once with QUORIN_UPDATE_PICTURES=1 to rewrite the stored pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/png_codec.h"
#include "runtime/surface.h"

namespace quorin::testing {

inline std::string StoredPicturePath(const std::string& name) {
  return std::string(QUORIN_SOURCE_DIR) + "/tests/data/" + name;
}

inline bool LoadPicture(const std::string& path, Surface& out) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  DecodedImage decoded;
  if (!DecodePng(bytes, decoded)) return false;
  out = decoded.pixels;
  return true;
}

inline void ExpectMatchesStoredPicture(const Surface& picture, const std::string& name) {
  const std::string path = StoredPicturePath(name);
  const char* update = std::getenv("QUORIN_UPDATE_PICTURES");
  const bool rewrite = update && *update && std::string(update) != "0";
  if (rewrite || !std::filesystem::exists(path)) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(SavePng(picture, path));
    if (rewrite) GTEST_SKIP() << "rewrote " << path;
    FAIL() << "no stored picture: wrote " << path << "; look at it, then commit it";
  }
  Surface expected;
  ASSERT_TRUE(LoadPicture(path, expected)) << path;
  ASSERT_EQ(expected.width, picture.width) << name;
  ASSERT_EQ(expected.height, picture.height) << name;
  int differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if ((expected.Row(y)[x] & kPixelRgbMask) != (picture.Row(y)[x] & kPixelRgbMask) && differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  EXPECT_EQ(differing, 0) << name << ": first difference at (" << firstX << ", " << firstY << ")";
}

}  // namespace quorin::testing
