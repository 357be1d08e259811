#include "game/world_state.h"

#include <memory>

WorldState& World() {
  // Allocated once and never freed: it lives for the whole process, and the
  // forms that use it are destroyed at the very end.
  static WorldState* world = new WorldState();
  return *world;
}
