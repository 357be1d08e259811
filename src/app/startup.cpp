#include "app/startup.h"
#include "app/startup_system.h"

#include <algorithm>

#include "shell/application.h"
#include "shell/display_loss.h"
#include "shell/fonts.h"
#include "platform/signals.h"
#include "shell/form.h"
#include "base/diagnostic.h"
#include "platform/instance_lock.h"
// App().MessageBox, not the macro that FLTK's headers bring on Windows.
#include "base/windows_names_push.h"
#include "base/catalogue.h"

const char* const kPasswordMessage = N_("パスワードの設定はありません(^^;)");
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

  WatchEndSignals();
  if (EndSignalReceived()) ProgramEnd();
  if (plan.action == StartupPlan::Action::EndSilently) ProgramEnd();

  // The X server going away ends every mode with exit code 0, as closing
  // its window does, from before the first connection on. Inside a daemon's
  // window FLTK is never used; elsewhere its display is opened here (keeping
  // the watch's handler), and then its fonts named (naming one opens the
  // display).
  static DisplayLossWatch displayLoss([] {});
  if (!plan.inDaemonWindow && App().Windowed) {
    OpenDisplay(std::find(plan.forms.begin(), plan.forms.end(), FormKind::Game) != plan.forms.end());
    InitFonts();
  }
  if (plan.action == StartupPlan::Action::PasswordBox) {
    App().MessageBox(Tr(kPasswordMessage));
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
