#include <gtest/gtest.h>

#include "core/task.h"
#include "recording_shell.h"

namespace vexa {
namespace {

Task<int> Add(testing::Gate& gate, int a, int b) {
  co_await gate.Wait();
  co_return a + b;
}

Task<> Sum(testing::Gate& gate, int& out) {
  out = co_await Add(gate, 1, 2) + co_await Add(gate, 3, 4);
}

TEST(Task, SuspendsUntilResumedAndPassesResultsUp) {
  testing::Gate gate;
  int out = 0;
  TaskGroup group;
  group.Start(Sum(gate, out));
  EXPECT_EQ(group.Pending(), 1u);
  gate.Open();
  EXPECT_EQ(out, 0);
  gate.Open();
  EXPECT_EQ(out, 10);
  EXPECT_EQ(group.Pending(), 0u);
}

struct Flag {
  bool* destroyed;
  ~Flag() { *destroyed = true; }
};

Task<> HoldsFlag(testing::Gate& gate, bool* destroyed) {
  Flag flag{destroyed};
  co_await gate.Wait();
}

TEST(Task, AGroupDestroysTheTasksStillWaiting) {
  testing::Gate gate;
  bool destroyed = false;
  {
    TaskGroup group;
    group.Start(HoldsFlag(gate, &destroyed));
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

Task<> AwaitsEmpty() {
  Task<> empty;
  co_await empty;
}

TEST(TaskDeathTest, AwaitingAnEmptyTaskStopsWithAMessage) {
  EXPECT_DEATH(AwaitsEmpty().Resume(), "empty Task was awaited");
}

}  // namespace
}  // namespace vexa
