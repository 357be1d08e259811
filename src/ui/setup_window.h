// TForm2: the setup window. It checks that the display can be used, and its
// button writes the default settings file and installs the program into the
// system folder as zuk_rer1.scr.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "shell/form.h"

class Fl_Box;
class Fl_Button;
class Fl_RGB_Image;
class TLabel;
class TShape;

class TForm2 : public TForm {
 public:
  TForm2();
  ~TForm2() override;

  // The display probe, on every activation: without a usable display the
  // message box "★ZUK_RER1ｽｸﾘｰﾝｾｰﾊﾞｰで、DirectＸが使用できません。" and the
  // end of the program.
  void FormActivate() override;
  void FormHide() override;
  // Installs and ends; a write or copy that fails is reported and the
  // window stays open for another try.
  void Button1Click();
  void BitBtn1Click();

  // Replaceable for tests: the probe and the program file that is copied.
  std::function<bool()> ProbeDisplayFn;
  std::string ProgramPath = "/proc/self/exe";

  Fl_Box* Image1 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label13 = nullptr;
  TLabel* Label6 = nullptr;
  TShape* Shape2 = nullptr;
  Fl_Button* BitBtn1 = nullptr;
  Fl_Button* Button1 = nullptr;

 private:
  std::unique_ptr<Fl_RGB_Image> splash_;
};

extern TForm2* Form2;

// Copies source to target, replacing target in one step: the copy goes to a
// temporary file in target's folder, is flushed to the disk, made
// executable (0755) and renamed over target. On failure nothing is left
// behind, failedFile names the file that could not be read or written, and
// errno tells why.
bool InstallProgramCopy(const std::string& source, const std::string& target,
                        std::string& failedFile);
