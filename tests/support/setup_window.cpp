#include "support/setup_window.h"

#include "support/process.h"

namespace testsupport {

const char* const kSetupCaption = "ＺＵＫスクリーンセーバー Ver1.91　セットアップ";

std::string PressSetupStart(int timeoutMs) {
  if (!WaitForWindow(kSetupCaption, timeoutMs)) return "no setup window";
  // The install button "セットアップ開始" lies at 400, 140, 157 x 29 in the client area.
  Shell("xdotool mousemove --window " + WindowsNamed(kSetupCaption).front() + " 478 154 click 1");
  const std::string doneCaption = "ＺＵＫスクリーンセーバーＮｏ．１";
  if (!WaitForWindow(doneCaption, timeoutMs)) return "no completion message";
  Shell("xdotool key --window " + WindowsNamed(doneCaption).front() + " Return");
  return "";
}

}  // namespace testsupport
