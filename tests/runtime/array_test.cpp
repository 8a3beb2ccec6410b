#include "runtime/array.h"

#include <gtest/gtest.h>

#include "runtime/text.h"

namespace quorin {
namespace {

struct Entry {
  int used;
  Text key;
};

TEST(Array, MultiExtentsGiveStridesAndZeroedElements) {
  Array<int> field;
  ASSERT_NE(ArrayCreateMulti(field, {1024, 1024}), nullptr);
  EXPECT_EQ(field.Stride(0), 1024);
  EXPECT_EQ(field.Stride(1), 1);
  EXPECT_EQ(field.Size(), 1048576u);
  for (std::size_t k = 0; k < field.Size(); k += 4099) EXPECT_EQ(field[k], 0);
  field.At(3, 5) = 7;
  EXPECT_EQ(field[3 * 1024 + 5], 7);

  Array<float> table;
  ArrayCreateMulti(table, {2, 3, 4});
  EXPECT_EQ(table.Stride(0), 12);
  EXPECT_EQ(table.Stride(1), 4);
  EXPECT_EQ(table.Stride(2), 1);
}

TEST(Array, RecreatingReleasesOldContentsAndZeroes) {
  Array<int> map;
  ArrayCreateMulti(map, {2, 2});
  map.At(1, 1) = 5;
  ArrayCreateMulti(map, {3, 7});
  EXPECT_EQ(map.Size(), 21u);
  EXPECT_EQ(map.Stride(0), 7);
  for (std::size_t k = 0; k < map.Size(); ++k) EXPECT_EQ(map[k], 0);

  Array<Entry> entries;
  ArrayCreate(entries, 33);
  entries[4].key = std::string(200, 'k');
  ArrayCreate(entries, 33);
  EXPECT_TRUE(entries[4].key.empty());
}

TEST(Array, BadExtentsLeaveTheArrayEmpty) {
  Array<int> a;
  ArrayCreate(a, 10);
  EXPECT_EQ(ArrayCreate(a, -1), nullptr);
  EXPECT_EQ(a.Size(), 0u);
  EXPECT_EQ(a.Data(), nullptr);
  EXPECT_EQ(ArrayCreateMulti(a, {1 << 30, 1 << 30}), nullptr);
  EXPECT_EQ(a.Size(), 0u);
}

TEST(Array, ZeroSizeCreationSucceedsWithAnAddress) {
  Array<int> a;
  EXPECT_EQ(a.Data(), nullptr);  // before creation
  int* first = ArrayCreate(a, 0);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(a.Data(), first);
  EXPECT_EQ(a.Size(), 0u);
  const Array<int> copy = a;
  EXPECT_NE(copy.Data(), nullptr);
  EXPECT_EQ(copy.Size(), 0u);
  EXPECT_EQ(ArrayCreate(a, -1), nullptr);  // refused, unlike zero
  EXPECT_EQ(a.Data(), nullptr);
}

TEST(Array, LargeExtentsAreRefusedBeforeTheProductOverflows) {
  Array<int> a;
  // 2^20 * 2^20 * 2^24 wraps a 64-bit product to exactly 0.
  EXPECT_EQ(ArrayCreateMulti(a, {1 << 20, 1 << 20, 1 << 24}), nullptr);
  EXPECT_EQ(a.Size(), 0u);
  EXPECT_EQ(a.Dimensions(), 0);
  EXPECT_EQ(ArrayCreateMulti(a, {1 << 30, 1 << 30, 1 << 30, 1 << 30}), nullptr);
  EXPECT_EQ(a.Dimensions(), 0);
  // The largest accepted product of extents is 2^40; no storage is needed
  // when another extent is 0.
  EXPECT_NE(ArrayCreateMulti(a, {0, 1 << 20, 1 << 20}), nullptr);
  EXPECT_EQ(ArrayCreateMulti(a, {0, 1 << 20, (1 << 20) + 1}), nullptr);
}

TEST(Array, StridesBeyondThirtyTwoBitsAreKept) {
  Array<int> a;
  ASSERT_NE(ArrayCreateMulti(a, {0, 1 << 30, 4}), nullptr);
  EXPECT_EQ(a.Size(), 0u);
  EXPECT_EQ(a.Stride(0), std::int64_t{1} << 32);
  EXPECT_EQ(a.Stride(1), 4);
  EXPECT_EQ(a.Stride(2), 1);
  ASSERT_NE(ArrayCreateMulti(a, {5, 0, 3}), nullptr);
  EXPECT_EQ(a.Stride(0), 0);  // product of the later extents, one of them 0
  EXPECT_EQ(a.Stride(1), 3);
}

}  // namespace
}  // namespace quorin

namespace quorin {
namespace {

TEST(Array, TablesOfLargeBlockSizeAreZeroedCopiedAndReleasedLikeAnyOther) {
  constexpr int kJustLarge = static_cast<int>(kLargeBlockBytes / sizeof(std::int32_t));
  for (const int count : {kJustLarge - 1, kJustLarge, 1024 * 1024}) {
    Array<std::int32_t> table;
    ASSERT_NE(ArrayCreate(table, count), nullptr) << count;
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[static_cast<std::size_t>(count) - 1], 0);
    table[0] = 7;
    table[static_cast<std::size_t>(count) - 1] = -9;
    const Array<std::int32_t> copy = table;
    EXPECT_EQ(copy[0], 7);
    EXPECT_EQ(copy[static_cast<std::size_t>(count) - 1], -9);
    table[0] = 1;
    EXPECT_EQ(copy[0], 7) << "a copy has storage of its own";
#if defined(__linux__)
    // From the large size on, the storage starts on a large-page boundary.
    const auto address = reinterpret_cast<std::uintptr_t>(table.Data());
    if (count >= kJustLarge) {
      EXPECT_EQ(address % kLargeBlockBytes, 0u) << count;
    }
#endif
    ASSERT_NE(ArrayCreate(table, 3), nullptr);
    EXPECT_EQ(table[0], 0) << "re-created small, zeroed";
  }
}

}  // namespace
}  // namespace quorin
