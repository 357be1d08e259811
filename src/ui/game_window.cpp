#include "ui/game_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>

#include "config/settings.h"
#include "game/game.h"
#include "game/game_run.h"
#include "game/hiscore.h"
#include "game/input.h"
#include "game/sound_effects.h"
#include "platform/platform.h"
#include "platform/system_folder.h"
#include "shell/application.h"
#include "shell/display_loss.h"
#include "shell/fonts.h"
#include "ui/error_window.h"
#include "ui/keycodes_fltk.h"
#include "ui/picture_input_source.h"
#include "ui/splash_image.h"
#include "ui/text_fit.h"
#include "shell/ui_scale.h"
// App().MessageBox, not the macro that FLTK's headers bring on Windows.
#include "base/windows_names_push.h"
#include "base/catalogue.h"

GameWindow* GameForm = nullptr;

namespace {

const char* const kDataDeletedMessage =
    N_("データファイルが削除されています。再度、解凍＆セットアップして下さい。");
const char* const kNoSettingsMessage = N_("設定ファイルがありません");

// The borderless start-up window; its key and mouse events reach the game's
// input handlers.
class StartupWindow : public Fl_Double_Window {
 public:
  StartupWindow(GameWindow* form, int w, int h) : Fl_Double_Window(w, h), form_(form) {}
  void draw() override {
    ChoosePictureScaling(*this);
    Fl_Double_Window::draw();
  }
  int handle(int event) override {
    WorldState& w = form_->w;
    switch (event) {
      case FL_KEYDOWN:
      case FL_SHORTCUT:
        App().RunHandler([&w] { HandleKeyDown(w, VirtualKeyFromFltk(Fl::event_key())); });
        form_->EndIfStranded();
        return 1;
      case FL_KEYUP:
        App().RunHandler([&w] { HandleKeyUp(w, VirtualKeyFromFltk(Fl::event_key())); });
        return 1;
      case FL_PUSH:
        if (Fl::event_button() == FL_LEFT_MOUSE) App().RunHandler([&w] { HandleClick(w); });
        form_->EndIfStranded();
        return 1;
      case FL_MOVE:
      case FL_DRAG:
        App().RunHandler([&w] { HandleMouseMove(w, Fl::event_x(), Fl::event_y()); });
        return 1;
      case FL_FOCUS:
      case FL_UNFOCUS:
      case FL_ENTER:
        return 1;
      case FL_SHOW:
        if (shown()) NameForWindowManagers(this);
        return Fl_Double_Window::handle(event);
      default:
        return Fl_Double_Window::handle(event);
    }
  }

 private:
  GameWindow* form_;
};

Fl_RGB_Image* g_splash = nullptr;

}  // namespace

GameWindow::GameWindow(WorldState& world, bool isHeadless, std::optional<DaemonRun> daemon)
    : w(world), headless(isHeadless), daemon_(std::move(daemon)) {
  if (headless) return;
  auto* win = new StartupWindow(this, 279, 168);
  win->border(0);
  win->color(FL_BLACK);
  win->label(nullptr);
  image1_ = new Fl_Box(40, 6, 198, 132);
  image1_->box(FL_NO_BOX);
  if (g_splash == nullptr) g_splash = MakeSplashImage();
  if (g_splash != nullptr) image1_->image(g_splash);
  label1_ = new Fl_Box(22, 136, 233, 19, Tr("ZUK スクリーンセーバー起動"));
  label1_->labelfont(kGothic);
  label1_->labelsize(19);
  label1_->labelcolor(fl_rgb_color(0, 255, 0));
  label1_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  win->end();
  if (TextsTranslated()) Widen(*label1_, GrowToward::Right, 271);
  window_ = win;
  HookCloseBox();
}

GameWindow::~GameWindow() {
  if (input_) App().RemoveSource(input_.get());
  if (App().MainForm == this) App().MainForm = nullptr;
}

