#include "video/x11_errors.h"

#include <cstdio>

#include <X11/Xlib.h>

namespace {

int g_refusal = 0;
int RecordRefusal(Display*, XErrorEvent* e) {
  if (g_refusal == 0) g_refusal = e->error_code;
  return 0;
}

}  // namespace

std::string X11ErrorText(Display* dpy, int code) {
  char text[160] = "";
  XGetErrorText(dpy, code, text, sizeof text);
  return text;
}

int TryX11Request(Display* dpy, const std::function<void()>& request) {
  XSync(dpy, False);
  g_refusal = 0;
  auto previous = XSetErrorHandler(RecordRefusal);
  request();
  XSync(dpy, False);
  XSetErrorHandler(previous);
  return g_refusal;
}

std::string X11IdText(unsigned long id) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

std::string X11MissingWindowText(Display* dpy, unsigned long id) {
  return "window " + X11IdText(id) + " does not exist on display " + DisplayString(dpy);
}
