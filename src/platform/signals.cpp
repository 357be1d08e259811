#include "platform/signals.h"

namespace {

int g_deferrals = 0;

}  // namespace

EndSignalDeferral::EndSignalDeferral() { ++g_deferrals; }

EndSignalDeferral::~EndSignalDeferral() { --g_deferrals; }

bool EndSignalDeferred() { return g_deferrals > 0; }
