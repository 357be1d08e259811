// Test support: an X server of the test's own, and what a picture on an X
// display looks like.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>

namespace testsupport {

// An X server of the test's own, on the first free display number: one that
// the test may kill, or that an unprivileged user may use (no access
// control).
class OwnXServer {
 public:
  explicit OwnXServer(const std::string& screen = "1024x768x24");
  ~OwnXServer() { Kill(SIGTERM); }
  OwnXServer(const OwnXServer&) = delete;
  OwnXServer& operator=(const OwnXServer&) = delete;
  const std::string& Display() const { return display_; }
  // Ends the server with the signal `sig` and waits for it.
  void Kill(int sig);

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Distinct colours in a window's picture (xwd, then ImageMagick), with the
// display's size check: "<colours> <w>x<h>". `window` is an id or "root".
std::string PictureOf(const std::string& window, const std::string& display = "");

int ColoursIn(const std::string& picture);

}  // namespace testsupport
