#include "app/startup.h"

#include <unistd.h>

#include <climits>

#include "app/application.h"
#include "app/form.h"
#include "platform/instance_lock.h"

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

StartupPlan PlanStartup(const std::string& tail, const std::string& programPath) {
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
    plan.forms.push_back(FormKind::Error);
    plan.forms.push_back(FormKind::Game);
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

void RunStartup(const std::string& tail, const std::string& programPath, const FormMakers& makers) {
  // One instance at a time; a second start of any kind ends silently.
  static InstanceLock lock;
  if (!lock.Acquire()) ProgramEnd();

  const StartupPlan plan = PlanStartup(tail, programPath);
  if (plan.action == StartupPlan::Action::PasswordBox) {
    App().MessageBox(kPasswordMessage);
    ProgramEnd();
  }
  if (plan.action == StartupPlan::Action::EndSilently) ProgramEnd();

  TForm* main = nullptr;
  TForm* game = nullptr;
  for (FormKind kind : plan.forms) {
    TForm* form = makers.create(kind);
    if (kind == FormKind::Game) game = form;
    if (main == nullptr && (kind == FormKind::Settings || kind == FormKind::Setup)) main = form;
  }
  // The game window is the main window whenever it exists.
  App().MainForm = game != nullptr ? game : main;
  App().Run();
  lock.Release();
  ProgramEnd();
}
