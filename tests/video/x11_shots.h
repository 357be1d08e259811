// Test helpers for pictures on an X server: a test frame that tells every
// picture column and row apart, the window that the scaler would make of
// it, and screenshots. Include after the test framework (Xlib's macros).
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "video/presenter.h"
#include "video/picture_convert.h"
#include "video/picture_mapping.h"

struct TestFrame {
  std::vector<uint8_t> pixels = std::vector<uint8_t>(640 * 480);
  std::vector<uint32_t> argb = std::vector<uint32_t>(256);
  TestFrame() {
    // Neighbouring columns and rows differ, and so do their colours.
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        pixels[static_cast<size_t>(y * 640 + x)] = static_cast<uint8_t>(x + 7 * y);
    for (uint32_t i = 0; i < 256; ++i) argb[i] = 0xFF000000u | (i * 0x010307u + 0x102030u) % 0xFFFFFFu;
  }
  void ShowOn(Presenter& p) const { p.Present(pixels.data(), 640, argb.data()); }
};

// The frame in a window of w x h as the scaler draws it: letterboxed, black
// borders, 0xRRGGBB.
inline std::vector<uint32_t> ScaledWindow(const TestFrame& f, int w, int h) {
  std::vector<uint32_t> out(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  const PictureRect r = LetterboxRect(w, h);
  PictureScaler scaler;
  scaler.Resize(r.w, r.h);
  scaler.Scale(f.pixels.data(), 640, f.argb.data(), out.data() + r.y * w + r.x, w * 4);
  for (uint32_t& p : out) p &= 0xFFFFFFu;
  return out;
}

// The window's pixels as 0xRRGGBB (empty when it can't be read).
inline std::vector<uint32_t> Grab(Display* dpy, Window w, int width, int height) {
  std::vector<uint32_t> out;
  XImage* img = XGetImage(dpy, w, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                          AllPlanes, ZPixmap);
  if (img == nullptr) return out;
  out.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out[static_cast<size_t>(y * width + x)] = static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFFu;
  XDestroyImage(img);
  return out;
}

// Waits (up to 3 s) until the window shows `expected`; the last grab.
inline std::vector<uint32_t> GrabWhenShown(Display* dpy, Window w, int width, int height,
                                           const std::vector<uint32_t>& expected) {
  std::vector<uint32_t> shot;
  for (int i = 0; i < 150; ++i) {
    XSync(dpy, False);
    shot = Grab(dpy, w, width, height);
    if (shot == expected) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return shot;
}

// Number of pixels that differ (the size when the sizes differ).
inline size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return a.size() > b.size() ? a.size() : b.size();
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

// An X server of its own size for one test (the display number it picked
// itself, so that nothing else running collides with it).
class OwnXServer {
 public:
  explicit OwnXServer(const char* screen) {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // The number, then a newline once the server listens.
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (c == '\n' && !number.empty()) name_ = ":" + number;
  }
  ~OwnXServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// An X server of its own, made the display of the test (DISPLAY) for as long
// as this lives; the display before is put back after.
class OwnDisplay {
 public:
  explicit OwnDisplay(const char* screen) : server_(screen) {
    const char* display = std::getenv("DISPLAY");
    before_ = display != nullptr ? display : "";
    if (!server_.Name().empty()) setenv("DISPLAY", server_.Name().c_str(), 1);
  }
  ~OwnDisplay() { setenv("DISPLAY", before_.c_str(), 1); }
  OwnDisplay(const OwnDisplay&) = delete;
  OwnDisplay& operator=(const OwnDisplay&) = delete;
  bool Started() const { return !server_.Name().empty(); }

 private:
  OwnXServer server_;
  std::string before_;
};
