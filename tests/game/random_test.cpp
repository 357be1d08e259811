#include <gtest/gtest.h>

#include <memory>

#include "game/world_state.h"

namespace {

// The generator's rule written out on its own: state' = state * 134775813 + 1
// (mod 2^32), result = high half of state' * n.
uint32_t NextState(uint32_t s) { return s * 134775813u + 1u; }

TEST(RandomSource, FollowsTheLinearCongruentialRuleFromStateZero) {
  auto w = std::make_unique<WorldState>();
  EXPECT_EQ(w->RandSeed, 0u);
  // First states: 1, 134775814, ... ; Random(640) of state 1 is 0.
  EXPECT_EQ(w->Random(640), 0);
  EXPECT_EQ(w->RandSeed, 1u);
  EXPECT_EQ(w->Random(480), static_cast<int32_t>((uint64_t{134775814u} * 480u) >> 32));
  EXPECT_EQ(w->RandSeed, 134775814u);
  uint32_t s = w->RandSeed;
  for (int i = 0; i < 1000; ++i) {
    s = NextState(s);
    const int32_t n = 1 + i % 700;
    ASSERT_EQ(w->Random(n), static_cast<int32_t>((uint64_t{s} * static_cast<uint32_t>(n)) >> 32));
  }
}

TEST(RandomSource, ResultsStayInRangeAndResetRepeatsTheSequence) {
  auto w = std::make_unique<WorldState>();
  int32_t first[50];
  for (int i = 0; i < 50; ++i) {
    first[i] = w->Random(36);
    EXPECT_GE(first[i], 0);
    EXPECT_LT(first[i], 36);
  }
  // The G key's reset: the same sequence again.
  w->RandSeed = 0;
  for (int i = 0; i < 50; ++i) EXPECT_EQ(w->Random(36), first[i]);
  // Random(1) is always 0; the state still advances.
  const uint32_t before = w->RandSeed;
  EXPECT_EQ(w->Random(1), 0);
  EXPECT_EQ(w->RandSeed, NextState(before));
}

TEST(RandomSource, WrapsModulo2To32) {
  auto w = std::make_unique<WorldState>();
  w->RandSeed = 0xFFFFFFFFu;
  w->Random(10);
  EXPECT_EQ(w->RandSeed, static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
}

TEST(WorldStateTest, FreshInstanceHasTheDocumentedStartValues) {
  auto w = std::make_unique<WorldState>();
  EXPECT_EQ(w->MaxMeteors, 20);
  EXPECT_EQ(w->Volume, 50);
  EXPECT_EQ(w->Autopilot, 1);
  EXPECT_EQ(w->AutoResume, 1);
  EXPECT_EQ(w->JoystickOn, 0);
  EXPECT_EQ(w->GameTimeLong, 0);
  EXPECT_EQ(w->FrameDelay, 25);
  const uint8_t flames[8] = {255, 199, 190, 184, 178, 177, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(w->FlameColors[i], flames[i]);
  for (int i = 0; i < kHiScoreEntries; ++i) EXPECT_EQ(w->HiScoreTable[i], 0);
  EXPECT_FALSE(w->HiScoreLoaded);
  EXPECT_EQ(w->Video.ClipLeft | w->Video.ClipTop | w->Video.ClipRight | w->Video.ClipBottom, 0);
}

}  // namespace
