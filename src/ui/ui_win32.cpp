// The parts of the dialog windows that talk to Windows directly.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "ui/dialog_frame.h"
#include "ui/ui_controls.h"

void MarkAsDialog(Fl_Window* w) {
  if (w == nullptr || !w->shown()) return;
  HWND hwnd = fl_xid(w);
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  // The frame drawn again without the boxes.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void KeepWindowAbove(Fl_Window* w) {
  if (w == nullptr || !w->shown()) return;
  SetWindowPos(fl_xid(w), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(fl_xid(w));
}
