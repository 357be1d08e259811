// The parts of the dialog windows that talk to the X server directly.
#include <FL/Fl.H>
#include <FL/x.H>

#include <cstring>

#include "ui/ui_controls.h"
#include "ui/dialog_frame.h"

// ---------------------------------------------------------------------------
// Window frame

namespace {

// Motif hints: the frame offers moving and closing only (no resizing, no
// minimise or maximise), with a title bar, a border and a window menu.
struct MotifWmHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long input_mode;
  unsigned long status;
};
constexpr unsigned long kMwmHintsFunctions = 1UL << 0;
constexpr unsigned long kMwmHintsDecorations = 1UL << 1;
constexpr unsigned long kMwmFuncMove = 1UL << 2;
constexpr unsigned long kMwmFuncClose = 1UL << 5;
constexpr unsigned long kMwmDecorBorder = 1UL << 1;
constexpr unsigned long kMwmDecorTitle = 1UL << 3;
constexpr unsigned long kMwmDecorMenu = 1UL << 4;

}  // namespace

void MarkAsDialog(Fl_Window* w) {
  if (fl_display == nullptr || !w->shown()) return;
  const Window xid = fl_xid(w);
  Atom type = XInternAtom(fl_display, "_NET_WM_WINDOW_TYPE", False);
  Atom dialog = XInternAtom(fl_display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(fl_display, xid, type, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&dialog), 1);
  MotifWmHints hints{kMwmHintsFunctions | kMwmHintsDecorations, kMwmFuncMove | kMwmFuncClose,
                     kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu, 0, 0};
  Atom motif = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&hints), 5);
  XFlush(fl_display);
}

void KeepWindowAbove(Fl_Window* w) {
  if (fl_display == nullptr || w == nullptr || !w->shown()) return;
  const Window xid = fl_xid(w);
  const Window root = RootWindow(fl_display, fl_screen);
  Atom state = XInternAtom(fl_display, "_NET_WM_STATE", False);
  Atom above = XInternAtom(fl_display, "_NET_WM_STATE_ABOVE", False);
  // The state as a property (read by a window manager when it manages the
  // window, and the whole story without one), added to the states the
  // window already has ...
  bool present = false;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(fl_display, xid, state, 0, 64, False, XA_ATOM, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) present = present || atoms[i] == above;
    XFree(data);
  }
  if (!present) {
    XChangeProperty(fl_display, xid, state, XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<unsigned char*>(&above), 1);
  }
  // ... and as a request to a running window manager.
  XEvent ev;
  std::memset(&ev, 0, sizeof ev);
  ev.xclient.type = ClientMessage;
  ev.xclient.window = xid;
  ev.xclient.message_type = state;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
  ev.xclient.data.l[1] = static_cast<long>(above);
  ev.xclient.data.l[2] = 0;
  ev.xclient.data.l[3] = 1;  // a normal application
  XSendEvent(fl_display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XRaiseWindow(fl_display, xid);
  XFlush(fl_display);
}

