// Base class of the program's windows. A form may have an FLTK window; in
// headless runs it has none and showing and hiding only change its state.
#pragma once

#include <string>

class Fl_Window;

class Form {
 public:
  Form();
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  virtual void FormCreate() {}
  virtual void FormDestroy() {}
  virtual void FormActivate() {}
  virtual void FormHide() {}

  // Shows the window (centred when Centered); runs FormActivate.
  virtual void Show();
  // Hides it; runs FormHide when it was visible.
  virtual void Hide();
  // Closing: hides, and ends the message loop when this is the main form.
  virtual void Close();
  // Shows the form modally: returns once it has been closed or hidden.
  virtual void ShowModal();
  bool Visible() const { return visible_; }

  Fl_Window* Window() const { return window_; }
  // The window got (true) or lost (false) the input focus; gaining it after
  // having lost it runs FormActivate.
  void NotifyFocus(bool gained);

 protected:
  Fl_Window* window_ = nullptr;  // owned; nullptr for headless forms
  bool visible_ = false;
  bool centered_ = true;
  bool active_ = false;
  // Centres the window on the screen.
  void CenterOnScreen();
  // Installs the close-box handling on window_ (calls Close()).
  void HookCloseBox();
};
