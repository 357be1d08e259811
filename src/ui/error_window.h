// TForm5: the error window, and the one way the screen saver reports a fatal
// error: the error window shown modally, then a message box, then the end.
#pragma once

#include <string>

#include "shell/form.h"

class Fl_Box;
class Fl_Button;

class TForm5 : public TForm {
 public:
  TForm5();
  ~TForm5() override;
  void FormActivate() override;
  void Button1Click();
  void Timer1Timer();

  std::string Label1Caption() const { return label1Caption_; }
  // The controls, for the screenshot tool and the tests.
  Fl_Box* Label1Widget() const { return label1_; }
  Fl_Button* Button1Widget() const { return button1_; }
  bool TimerEnabled() const { return timerEnabled_; }

 private:
  std::string label1Caption_;
  bool timerEnabled_ = false;
  Fl_Box* label1_ = nullptr;
  Fl_Button* button1_ = nullptr;
  static void TimerThunk(void* self);
};

extern TForm5* Form5;

// ErrorText := text; the error window modally (when it exists); a message box
// with the same text; the end of the program.
[[noreturn]] void ReportFatalError(const std::string& text);
