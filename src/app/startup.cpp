#include "app/startup.h"

#include <FL/Fl.H>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "app/application.h"
#include "app/form.h"
#include "platform/instance_lock.h"
#include "platform/signals.h"
#include "platform/system_folder.h"

const char* const kPasswordMessage = "パスワードの設定はありません(^^;)";

std::string FirstParameter(const std::string& tail) {
  size_t i = 0;
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
    if (value > (~0UL - digit) / base) return false;
    value = value * base + digit;
  }
  if (value == 0) return false;
  id = value;
  return true;
}

DaemonWindow DaemonWindowFrom(const std::vector<std::string>& args, const char* xscreensaverWindow) {
  DaemonWindow d;
  bool root = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "-window-id" || args[i] == "--window-id") && i + 1 < args.size() &&
        ParseWindowId(args[i + 1], d.id)) {
      d.given = true;
      return d;
    }
    root = root || args[i] == "-root" || args[i] == "--root";
  }
  if (xscreensaverWindow != nullptr && ParseWindowId(xscreensaverWindow, d.id)) {
    d.given = true;
    return d;
  }
  d.given = d.root = root;
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
  if (sw == "/p" || sw == "-p") return plan;
  if (sw == "/a" || sw == "-a") {
    plan.action = StartupPlan::Action::PasswordBox;
    return plan;
  }
  std::string upper = programPath;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.find("ZUK_RER1.SCR") != std::string::npos) {
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

std::string ProgramFilePath() {
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return {};
  return std::string(buf, static_cast<size_t>(n));
}

std::string StartedProgramPath(const char* argv0) {
  const std::string name = argv0 != nullptr ? argv0 : "";
  if (name.find('/') != std::string::npos) return name;
  if (!name.empty()) {
    // As the shell found it: the first executable file of that name on PATH
    // (an empty entry is the current folder).
    const char* path = std::getenv("PATH");
    const std::string dirs = path != nullptr ? path : "";
    size_t start = 0;
    for (;;) {
      const size_t end = dirs.find(':', start);
      const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
      const std::string candidate = JoinPath(dir.empty() ? std::string(".") : dir, name);
      struct stat st {};
      if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0) {
        return candidate;
      }
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return ProgramFilePath();
}

namespace {

// An ending signal seen by a message loop (the main loop, a modal window, a
// message box): the program ends as closing its main window would, unless
// the game's frame loop is running and ends the game itself.
void OnEndSignalPipe(FL_SOCKET, void*) {
  DrainEndSignalFd();
  if (!EndSignalDeferred() && !ProgramEnding()) ProgramEnd();
}

}  // namespace

void RunStartup(const std::string& tail, const std::string& programPath, const FormMakers& makers,
                const DaemonWindow& daemon) {
  const StartupPlan plan = PlanStartup(tail, programPath, daemon);
  // One instance at a time; a second start of any kind ends silently. A run
  // inside a daemon's window neither takes nor looks at the marker.
  static InstanceLock lock;
  if (!plan.inDaemonWindow && !lock.Acquire()) ProgramEnd();

  if (EndSignalFd() >= 0) Fl::add_fd(EndSignalFd(), FL_READ, OnEndSignalPipe);
  if (EndSignalReceived()) ProgramEnd();
  if (plan.action == StartupPlan::Action::PasswordBox) {
    App().MessageBox(kPasswordMessage);
    ProgramEnd();
  }
  if (plan.action == StartupPlan::Action::EndSilently) ProgramEnd();

  TForm* main = nullptr;
  TForm* game = nullptr;
  for (FormKind kind : plan.forms) {
    TForm* form = makers.create(kind);
    if (kind == FormKind::Game || kind == FormKind::DaemonGame) game = form;
    if (main == nullptr && (kind == FormKind::Settings || kind == FormKind::Setup)) main = form;
  }
  // The game window is the main window whenever it exists.
  App().MainForm = game != nullptr ? game : main;
  App().Run();
  lock.Release();
  ProgramEnd();
}
