// TForm3: the settings window. It shows the settings file's values with two
// track bars and four check boxes and saves them on "設定完了".
#pragma once

#include <memory>
#include <string>

#include "shell/form.h"

class Fl_Box;
class Fl_Button;
class Fl_Check_Button;
class Fl_RGB_Image;
class TLabel;
class TShape;
class TTrackBar;
struct WindowSettings;

class TForm3 : public TForm {
 public:
  TForm3();
  ~TForm3() override;

  // Reads the settings file into the controls; without a PATH line: the
  // message box "設定ファイルがありません", then the end of the program.
  void FormCreate() override;
  void FormHide() override;
  void TrackBar1Change();
  // Saves and ends; a save that fails is reported and the window stays.
  void Button1Click();
  void BitBtn1Click();

  // The control values as the settings writer takes them.
  WindowSettings Values() const;
  // The install folder with its trailing '/', from the PATH line.
  std::string DataPath;

  Fl_Box* Image1 = nullptr;
  TLabel* Label9 = nullptr;
  TLabel* Label1 = nullptr;
  TShape* Shape1 = nullptr;
  TLabel* Label7 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label2 = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  TLabel* Label11 = nullptr;
  TLabel* Label10 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label6 = nullptr;
  TLabel* Label5 = nullptr;
  TTrackBar* TrackBar2 = nullptr;
  Fl_Check_Button* CheckBox3 = nullptr;
  Fl_Check_Button* CheckBox2 = nullptr;
  Fl_Check_Button* CheckBox1 = nullptr;
  Fl_Check_Button* CheckBox4 = nullptr;
  Fl_Button* BitBtn1 = nullptr;
  TShape* Shape2 = nullptr;
  Fl_Button* Button1 = nullptr;

 private:
  std::unique_ptr<Fl_RGB_Image> splash_;
};

extern TForm3* Form3;
