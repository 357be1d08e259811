// The window shell: the application object with its title, forms, message
// pump, message loop, message box, general error handler and program end.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/windows_names_push.h"

class Form;

// Thrown by ProgramEnd(): unwinds to the program entry, which destroys the
// forms and returns 0. Not a std::exception, so that the general error
// handler never catches it.
struct ProgramEndSignal {
  int exitCode = 0;
};

// Something that has events to hand out: FLTK, SDL, or a scripted source.
class MessageSource {
 public:
  virtual ~MessageSource() = default;
  // Handles every event that is pending now, without blocking.
  virtual void Pump() = 0;
};

class Application {
 public:
  Application();
  ~Application();

  // The title used as the caption of every message box.
  std::string Title;
  // Sets Title from a program file name: "ZUK_RER1.EXE" gives "Zuk_rer1".
  static std::string TitleFromFileName(const std::string& path);

  // Creates a form: sets the reference, registers it for destruction at the
  // end, then runs its creation handler. An error escaping the handler goes
  // to the general error handler and the form stays.
  template <class T, class... Args>
  T* CreateForm(T*& ref, Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    ref = form;
    Register(form);
    clearers_[form] = [&ref] { ref = nullptr; };
    RunCreate(form);
    return form;
  }

  Form* MainForm = nullptr;

  // One round of every pending event of every source.
  void ProcessMessages();
  // Waits up to timeoutMs for events, then handles what is pending.
  void WaitMessages(uint32_t timeoutMs);
  // The message loop: shows the main form and dispatches until it closes or
  // Terminate() is called. Returns at once without a main form.
  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  // Modal message box with one OK button, captioned with Title.
  void MessageBox(const std::string& text);
  // The general error handler: a message box with the stop icon; the text
  // gets a "." when its last character is above "."; the program goes on.
  void HandleException(const std::exception& e);
  static std::string ErrorMessageText(const std::string& text);
  // Runs an event handler; an error escaping it goes to HandleException.
  void RunHandler(const std::function<void()>& handler);

  // Destroys every form, newest first, running its destruction handler.
  void DestroyForms();

  void AddSource(MessageSource* s);
  void RemoveSource(MessageSource* s);

  // Replaceable for tests and the headless runner: how a message box is
  // shown (kind 0 plain, 1 stop icon).
  std::function<void(const std::string& caption, const std::string& text, int kind)> MessageBoxHook;
  // Whether FLTK is in use (false in tests and headless runs that need no
  // windows).
  bool Windowed = true;

 private:
  void Register(Form* f);
  void RunCreate(Form* f);
  std::vector<Form*> forms_;
  std::map<Form*, std::function<void()>> clearers_;
  std::vector<MessageSource*> sources_;
  bool terminated_ = false;
};

#include "base/windows_names_pop.h"

// The program's application object.
Application& App();
// Replaces the application object (tests). Not owned; nullptr restores.
void SetApp(Application* a);

class Fl_Window;
// The window of the message box that MessageBoxHook shows by default (kind 0
// plain, 1 stop icon): the text as wide and high as its lines, an OK button
// last, centred on the main screen; not shown yet.
std::unique_ptr<Fl_Window> MakeMessageBox(const std::string& caption, const std::string& text, int kind);

// Ends the program at once: throws ProgramEndSignal, which the program entry
// catches to destroy the forms newest first and return the exit code (0
// unless the start was refused).
[[noreturn]] void ProgramEnd(int exitCode = 0);
// True once ProgramEnd has been called: the program is on its way out (the
// forms' destruction may still let messages run), and an ending signal seen
// then must not end it a second time outside the program entry's reach.
bool ProgramEnding();
