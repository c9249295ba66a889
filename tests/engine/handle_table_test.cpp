// Handles stay unique to their object: a freed slot's next object gets a different handle.
#include "core/handle_table.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(HandleTableTest, RemovedAndClearedHandlesNeverNameAnotherObject) {
  engine::HandleTable<int> table;
  const int32_t first = table.Add(1);
  ASSERT_GT(first, 0);
  ASSERT_TRUE(table.Remove(first));
  EXPECT_FALSE(table.Remove(first));

  // Churn one slot through many objects: every handle differs from all before it.
  std::set<int32_t> seen{first};
  for (int i = 0; i < 5000; ++i) {
    const int32_t handle = table.Add(i);
    ASSERT_GT(handle, 0);
    EXPECT_TRUE(seen.insert(handle).second) << i;
    EXPECT_EQ(table.Find(first), nullptr);
    table.Remove(handle);
  }

  const int32_t kept = table.Add(7);
  table.Clear();
  EXPECT_EQ(table.Find(kept), nullptr);
  EXPECT_EQ(table.Size(), 0u);
  const int32_t after = table.Add(8);
  EXPECT_NE(after, kept);
  EXPECT_EQ(*table.Find(after), 8);
}

TEST(HandleTableTest, ForgedHandlesFindNothing) {
  engine::HandleTable<int> table;
  const int32_t handle = table.Add(1);
  for (const int32_t forged : {0, -1, handle + 1, handle ^ (1 << 20), INT32_MAX, INT32_MIN}) {
    EXPECT_EQ(table.Find(forged), nullptr) << forged;
  }
}

TEST(HandleTableTest, AFullTableRefusesMore) {
  engine::HandleTable<char> table;
  for (uint32_t i = 0; i < engine::HandleTable<char>::kMaxSlots; ++i) {
    ASSERT_NE(table.Add('x'), 0);
  }
  EXPECT_EQ(table.Add('x'), 0);
}

}  // namespace
