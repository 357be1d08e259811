// GDK_SCALE and the names that window managers read, on X11.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xutil.h>

#include <cstdlib>

#include "shell/ui_scale.h"

void ApplyDesktopScale() {
  if (const int factor = FactorFromGdkScale(std::getenv("GDK_SCALE"))) ScaleEveryScreen(static_cast<float>(factor));
}

void NameForWindowManagers(Fl_Window* window) {
  if (fl_display == nullptr || window == nullptr || !window->shown()) return;
  const Window xid = fl_xid(window);
  char name[] = "zuk_rer1";
  char klass[] = "Zuk_rer1";
  XClassHint hint{name, klass};
  XSetClassHint(fl_display, xid, &hint);
  if (window->label() == nullptr) return;
  char* title = const_cast<char*>(window->label());
  XTextProperty text{};
  if (Xutf8TextListToTextProperty(fl_display, &title, 1, XCompoundTextStyle, &text) == Success) {
    XSetWMName(fl_display, xid, &text);
    XSetWMIconName(fl_display, xid, &text);
    XFree(text.value);
  }
}
