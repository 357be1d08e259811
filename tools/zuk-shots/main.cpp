// zuk-shots OUTDIR [README]: shows each of the program's windows in turn and
// writes a PNG picture of it into OUTDIR: settings.png, setup.png,
// readme.png, error.png, startup.png and password.png (the /a message box),
// in the user's language as the program chooses it (LANG, LC_ALL...).
// Dialog windows get a drawn title bar with their caption (there is no
// window manager under Xvfb to draw one). README is the readme text to show
// (a short sample when missing); a readme_en.txt beside it goes along.
#include <FL/Fl.H>
#include <FL/Fl_Image_Surface.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/platform.H>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "base/catalogue.h"
#include "base/diagnostic.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/user_language.h"
#include "shell/application.h"
#include "shell/fonts.h"
#include "config/settings.h"
#include "ui/game_window.h"
#include "game/world_state.h"
#include "platform/png_writer.h"
#include "ui/ui_controls.h"
#include "ui/setup_window.h"
#include "ui/settings_window.h"
#include "ui/readme_window.h"
#include "ui/error_window.h"
#include "app/startup.h"

namespace {

constexpr int kTitleHeight = 22;

void Settle() {
  for (int i = 0; i < 20; ++i) Fl::wait(0.01);
  Fl::flush();
}

// Draws the window's client area, under a Windows-style title bar when
// `caption` is not empty, and writes it as a PNG file.
bool Shoot(Fl_Window* win, const std::string& caption, const std::string& path) {
  Settle();
  const int top = caption.empty() ? 0 : kTitleHeight;
  const int w = win->w();
  const int h = win->h() + top;
  Fl_Image_Surface surface(w, h);
  surface.set_current();
  if (top > 0) {
    fl_color(kClNavy);
    fl_rectf(0, 0, w, top);
    fl_color(FL_WHITE);
    fl_font(DialogBoldFont(), 12);
    fl_draw(caption.c_str(), 4, 0, w - 30, top, FL_ALIGN_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
    // The close box, the only button of the frame.
    const int bx = w - 20, by = 3, bw = 16, bh = 14;
    fl_color(kClBtnFace);
    fl_rectf(bx, by, bw, bh);
    fl_color(FL_WHITE);
    fl_xyline(bx, by, bx + bw - 1);
    fl_yxline(bx, by, by + bh - 1);
    fl_color(kClBlack);
    fl_xyline(bx, by + bh - 1, bx + bw - 1);
    fl_yxline(bx + bw - 1, by, by + bh - 1);
    fl_line_style(FL_SOLID, 2);
    fl_line(bx + 4, by + 3, bx + bw - 5, by + bh - 4);
    fl_line(bx + bw - 5, by + 3, bx + 4, by + bh - 4);
    fl_line_style(0);
  }
  surface.draw(win, 0, top);
  Fl_RGB_Image* image = surface.image();
  Fl_Display_Device::display_device()->set_current();
  if (image == nullptr) return false;
  const auto* data = reinterpret_cast<const uint8_t*>(image->data()[0]);
  const bool ok = image->d() == 3 && WritePng(path, image->w(), image->h(), data);
  delete image;
  if (ok) std::printf("zuk-shots: %s\n", path.c_str());
  return ok;
}

// The program's own message box (the tool reports the others on stderr).
std::function<void(const std::string&, const std::string&, int)> g_fltkMessageBox;

const char kSampleReadme[] =
    "ＺＵＫスクリーンセーバーＮｏ．１\r\n"
    "\r\n"
    "宇宙を漂う隕石を、自動操縦の宇宙船が撃ち落とすスクリーンセーバーです。\r\n"
    "矢印キーやスペースキーで操縦を代わることができ、Ｇキーでゲームが始まります。\r\n";

// A private system folder with the file that setup writes, pointing at a
// folder that holds the readme (README when given). Empty on failure.
std::filesystem::path PrepareSystemFolder(const char* readmeFile) {
  const std::string folder = CreateTempFolder("zuk-shots");
  if (folder.empty()) return {};
  const std::filesystem::path work = folder;
  const std::filesystem::path install = work / "install";
  std::filesystem::create_directories(install);
  SetEnvironmentValue("ZUK_RER1_WINDIR", (work / "windir").string());
  {
    std::ofstream readme(install / "readme.txt", std::ios::binary);
    if (readmeFile != nullptr && std::filesystem::exists(readmeFile)) {
      std::ifstream in(readmeFile, std::ios::binary);
      readme << in.rdbuf();
    } else {
      readme << kSampleReadme;
    }
  }
  std::error_code ec;
  if (readmeFile != nullptr)
    std::filesystem::copy_file(std::filesystem::path(readmeFile).parent_path() / "readme_en.txt",
                               install / "readme_en.txt", ec);
  if (!WriteSetupFile(install.string())) {
    std::fprintf(stderr, "zuk-shots: can't write the settings file\n");
    return {};
  }
  return work;
}

// The message box of "/a", shot and closed as soon as it shows (it is
// modal: its own loop runs until it goes).
bool ShootPasswordBox(const std::filesystem::path& out) {
  static bool shot = false;
  static std::string path;
  path = (out / "password.png").string();
  Fl::add_timeout(0.3, [](void*) {
    Fl_Window* box = Fl::first_window();
    if (box == nullptr) return;
    shot = Shoot(box, box->label(), path);
    box->hide();
  });
  g_fltkMessageBox("zuk_rer1", Tr(kPasswordMessage), 0);
  return shot;
}

// Every window's picture into `out`; false when one could not be taken.
bool ShootWindows(const std::filesystem::path& out) {
  bool ok = true;
  App().CreateForm(SettingsForm);
  App().CreateForm(ReadmeForm);
  SettingsForm->Show();
  ok = Shoot(SettingsForm->Window(), SettingsForm->Window()->label(), (out / "settings.png").string()) && ok;

  SettingsForm->ShowReadme();  // the readme from the install folder
  ok = ReadmeForm->Visible() && ok;
  ok = Shoot(ReadmeForm->Window(), ReadmeForm->Window()->label(), (out / "readme.png").string()) && ok;
  SettingsForm->Hide();

  App().CreateForm(SetupForm);
  const ScopedDisplayProbe anyDisplay([] { return true; });
  SetupForm->Show();
  ok = Shoot(SetupForm->Window(), SetupForm->Window()->label(), (out / "setup.png").string()) && ok;
  SetupForm->Hide();

  App().CreateForm(ErrorForm);
  World().ErrorText = Tr("PAL256.PALがありません。");
  ErrorForm->Show();
  ok = Shoot(ErrorForm->Window(), ErrorForm->Window()->label(), (out / "error.png").string()) && ok;
  ErrorForm->Hide();

  // The game's start-up window, shown without its creation handler (which
  // would start the game).
  auto* game = new GameWindow(World(), false);
  Fl_Window* w = game->Window();
  w->position((Fl::w() - w->w()) / 2, (Fl::h() - w->h()) / 2);
  w->show();
  ok = Shoot(w, "", (out / "startup.png").string()) && ok;
  w->hide();
  delete game;
  return ok && ShootPasswordBox(out);
}

}  // namespace

int main(int argc, char** argv) {
  SetReportingName(ProgramShortName());
  UseLanguage(UserLanguages());
  if (argc < 2) {
    std::fprintf(stderr, "usage: zuk-shots OUTDIR [README]\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  const std::filesystem::path work = PrepareSystemFolder(argc >= 3 ? argv[2] : nullptr);
  if (work.empty()) return 1;

  fl_open_display();
  InitFonts();
  g_fltkMessageBox = App().MessageBoxHook;
  App().MessageBoxHook = [](const std::string& caption, const std::string& text, int) {
    std::fprintf(stderr, "zuk-shots: message box %s: %s\n", caption.c_str(), text.c_str());
  };
  int status = 0;
  try {
    if (!ShootWindows(out)) status = 1;
  } catch (const ProgramEndSignal&) {
    std::fprintf(stderr, "zuk-shots: a window ended the program\n");
    status = 1;
  }
  App().DestroyForms();
  std::error_code ec;
  std::filesystem::remove_all(work, ec);
  return status;
}
