#include "base/diagnostic.h"

#include <cstdio>
#include <utility>

namespace {

std::string& ReportingName() {
  static std::string name = "zuk_rer1";
  return name;
}

}  // namespace

void SetReportingName(std::string name) { ReportingName() = std::move(name); }

void ReportProblem(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", ReportingName().c_str(), text.c_str());
  std::fflush(stderr);
}
