// A game host without windows, for headless runs, tests and benchmarks: a
// round of messages is only counted, a wait moves the platform's clock, and
// the program's end and a fatal error are thrown as HeadlessEnd (the error's
// text kept).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/host.h"
#include "platform/platform.h"

struct HeadlessEnd {};

class HeadlessHost : public GameHost {
 public:
  void ProcessMessages() override {
    ++MessageRounds;
    if (OnRound) OnRound();
  }
  void WaitMessages(uint32_t timeoutMs) override {
    Sys().WaitForEvents(timeoutMs);
    ProcessMessages();
  }
  void GiveWayToPicture() override { ++PictureHandOvers; }
  void HideGameWindow() override { ++WindowHidings; }

  std::function<void()> OnRound;  // called in every round (tests)
  int MessageRounds = 0;
  int PictureHandOvers = 0;
  int WindowHidings = 0;
  std::vector<std::string> FatalErrors;

 protected:
  void End() override { throw HeadlessEnd{}; }
  void Fail(const std::string& text) override {
    FatalErrors.push_back(text);
    throw HeadlessEnd{};
  }
};
