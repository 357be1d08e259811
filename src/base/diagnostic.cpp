#include "base/diagnostic.h"

#include <utility>

namespace {

std::string& ReportingName() {
  static std::string name = "zuk_rer1";
  return name;
}

}  // namespace

void SetReportingName(std::string name) { ReportingName() = std::move(name); }

// The system's own way out for a line (diagnostic_posix.cpp, diagnostic_win32.cpp).
void WriteProblemLine(const std::string& line);

void ReportProblem(const std::string& text) { WriteProblemLine(ReportingName() + ": " + text + "\n"); }
