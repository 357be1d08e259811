// What the game asks of the program around it: the window messages (the
// game's input handlers run in them), the game window's steps, the
// program's end and its one way of reporting a fatal error. The game
// window hands itself to the game as its host; tests and the headless
// runner hand in their own.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

class GameHost {
 public:
  virtual ~GameHost() = default;
  // One round of the pending window messages.
  virtual void ProcessMessages() = 0;
  // Waits up to timeoutMs for messages, then handles what is pending.
  virtual void WaitMessages(uint32_t timeoutMs) = 0;
  // The game window gives way to the picture: its start-up controls go, it
  // turns black, and from now on the picture's input reaches the game.
  virtual void GiveWayToPicture() = 0;
  virtual void HideGameWindow() = 0;
  // Ends the program at once.
  [[noreturn]] void EndProgram() {
    End();
    std::abort();  // End never returns
  }
  // The error window, a message box with the same text, then the end.
  [[noreturn]] void ReportFatalError(const std::string& text) {
    Fail(text);
    std::abort();  // Fail never returns
  }

 protected:
  // What EndProgram and ReportFatalError do: both end the program (by an
  // exception that unwinds to its entry, or by its exit).
  virtual void End() = 0;
  virtual void Fail(const std::string& text) = 0;
};
