#include "video/x11_errors.h"

#include <X11/Xlib.h>

namespace {

int g_refusal = 0;
int RecordRefusal(Display*, XErrorEvent* e) {
  if (g_refusal == 0) g_refusal = e->error_code;
  return 0;
}

}  // namespace

int TryX11Request(Display* dpy, const std::function<void()>& request) {
  XSync(dpy, False);
  g_refusal = 0;
  auto previous = XSetErrorHandler(RecordRefusal);
  request();
  XSync(dpy, False);
  XSetErrorHandler(previous);
  return g_refusal;
}
