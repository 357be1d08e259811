// The focus on Windows: WM_SETFOCUS and WM_KILLFOCUS are sent straight to a
// window's procedure (no system handler sees them); FLTK turns them into
// FL_FOCUS and FL_UNFOCUS for the window, which its event dispatch hears.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "shell/form.h"
#include "shell/form_focus.h"

namespace {

int DispatchNotingFocus(int event, Fl_Window* window) {
  if ((event == FL_FOCUS || event == FL_UNFOCUS) && window != nullptr) {
    for (Form* f : std::vector<Form*>(LiveForms())) {
      if (f->Window() == window) f->NotifyFocus(event == FL_FOCUS);
    }
  }
  return Fl::handle_(event, window);
}

}  // namespace

void WatchFocus() { Fl::event_dispatch(DispatchNotingFocus); }
