#include "runtime/list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/text.h"

namespace quorin {
namespace {

struct Item {
  int id;
  int pad[12];  // a 52-byte record, like a monster
};

struct Labelled {
  Text label;
  int id;
};

List<Item> Make(std::initializer_list<int> ids) {
  List<Item> list;
  for (int id : ids) ListInsert(list).id = id;
  return list;
}

std::vector<int> Ids(const List<Item>& list) {
  std::vector<int> out;
  list.ForEach([&](const Item& r) { out.push_back(r.id); });
  return out;
}

TEST(ListCursor, StepOnEmptyListYieldsNullAndNoCurrent) {
  List<Item> list;
  EXPECT_EQ(ListStep(list), nullptr);
  EXPECT_EQ(list.Current(), nullptr);
  ListRemoveCurrent(list);  // nothing to remove
  EXPECT_EQ(list.Count(), 0);
}

TEST(ListCursor, InsertAppendsAfterCursorAndStepParksOnLast) {
  List<Item> list = Make({1, 2, 3});
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3}));
  ListRewind(list);
  int visited = 0;
  while (ListStep(list)) ++visited;
  EXPECT_EQ(visited, 3);
  ASSERT_NE(list.Current(), nullptr);
  EXPECT_EQ(list.Current()->id, 3);
  EXPECT_EQ(ListStep(list), nullptr);  // still parked
  EXPECT_EQ(list.Current()->id, 3);
  ListInsert(list).id = 4;  // after a finished walk: the tail
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3, 4}));
}

TEST(ListCursor, InsertAfterRewindGoesToTheHead) {
  List<Item> list = Make({1, 2});
  ListRewind(list);
  ListInsert(list).id = 0;
  EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list.Current()->id, 0);
  EXPECT_EQ(ListStep(list)->id, 1);
}

TEST(ListCursor, NewRecordsAreZeroed) {
  List<Item> list;
  Item& a = ListInsert(list);
  for (int& p : a.pad) p = 77;
  ListRemoveCurrent(list);
  const Item& b = ListInsert(list);  // reuses the freed slot
  for (int p : b.pad) EXPECT_EQ(p, 0);
  EXPECT_EQ(b.id, 0);
}

TEST(ListWalk, RemovingEveryElementVisitsEachOnceAndEmpties) {
  List<Item> list = Make({1, 2, 3, 4, 5});
  std::vector<int> seen;
  ListRewind(list);
  while (Item* r = ListStep(list)) {
    seen.push_back(r->id);
    ListRemoveCurrent(list);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Current(), nullptr);
  ListInsert(list).id = 9;
  EXPECT_EQ(Ids(list), (std::vector<int>{9}));
}

TEST(ListWalk, RemovingFirstContinuesWithFormerSecond) {
  List<Item> list = Make({1, 2, 3});
  ListRewind(list);
  ListStep(list);
  ListRemoveCurrent(list);
  EXPECT_EQ(list.Current(), nullptr);
  EXPECT_EQ(ListStep(list)->id, 2);
}

TEST(ListWalk, RemovingLastEndsWalkAndNextInsertAppends) {
  List<Item> list = Make({1, 2, 3});
  ListRewind(list);
  while (Item* r = ListStep(list)) {
    if (r->id == 3) ListRemoveCurrent(list);
  }
  EXPECT_EQ(list.Current()->id, 2);
  EXPECT_EQ(ListStep(list), nullptr);
  ListInsert(list).id = 4;
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 4}));
}

TEST(ListWalk, MixedRemovalAndInsertionVisitsOriginalsOnce) {
  List<Item> list = Make({1, 2, 3, 4, 5, 6});
  std::vector<int> seen;
  ListRewind(list);
  while (Item* r = ListStep(list)) {
    const int id = r->id;
    seen.push_back(id);
    if (id % 2 == 0) ListRemoveCurrent(list);
    if (id % 3 == 0) ListInsert(list).id = id * 10;  // not visited in this pass
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 3, 30, 5, 60}));
  EXPECT_EQ(list.Count(), 5);
}

TEST(ListTexts, ClearAllReleasesTextsAndNewRecordsStartEmpty) {
  List<Labelled> list;
  for (int k = 0; k < 40; ++k) ListInsert(list).label = std::string(100, 'x');  // heap strings
  ListClearAll(list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Current(), nullptr);
  EXPECT_TRUE(ListInsert(list).label.empty());  // the sanitizer run proves nothing leaked
}

TEST(ListCopy, CopyIsIndependentAndKeepsCursorPosition) {
  List<Item> list = Make({1, 2, 3});
  ListRewind(list);
  ListStep(list);
  ListStep(list);  // on 2
  List<Item> copy = list;
  EXPECT_EQ(copy.Current()->id, 2);
  EXPECT_EQ(ListStep(copy)->id, 3);
  ListRemoveCurrent(copy);
  EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Ids(copy), (std::vector<int>{1, 2}));
  EXPECT_EQ(list.Current()->id, 2);
}

TEST(ElementPool, BlockCapacityGrowsBySixteenthInMultiplesOfSixteen) {
  EXPECT_EQ(ElementPool::NextBlockCapacity(0), 16u);
  EXPECT_EQ(ElementPool::NextBlockCapacity(255), 16u);
  EXPECT_EQ(ElementPool::NextBlockCapacity(512), 32u);
  EXPECT_EQ(ElementPool::NextBlockCapacity(1000), 48u);  // 62 rounds down to 48
  EXPECT_EQ(ElementPool::NextBlockCapacity(std::size_t{1} << 30), 65536u);
}

TEST(ElementPool, FreedSlotsAreReusedMostRecentFirst) {
  ElementPool pool(52, 4);
  void* a = pool.Take();
  void* b = pool.Take();
  void* c = pool.Take();
  pool.Give(a);
  pool.Give(c);
  EXPECT_EQ(pool.Take(), c);
  EXPECT_EQ(pool.Take(), a);
  EXPECT_EQ(pool.BlocksMade(), 1u);
  pool.Give(a);
  pool.Give(b);
  pool.Give(c);
  EXPECT_EQ(pool.BlockCount(), 0u);  // the empty block went back to the heap
  EXPECT_EQ(pool.SlotsHeld(), 0u);
}

TEST(ElementPool, SteadyChurnMakesNoNewBlocks) {
  List<Item> list;
  for (int k = 0; k < 100; ++k) ListInsert(list).id = k;
  const std::size_t made = list.Pool().BlocksMade();
  EXPECT_EQ(list.Pool().SlotsHeld(), 16u * 7);  // seven blocks of 16 hold 100
  for (int round = 0; round < 1000; ++round) {
    ListRewind(list);
    while (Item* r = ListStep(list)) {
      if ((r->id + round) % 3 == 0) ListRemoveCurrent(list);
    }
    while (list.Count() < 100) ListInsert(list).id = round;
  }
  EXPECT_EQ(list.Pool().BlocksMade(), made);
}

TEST(ElementPool, FullBlockBecomesAvailableWhenASlotIsFreed) {
  ElementPool pool(8, 8);
  std::vector<void*> slots;
  for (int k = 0; k < 16; ++k) slots.push_back(pool.Take());
  EXPECT_EQ(pool.BlockCount(), 1u);
  pool.Give(slots[5]);
  EXPECT_EQ(pool.Take(), slots[5]);  // no second block needed
  EXPECT_EQ(pool.BlockCount(), 1u);
  pool.Take();  // now a second block
  EXPECT_EQ(pool.BlockCount(), 2u);
  EXPECT_EQ(pool.SlotsHeld(), 32u);
}

}  // namespace
}  // namespace quorin
