// The error window, and the one way the screen saver reports a fatal error:
// the error window shown modally, then a message box, then the end.
#pragma once

#include <string>

#include "shell/form.h"

class Fl_Box;
class Fl_Button;

class ErrorWindow : public Form {
 public:
  ErrorWindow();
  ~ErrorWindow() override;
  void FormActivate() override;
  void EndProgram();
  void KeepScreenAwake();

  std::string Message() const { return message_; }
  // The controls, for the screenshot tool and the tests.
  Fl_Box* MessageWidget() const { return messageWidget_; }
  Fl_Button* CloseButtonWidget() const { return closeButton_; }
  bool TimerEnabled() const { return timerEnabled_; }

 private:
  std::string message_;
  bool timerEnabled_ = false;
  Fl_Box* messageWidget_ = nullptr;
  Fl_Button* closeButton_ = nullptr;
  static void TimerThunk(void* self);
};

extern ErrorWindow* ErrorForm;

// ErrorText := text; the error window modally (when it exists); a message box
// with the same text; the end of the program.
[[noreturn]] void ReportFatalError(const std::string& text);