void GameWindow::FormCreate() {
  // Marks the end of the creation handler, however it is left.
  struct Finished {
    bool& flag;
    ~Finished() { flag = true; }
  } finished{createFinished_};
  w.MouseWatch = 0;
  ShowCentered();
  if (!ReadSettings()) return;
  if (daemon_) ChooseDaemonSound();
  // The effects' volume, the spark directions and the star field.
  w.PlayVolume = w.Volume * 50 - 3000;
  BuildDirectionTables(w);
  PlaceStars(w);
  // Let pending messages run.
  for (int i = 0; i < 10000; ++i) App().ProcessMessages();
  // The two effects (they load nothing while sound is off).
  w.BlastSound = new TDSPolySound(w, *this, w.DataPath + "dokan.wav");
  w.FireSound = new TDSPolySound(w, *this, w.DataPath + "fire.wav");
  // The X server going away ends the run where it stands, with the records
  // written. The run ends the program.
  DisplayLossWatch displayLoss([this] { SaveHighScores(w); });
  // Where the records go that the install folder can't keep.
  w.UserFolder = UserFolder();
  w.PackageDataFolder = IsPackageFolder(w.DataPath);
  RunGame(w, *this, !InDaemonWindow());
}

void GameWindow::ShowCentered() {
  if (window_ != nullptr) {
    window_->position(Sys().ScreenWidth() / 2 - window_->w() / 2, Sys().ScreenHeight() / 2 - window_->h() / 2);
    centered_ = false;
  }
  Show();
}

bool GameWindow::ReadSettings() {
  // Inside a daemon's window no message may stand over a locked screen:
  // without usable settings the installed data files are used with setup's
  // defaults.
  switch (ReadGameSettings(w)) {
    case GameReadResult::DataMissing:
      if (daemon_) break;
      Sys().MessageBeep();
      App().MessageBox(Tr(kDataDeletedMessage));
      App().Terminate();
      return false;
    case GameReadResult::NoPath:
      if (daemon_) break;
      ReportFatalError(Tr(kNoSettingsMessage));
    case GameReadResult::Ok:
      return true;
  }
  UseInstalledData();
  return true;
}

void GameWindow::UseInstalledData() {
  if (daemon_->installedDataFolder.empty()) {
    if (daemon_->noData) daemon_->noData();
    ProgramEnd();
  }
  ApplySetupDefaults(w, daemon_->installedDataFolder);
}

bool DaemonSoundAsked(const DaemonRun& run) { return run.sound.value_or(false); }

void GameWindow::ChooseDaemonSound() {
  w.SoundOff = DaemonSoundAsked(*daemon_) && SoundDevice() != nullptr ? 0 : 1;
}

bool GameWindow::InDaemonWindow() const { return daemon_.has_value(); }

void GameWindow::EndIfStranded() {
  // When the game could not start (an effect failed to load), the borderless
  // start-up window would stay with no way to close it, and the instance
  // marker would block every later start: the key or click that would end
  // the screen saver closes it instead.
  if (createFinished_ && w.QuitRequested) Close();
}

void GameWindow::FormActivate() {
  for (int i = 0; i < 1000; ++i) App().ProcessMessages();
}

void GameWindow::FormDestroy() { SaveHighScores(w); }

void GameWindow::ProcessMessages() { App().ProcessMessages(); }

void GameWindow::WaitMessages(uint32_t timeoutMs) { App().WaitMessages(timeoutMs); }

void GameWindow::GiveWayToPicture() {
  // The full-screen picture window of the display takes the whole screen
  // and stays on top; the start-up window turns black and gives way to it.
  if (image1_ != nullptr) image1_->hide();
  if (window_ != nullptr) {
    window_->color(FL_BLACK);
    if (label1_ != nullptr) label1_->hide();
    window_->redraw();
    window_->hide();
  }
  input_ = std::make_unique<PictureInputSource>(w);
  App().AddSource(input_.get());
}

void GameWindow::HideGameWindow() {
  visible_ = false;
  if (window_ != nullptr) window_->hide();
}

void GameWindow::End() { ProgramEnd(); }

void GameWindow::Fail(const std::string& text) { ::ReportFatalError(text); }
