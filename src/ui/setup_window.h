// The setup window: it checks that the display can be used, and its button
// writes the default settings file and installs the program into the system
// folder as zuk_rer1.scr.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/form.h"

class Fl_Box;
class Fl_Button;
class Fl_RGB_Image;
class Label;
class Shape;

class SetupWindow : public Form {
 public:
  SetupWindow();
  ~SetupWindow() override;

  // The display probe, on every activation: without a usable display the
  // message box "★ZUK_RER1ｽｸﾘｰﾝｾｰﾊﾞｰで、DirectＸが使用できません。" and the
  // end of the program.
  void FormActivate() override;
  void FormHide() override;
  // Installs and ends; a write or copy that fails is reported (the window
  // hidden under the box, as for the success box) and the window comes back
  // for another try. The settings file, written last, records the first of
  // DataFolderCandidates that holds the data files; with none, setup says
  // so and writes nothing. A failure before it keeps the user's settings.
  void Install();
  std::vector<std::string> DataFolderCandidates(const std::string& currentDir) const;
  // readme.txt of the folder that Install records as holding the data
  // files (the current folder when none does).
  void ShowReadme();

  Fl_Box* Picture = nullptr;
  Label* MakerLabel = nullptr;
  Label* PickLabel = nullptr;
  Label* PickLabel2 = nullptr;
  Label* NoWarrantyLabel = nullptr;
  Label* NoWarrantyLabel2 = nullptr;
  Shape* ButtonFrame = nullptr;
  Fl_Button* ReadmeButton = nullptr;
  Fl_Button* InstallButton = nullptr;

 private:
  std::unique_ptr<Fl_RGB_Image> splash_;
};

extern SetupWindow* SetupForm;

// Puts `probe` in place of the setup window's display probe (ProbeDisplay)
// for as long as it lives, then the one before it.
class ScopedDisplayProbe {
 public:
  explicit ScopedDisplayProbe(std::function<bool()> probe);
  ~ScopedDisplayProbe();
  ScopedDisplayProbe(const ScopedDisplayProbe&) = delete;
  ScopedDisplayProbe& operator=(const ScopedDisplayProbe&) = delete;

 private:
  std::function<bool()> previous_;
};

// Copies source to target, replacing target in one step: the copy goes to a
// temporary file in target's folder, is flushed to the disk, made
// executable (0755) and renamed over target. On failure nothing is left
// behind, failedFile names the file that could not be read or written, and
// errno tells why.
bool InstallProgramCopy(const std::string& source, const std::string& target,
                        std::string& failedFile);
