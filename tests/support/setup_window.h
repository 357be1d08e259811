// Test support: working the real setup window of a running program, as a
// user does.
#pragma once

#include <string>

namespace testsupport {

// The setup window's caption.
extern const char* const kSetupCaption;

// Waits for the setup window, clicks "セットアップ開始" and confirms the
// completion message with Return. Returns "" when both windows came, else
// which one did not.
std::string PressSetupStart(int timeoutMs);

}  // namespace testsupport
