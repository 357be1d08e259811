#include "base/diagnostic.h"

#include <errno.h>

#include <cstdio>

void ReportProblem(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
  std::fflush(stderr);
}
