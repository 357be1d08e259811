#include "ui/game_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>

#include "shell/application.h"
#include "shell/fonts.h"
#include "ui/splash_image.h"
#include "config/settings.h"
#include "game/sound_effects.h"
#include "game/game.h"
#include "game/hiscore.h"
#include "platform/keycodes.h"
#include "platform/platform.h"
#include "ui/error_window.h"
#include "game/screen.h"

TForm1* Form1 = nullptr;

namespace {

const char* const kDataDeletedMessage =
    "データファイルが削除されています。再度、解凍＆セットアップして下さい。";
const char* const kNoSettingsMessage = "設定ファイルがありません";

// The borderless start-up window; its key and mouse events reach the game
// window's input handlers.
class StartupWindow : public Fl_Double_Window {
 public:
  StartupWindow(TForm1* form, int w, int h) : Fl_Double_Window(w, h), form_(form) {}
  int handle(int event) override {
    switch (event) {
      case FL_KEYDOWN:
      case FL_SHORTCUT:
        App().RunHandler([this] { form_->FormKeyDown(VirtualKeyFromFltk(Fl::event_key())); });
        form_->EndIfStranded();
        return 1;
      case FL_KEYUP:
        App().RunHandler([this] { form_->FormKeyUp(VirtualKeyFromFltk(Fl::event_key())); });
        return 1;
      case FL_PUSH:
        if (Fl::event_button() == FL_LEFT_MOUSE) App().RunHandler([this] { form_->FormClick(); });
        form_->EndIfStranded();
        return 1;
      case FL_MOVE:
      case FL_DRAG:
        App().RunHandler([this] { form_->FormMouseMove(Fl::event_x(), Fl::event_y()); });
        return 1;
      case FL_FOCUS:
      case FL_UNFOCUS:
      case FL_ENTER:
        return 1;
      default:
        return Fl_Double_Window::handle(event);
    }
  }

 private:
  TForm1* form_;
};

Fl_RGB_Image* g_splash = nullptr;

}  // namespace

TForm1::TForm1(WorldState& world, bool isHeadless, std::optional<DaemonRun> daemon)
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
  label1_ = new Fl_Box(22, 136, 233, 19, "ZUK スクリーンセーバー起動");
  label1_->labelfont(kGothic);
  label1_->labelsize(19);
  label1_->labelcolor(fl_rgb_color(0, 255, 0));
  label1_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  win->end();
  window_ = win;
  HookCloseBox();
}

TForm1::~TForm1() {
  if (App().MainForm == this) App().MainForm = nullptr;
}

void TForm1::FormCreate() {
  // Marks the end of the creation handler, however it is left.
  struct Finished {
    bool& flag;
    ~Finished() { flag = true; }
  } finished{createFinished_};
  // Defaults of the game reader.
  w.MouseWatch = 0;
  static const uint8_t kFlameColors[8] = {255, 199, 190, 184, 178, 177, 0, 0};
  for (int i = 0; i < 8; ++i) w.FlameColors[i] = kFlameColors[i];
  w.MaxMeteors = 20;
  w.Autopilot = 1;
  w.AutoResume = 1;
  w.Volume = 50;

  // Centre and show the start-up window.
  if (window_ != nullptr) {
    window_->position(Sys().ScreenWidth() / 2 - window_->w() / 2, Sys().ScreenHeight() / 2 - window_->h() / 2);
    centered_ = false;
  }
  Show();

  // The settings file. Inside a daemon's window no message may stand over
  // a locked screen: without usable settings the installed data files are
  // used with setup's defaults.
  switch (ReadGameSettings(w)) {
    case GameReadResult::DataMissing:
      if (daemon_) {
        UseInstalledData();
        break;
      }
      Sys().MessageBeep();
      App().MessageBox(kDataDeletedMessage);
      App().Terminate();
      return;
    case GameReadResult::NoPath:
      if (daemon_) {
        UseInstalledData();
        break;
      }
      ReportFatalError(kNoSettingsMessage);
    case GameReadResult::Ok:
      break;
  }

  // The effects' volume.
  w.PlayVolume = w.Volume * 50 - 3000;

  // Spark directions and the star field.
  BuildDirectionTables(w);
  PlaceStars(w);

  // Let pending messages run.
  for (int i = 0; i < 10000; ++i) App().ProcessMessages();

  // The two effects (they load nothing while sound is off).
  w.BlastSound = new TDSPolySound(w, w.DataPath + "dokan.wav");
  w.FireSound = new TDSPolySound(w, w.DataPath + "fire.wav");

  // The game run; it ends the program.
  Button1Click();
}

void TForm1::UseInstalledData() {
  if (daemon_->installedDataFolder.empty()) {
    if (daemon_->noData) daemon_->noData();
    ProgramEnd();
  }
  ApplySetupDefaults(w, daemon_->installedDataFolder);
}

bool TForm1::InDaemonWindow() const { return daemon_.has_value(); }

void TForm1::EndIfStranded() {
  // When the game could not start (an effect failed to load), the borderless
  // start-up window would stay with no way to close it, and the instance
  // marker would block every later start: the key or click that would end
  // the screen saver closes it instead.
  if (createFinished_ && QuitRequested) Close();
}

void TForm1::FormActivate() {
  for (int i = 0; i < 1000; ++i) App().ProcessMessages();
}

void TForm1::FormDestroy() { SaveHighScores(w); }

void TForm1::RestoreDesktop() {
  Sys().ShowCursor(true);
  ReleaseDevices(w);
  SetNotTopmost();
}

void TForm1::HideStartupControls() {
  if (image1_ != nullptr) image1_->hide();
}

void TForm1::PrepareForGame() {
  if (window_ == nullptr) return;
  window_->color(FL_BLACK);
  if (label1_ != nullptr) label1_->hide();
  window_->redraw();
}

void TForm1::MaximizeTopmost() {
  // The full-screen picture window of the display takes the whole screen
  // and stays on top; the start-up window gives way to it.
  if (window_ != nullptr) window_->hide();
}

void TForm1::SetNotTopmost() {}

void TForm1::HideGameWindow() {
  visible_ = false;
  if (window_ != nullptr) window_->hide();
}
