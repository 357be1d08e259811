// Program entry: start-up decides the role (screen saver, settings window,
// installer) and runs it; the roles that play sound open the sound device.
// Every orderly end comes back here as ProgramEndSignal: the forms are
// destroyed newest first and the exit code is 0.
#include <FL/Fl.H>
#include <SDL.h>

#include <cstdio>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "shell/application.h"
#include "app/daemon_mode.h"
#include "app/desktop_platform.h"
#include "app/program_start.h"
#include "shell/fltk_options.h"
#include "shell/fonts.h"
#include "app/startup.h"
#include "config/settings.h"
#include "game/sound_effects.h"
#include "ui/game_window.h"
#include "game/world_state.h"
#include "base/diagnostic.h"
#include "platform/process.h"
#include "platform/audio_library.h"
#include "platform/signals.h"
#include "video/presenter.h"
#include "ui/setup_window.h"
#include "ui/settings_window.h"
#include "ui/readme_window.h"
#include "ui/error_window.h"
#include "base/catalogue.h"
#include "platform/user_language.h"

using namespace dx;

namespace {

DaemonWindow g_daemonWindow;

// Before the game window, the only one that plays sound (in a daemon's
// window only when asked to, full screen unless the settings file says
// SOUND=OFF): a run that plays none never touches the device, nor says that
// there is none.
void OpenSoundForTheGame() {
  QuietenAudioLibrary();
  // The application's own top-level window, not the game window.
  OpenSoundDevice(World(), static_cast<HWND>(&App()));
}

// The game's own reading of the file: sound plays unless it says SOUND=OFF.
bool SettingsLeaveSoundOn() {
  Settings file;
  ReadGameSettings(file);
  return file.SoundOff == 0;
}

Form* MakeForm(FormKind kind) {
  switch (kind) {
    case FormKind::DaemonGame: {
      std::optional<DaemonRun> run(PrepareDaemonRun(g_daemonWindow));
      if (DaemonSoundAsked(*run)) OpenSoundForTheGame();
      return App().CreateForm(GameForm, World(), true, std::move(run));
    }
    case FormKind::Error: return App().CreateForm(ErrorForm);
    case FormKind::Game:
      if (SettingsLeaveSoundOn()) OpenSoundForTheGame();
      return App().CreateForm(GameForm);
    case FormKind::Setup: return App().CreateForm(SetupForm);
    case FormKind::Settings: return App().CreateForm(SettingsForm);
    case FormKind::Readme: return App().CreateForm(ReadmeForm);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  SetReportingName(ProgramShortName());
  UseLanguage(UserLanguages());
  // Before any library starts: SDL does not keep the display awake (the X
  // server's idle time, DPMS and idle lockers work as over the desktop; on
  // Windows the power plan may still turn the display off), and leaves
  // SIGTERM, SIGINT and SIGHUP to the program, which ends every mode on them.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  PrepareProcess();
  InstallEndSignalHandlers();

  const ProgramStart start = ReadProgramStart(argc, argv);
  App().Title = Application::TitleFromFileName(start.programPath);
  SetPictureTitle(App().Title);
  SetPlatform(&DesktopPlatform());
  g_daemonWindow = start.daemonWindow;
  PrepareWindows(start);
  ReadFltkOptions();
  RemoveLeftoverTempFiles();

  int exitCode = 0;
  try {
    RunStartup(start.commandTail, start.programPath, FormMakers{MakeForm}, g_daemonWindow);
  } catch (const ProgramEndSignal& end) {
    exitCode = end.exitCode;
  } catch (const std::exception& e) {
    // An error outside every handler (the sound device's set-up): report it
    // the way the general error handler does, then end.
    App().HandleException(e);
  }
  App().DestroyForms();
  EndSoundDevice(World());
  return exitCode;
}
