// A tour of every window in each language of the build and each factor,
// for the tests that look at all their texts and places.
#pragma once

#include <FL/Fl_Window.H>

#include <cstdio>
#include <functional>
#include <memory>
#include <initializer_list>
#include <string>

#include "base/catalogue.h"
#include "config/settings.h"
#include "game/world_state.h"
#include "shell/ui_scale.h"
#include "support/languages.h"
#include "ui/error_window.h"
#include "ui/game_window.h"
#include "ui/readme_window.h"
#include "ui/settings_window.h"
#include "ui/setup_window.h"
#include "ui/ui_fixture.h"

namespace uitest {

// Where the tour stands: the window's name, the language and the factor.
struct TourStop {
  std::string window;
  std::string language;
  float scale;
  std::string where;  // "readme, en, factor 2"
};

// Each window in each language and factor, made and then destroyed, handed
// to `check` with where it is.
class TextFitTest : public UiTest {
 protected:
  void ForEachWindow(const std::function<void(Fl_Window&, const TourStop&)>& check,
                     std::initializer_list<float> scales = {1.0f, 2.0f}) {
    ASSERT_TRUE(LoadDialogFont());
    ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
    std::unique_ptr<GameWindow> startup;
    std::unique_ptr<Fl_Window> box;  // sizes itself, within the screen
    const auto longError = [] {
      return Fill(Tr("データファイルのフォルダ名に改行などの制御文字が含まれているため、設定ファイルに記録できません: %s"),
                  {"/home/someone/zuk_rer1"});
    };
    const auto errorWith = [&](const std::string& text) {
      World().ErrorText = text;
      app.CreateForm(ErrorForm)->FormActivate();
      return ErrorForm->Window();
    };
    const std::pair<const char*, std::function<Fl_Window*()>> windows[] = {
        {"settings", [&] { return app.CreateForm(SettingsForm)->Window(); }},
        {"setup", [&] { return app.CreateForm(SetupForm)->Window(); }},
        {"readme", [&] { return app.CreateForm(ReadmeForm)->Window(); }},
        {"error, typical", [&] { return errorWith(Tr("PAL256.PALがありません。")); }},
        {"error, long", [&] { return errorWith(longError()); }},
        {"start-up", [&] { return (startup = std::make_unique<GameWindow>(World(), false))->Window(); }},
        {"message box", [&] {
           return (box = MakeMessageBox("", longError() + "\n" + Tr("セットアップは完了していません。"), 1)).get();
         }},
    };
    for (const std::string& language : testsupport::BuildLanguages()) {
      UseLanguage({language});
      for (const float scale : scales) {
        ScaleEveryScreen(scale);
        for (const auto& [name, make] : windows) {
          Fl_Window* window = make();
          char factor[16];
          std::snprintf(factor, sizeof factor, "%g", scale);
          check(*window, {name, language, scale, std::string(name) + ", " + language + ", factor " + factor});
          EXPECT_TRUE(window != box.get() || window->w() <= Fl::w()) << name << ": wider than the screen";
          app.DestroyForms();
          startup.reset();
          box.reset();
        }
      }
    }
    UseLanguage({"C"});
    ScaleEveryScreen(1);
  }
};


}  // namespace uitest
