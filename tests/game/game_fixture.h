// Shared helpers of the game tests: a reference random generator written out
// on its own, fresh worlds, and small scenario builders.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "game/world_state.h"

namespace gametest {

// The generator's rule on its own: state' = state * 134775813 + 1 (mod 2^32),
// result = high half of state' * n.
struct RefRandom {
  uint32_t state = 0;
  int32_t Next(int32_t n) {
    state = state * 134775813u + 1u;
    return static_cast<int32_t>((uint64_t{state} * static_cast<uint32_t>(n)) >> 32);
  }
  void Skip(int draws) {
    for (int i = 0; i < draws; ++i) state = state * 134775813u + 1u;
  }
};

// Number of draws that lead from state `from` to state `to` (up to `limit`),
// or -1.
inline int DrawsBetween(uint32_t from, uint32_t to, int limit = 100000) {
  uint32_t s = from;
  for (int i = 0; i <= limit; ++i) {
    if (s == to) return i;
    s = s * 134775813u + 1u;
  }
  return -1;
}

// A state from which the next draws give the wanted values: `ok` gets a
// generator positioned at the candidate and says whether it fits.
inline uint32_t FindState(const std::function<bool(RefRandom&)>& ok) {
  for (uint32_t s = 1; s < 50000000u; ++s) {
    RefRandom r{s};
    if (ok(r)) return s;
  }
  ADD_FAILURE() << "no state found";
  return 0;
}

inline std::unique_ptr<WorldState> FreshWorld() { return std::make_unique<WorldState>(); }

}  // namespace gametest
