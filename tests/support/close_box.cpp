#include "support/process.h"

#include <X11/Xlib.h>

namespace testsupport {

bool CloseLikeCloseBox(const std::string& windowId) {
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) return false;
  const Window win = static_cast<Window>(std::stoul(windowId));
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = win;
  ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, win, False, NoEventMask, &ev);
  XFlush(d);
  XCloseDisplay(d);
  return true;
}

}  // namespace testsupport
