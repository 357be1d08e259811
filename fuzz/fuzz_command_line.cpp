// Fuzzes the command line and the daemon's window id: the bytes are split at
// NUL into the parameters, the first of them also read as XSCREENSAVER_WINDOW.
// A parameter without quotes comes back whole as the first parameter of the
// rebuilt command tail; a window id read is never 0 and reads the same
// again; a start is refused only for a window that is not one.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

std::vector<std::string> Split(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back().push_back(static_cast<char>(data[i]));
    }
  }
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> args = Split(data, size);
  std::vector<const char*> argv = {"zuk_rer1.scr"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  const std::string tail = CommandTail(static_cast<int>(argv.size()), argv.data());
  const std::string first = FirstParameter(tail);
  if (first.find('"') != std::string::npos || SwitchText(tail).size() > 2) std::abort();
  if (args[0].find('"') == std::string::npos && first != args[0]) std::abort();

  unsigned long id = 0;
  if (ParseWindowId(args[0], id)) {
    unsigned long again = 0;
    if (id == 0 || !ParseWindowId(std::to_string(id), again) || again != id) std::abort();
  }
  const DaemonWindow d = DaemonWindowFrom(args, args[0].c_str());
  if (d.given && d.problem.empty() && !d.root && d.id == 0) std::abort();
  const StartupPlan plan = PlanStartup(tail, "/x/zuk_rer1.scr", d);
  if (plan.action == StartupPlan::Action::RefuseWindow && d.problem.empty()) std::abort();
  if (PlanStartup("/s", "/x/zuk_rer1.scr", d).action == StartupPlan::Action::RefuseWindow) {
    if (d.problem.empty()) std::abort();
  } else if (!d.problem.empty()) {
    std::abort();
  }
  return 0;
}
