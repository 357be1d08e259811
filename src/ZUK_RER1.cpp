// Program entry: opens the sound device, then start-up decides the role
// (screen saver, settings window, installer) and runs it. Every orderly end
// comes back here as ProgramEndSignal: the forms are destroyed newest first
// and the exit code is 0.
#include <FL/Fl.H>

#include <cstdio>
#include <exception>

#include "app/application.h"
#include "app/fonts.h"
#include "app/startup.h"
#include "dsound2/dsound2.h"
#include "main/unit1.h"
#include "main/world_state.h"
#include "ui/unit2.h"
#include "ui/unit3.h"
#include "ui/unit4.h"
#include "ui/unit5.h"

namespace {

TForm* MakeForm(FormKind kind) {
  switch (kind) {
    case FormKind::Error: return App().CreateForm(Form5);
    case FormKind::Game: return App().CreateForm(Form1);
    case FormKind::Setup: return App().CreateForm(Form2);
    case FormKind::Settings: return App().CreateForm(Form3);
    case FormKind::Readme: return App().CreateForm(Form4);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string programPath = ProgramFilePath();
  App().Title = Application::TitleFromFileName(programPath.empty() ? argv[0] : programPath);
  InitFonts();

  int exitCode = 0;
  try {
    // The sound device is opened first, in every mode.
    OpenSoundDevice(World());
    RunStartup(CommandTail(argc, argv), programPath, FormMakers{MakeForm});
  } catch (const ProgramEndSignal& end) {
    exitCode = end.exitCode;
  } catch (const std::exception& e) {
    // An error outside every handler (the sound device's set-up): report it
    // the way the general error handler does, then end.
    App().HandleException(e);
  }
  App().DestroyForms();
  CloseSoundDevice(World());
  return exitCode;
}
