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

}  // namespace
}  // namespace quorin
