#include "app/command_line.h"

namespace {

// The parameter that starts at or after `i` (past the separators); `i` ends
// after it.
std::string ParameterAt(const std::string& tail, size_t& i) {
  const auto separator = [](unsigned char c) { return c <= ' '; };
  while (i < tail.size() && separator(static_cast<unsigned char>(tail[i]))) ++i;
  std::string param;
  bool quoted = false;
  for (; i < tail.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(tail[i]);
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && separator(c)) break;
    param.push_back(static_cast<char>(c));
  }
  return param;
}

}  // namespace

std::string FirstParameter(const std::string& tail) {
  size_t i = 0;
  return ParameterAt(tail, i);
}

std::string CommandTail(int argc, const char* const* argv) {
  // An argument that is empty or holds blanks or control characters was one
  // parameter for the shell: it is quoted, as it would stand on a Windows
  // command line.
  std::string tail;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) tail.push_back(' ');
    const std::string arg = argv[i];
    bool quote = arg.empty();
    for (unsigned char c : arg) quote = quote || c <= ' ';
    tail += quote ? "\"" + arg + "\"" : arg;
  }
  return tail;
}

std::string SwitchText(const std::string& tail) { return FirstParameter(tail).substr(0, 2); }

std::string CommandTailOf(const std::string& line) {
  size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    i = line.find('"', 1);
    i = i == std::string::npos ? line.size() : i + 1;
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  return line.substr(i);
}

std::string SwitchArgument(const std::string& tail) {
  size_t i = 0;
  const std::string first = ParameterAt(tail, i);
  if (first.size() > 2) return first.substr(first[2] == ':' ? 3 : 2);
  return ParameterAt(tail, i);
}

bool ParseWindowId(const std::string& text, unsigned long& id) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const size_t start = hex ? 2 : 0;
  if (text.size() <= start || text.size() - start > (hex ? 16u : 20u)) return false;
  unsigned long value = 0;
  for (size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return false;
    }
    const unsigned long base = hex ? 16 : 10;
    // X ids are 32 bits: a larger number names no window (cut, it would
    // name another).
    if (value > (0xFFFFFFFFUL - digit) / base) return false;
    value = value * base + digit;
  }
  if (value == 0) return false;
  id = value;
  return true;
}

namespace {

// The window named by `text`, or the problem with it.
DaemonWindow NamedWindow(const std::string& text, const std::string& source) {
  DaemonWindow d;
  d.given = true;
  if (!ParseWindowId(text, d.id)) d.problem = source + " \"" + text + "\" is not a window id";
  return d;
}

std::optional<bool> SoundSwitch(const std::vector<std::string>& args) {
  std::optional<bool> sound;
  for (const std::string& a : args) {
    if (a == "-sound" || a == "--sound") sound = true;
    if (a == "-no-sound" || a == "--no-sound") sound = false;
  }
  return sound;
}

DaemonWindow WindowFrom(const std::vector<std::string>& args, const char* xscreensaverWindow) {
  bool root = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-window-id" || args[i] == "--window-id") {
      return NamedWindow(i + 1 < args.size() ? args[i + 1] : "", args[i]);
    }
    root = root || args[i] == "-root" || args[i] == "--root";
  }
  if (xscreensaverWindow != nullptr && *xscreensaverWindow != '\0') {
    return NamedWindow(xscreensaverWindow, "XSCREENSAVER_WINDOW");
  }
  DaemonWindow d;
  d.given = d.root = root;
  return d;
}

}  // namespace

DaemonWindow PreviewWindowFrom(const std::string& tail) {
  const std::string argument = SwitchArgument(tail);
  DaemonWindow d;
  if (argument.empty()) return d;
  d = NamedWindow(argument, "/p");
  d.preview = true;
  d.sound = false;
  return d;
}

unsigned long OwnerWindowFrom(const std::string& tail) {
  unsigned long id = 0;
  return ParseWindowId(SwitchArgument(tail), id) ? id : 0;
}

DaemonWindow DaemonWindowFrom(const std::vector<std::string>& args, const char* xscreensaverWindow) {
  DaemonWindow d = WindowFrom(args, xscreensaverWindow);
  d.sound = SoundSwitch(args);
  return d;
}

StartupPlan PlanStartup(const std::string& tail, const std::string& programPath, const DaemonWindow& daemon) {
  StartupPlan plan;
  const std::string sw = SwitchText(tail);
  if (sw == "/c" || sw == "-c") {
    plan.forms = {FormKind::Settings, FormKind::Readme};
    plan.settingsMode = true;
    plan.action = StartupPlan::Action::RunLoop;
    return plan;
  }
  if (sw == "/p" || sw == "-p") {
    if (!daemon.preview) return plan;
    plan.action = daemon.problem.empty() ? StartupPlan::Action::RunLoop : StartupPlan::Action::RefuseWindow;
    plan.forms.push_back(FormKind::DaemonGame);
    plan.inDaemonWindow = true;
    return plan;
  }
  if (sw == "/a" || sw == "-a") {
    plan.action = StartupPlan::Action::PasswordBox;
    return plan;
  }
  std::string upper = programPath;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.find("ZUK_RER1.SCR") != std::string::npos) {
    if (!daemon.problem.empty()) {
      // Never a full-screen window of its own over a daemon's lock screen.
      plan.action = StartupPlan::Action::RefuseWindow;
      return plan;
    }
    if (daemon.given) {
      // Inside a daemon's window there is no error window: it would stand
      // over a locked screen.
      plan.forms.push_back(FormKind::DaemonGame);
      plan.inDaemonWindow = true;
    } else {
      plan.forms.push_back(FormKind::Error);
      plan.forms.push_back(FormKind::Game);
    }
  }
  if (upper.find("ZUK_RER1.EXE") != std::string::npos) {
    plan.forms.push_back(FormKind::Setup);
    plan.forms.push_back(FormKind::Readme);
  }
  plan.action = plan.forms.empty() ? StartupPlan::Action::EndSilently : StartupPlan::Action::RunLoop;
  return plan;
}

