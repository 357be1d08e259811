#include "app/startup.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdlib>

#include "shell/application.h"
#include "shell/display_loss.h"
#include "shell/form.h"
#include "base/diagnostic.h"
#include "platform/instance_lock.h"
#include "platform/process.h"
#include "platform/signals.h"
#include "platform/system_folder.h"

const char* const kPasswordMessage = "パスワードの設定はありません(^^;)";
constexpr const char* kNeedsXServer = "this program needs an X server (on Wayland, Xwayland)";

[[noreturn]] void EndWithoutXServer() {
  const char* display = std::getenv("DISPLAY");
  ReportProblem(display != nullptr && *display != '\0'
                    ? std::string("cannot open the X display \"") + display + "\": " + kNeedsXServer
                    : std::string("DISPLAY is not set: ") + kNeedsXServer);
  ProgramEnd(1);
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
      if (IsRegularFile(candidate) && CanExecute(candidate)) return candidate;
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
  if (plan.action == StartupPlan::Action::RefuseWindow) {
    ReportProblem(daemon.problem);
    ProgramEnd(1);
  }
  // One instance at a time; a second start of any kind ends silently. A run
  // inside a daemon's window neither takes nor looks at the marker.
  static InstanceLock lock;
  if (!plan.inDaemonWindow && !lock.Acquire()) ProgramEnd();

  if (EndSignalFd() >= 0) Fl::add_fd(EndSignalFd(), FL_READ, OnEndSignalPipe);
  if (EndSignalReceived()) ProgramEnd();
  if (plan.action == StartupPlan::Action::EndSilently) ProgramEnd();

  // The X server going away ends every mode with exit code 0, as closing
  // its window does, from before the first connection on. Inside a daemon's
  // window FLTK is never used; elsewhere its display is opened here and
  // handed to it, so that it puts in no handler of its own.
  static DisplayLossWatch displayLoss([] {});
  if (!plan.inDaemonWindow && App().Windowed && fl_display == nullptr) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) EndWithoutXServer();
    fl_open_display(display);
  }
  if (plan.action == StartupPlan::Action::PasswordBox) {
    App().MessageBox(kPasswordMessage);
    ProgramEnd();
  }

  Form* main = nullptr;
  Form* game = nullptr;
  for (FormKind kind : plan.forms) {
    Form* form = makers.create(kind);
    if (kind == FormKind::Game || kind == FormKind::DaemonGame) game = form;
    if (main == nullptr && (kind == FormKind::Settings || kind == FormKind::Setup)) main = form;
  }
  // The game window is the main window whenever it exists.
  App().MainForm = game != nullptr ? game : main;
  App().Run();
  lock.Release();
  ProgramEnd();
}
