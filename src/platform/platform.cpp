#include "platform/platform.h"

namespace {

Platform* g_platform = nullptr;

}  // namespace

Platform& Sys() { return g_platform ? *g_platform : LinuxPlatform(); }

void SetPlatform(Platform* p) { g_platform = p; }
