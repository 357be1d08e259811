#include "sim/script.h"

#include <algorithm>
#include <climits>
#include <sstream>

namespace {

bool ParseInt(std::istringstream& in, int32_t& v) {
  long long x = 0;
  if (!(in >> x)) return false;
  if (x < INT32_MIN || x > INT32_MAX) return false;
  v = static_cast<int32_t>(x);
  return true;
}

}  // namespace

bool ParseSimScript(const std::string& text, std::vector<SimEvent>& events, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(lines, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream in(line);
    SimEvent e;
    std::string kind;
    bool ok = ParseInt(in, e.frame) && e.frame >= 0 && static_cast<bool>(in >> kind);
    if (ok) {
      if (kind == "keydown" || kind == "keyup") {
        e.kind = kind == "keydown" ? SimEvent::KeyDown : SimEvent::KeyUp;
        ok = ParseInt(in, e.a) && e.a >= 0 && e.a <= 0xFFFF;
      } else if (kind == "click") {
        e.kind = SimEvent::Click;
      } else if (kind == "rclick") {
        e.kind = SimEvent::RightClick;
      } else if (kind == "move") {
        e.kind = SimEvent::Move;
        ok = ParseInt(in, e.a) && ParseInt(in, e.b);
      } else if (kind == "joy") {
        std::string word;
        std::istringstream rest(line.substr(line.find("joy") + 3));
        if ((rest >> word) && word == "none") {
          e.kind = SimEvent::JoyNone;
        } else {
          e.kind = SimEvent::Joy;
          ok = ParseInt(in, e.a) && ParseInt(in, e.b) && ParseInt(in, e.c) && e.a >= 0 && e.b >= 0;
        }
      } else {
        ok = false;
      }
    }
    std::string extra;
    if (ok && e.kind != SimEvent::JoyNone && (in >> extra)) ok = false;
    if (!ok) {
      error = "line " + std::to_string(lineNo) + ": cannot read \"" + line + "\"";
      return false;
    }
    events.push_back(e);
  }
  // Events of one frame keep their order; frames ascend.
  std::stable_sort(events.begin(), events.end(),
                   [](const SimEvent& x, const SimEvent& y) { return x.frame < y.frame; });
  return true;
}
