// The focus, from the X server's FocusIn and FocusOut events.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "shell/form.h"
#include "shell/form_focus.h"

namespace {

// Activation: a form's window that receives the input focus after having
// lost it becomes active again and runs FormActivate.
// On Wayland there are no X events (FLTK hands none).
int FocusWatcher(void* event, void*) {
  if (event == nullptr || fl_x11_display() == nullptr) return 0;
  const XEvent* xe = static_cast<const XEvent*>(event);
  if (xe->type != FocusIn && xe->type != FocusOut) return 0;
  if (xe->xfocus.detail == NotifyInferior || xe->xfocus.detail == NotifyPointer) return 0;
  for (Form* f : std::vector<Form*>(LiveForms())) {
    Fl_Window* w = f->Window();
    if (w == nullptr || !w->shown() || fl_xid(w) != xe->xfocus.window) continue;
    if (xe->type == FocusIn) {
      f->NotifyFocus(true);
    } else {
      f->NotifyFocus(false);
    }
  }
  return 0;
}

}  // namespace

void WatchFocus() {
  static bool installed = false;
  if (installed) return;
  Fl::add_system_handler(FocusWatcher, nullptr);
  installed = true;
}
