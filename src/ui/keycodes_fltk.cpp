#include "ui/keycodes_fltk.h"

#include <FL/Enumerations.H>

#include "platform/keycodes.h"

using namespace dx;

uint16_t VirtualKeyFromFltk(int key) {
  if (key >= 'a' && key <= 'z') return static_cast<uint16_t>(VK_A + (key - 'a'));
  if (key >= 'A' && key <= 'Z') return static_cast<uint16_t>(VK_A + (key - 'A'));
  if (key >= '0' && key <= '9') return static_cast<uint16_t>(VK_0 + (key - '0'));
  if (key >= FL_KP + '0' && key <= FL_KP + '9') return static_cast<uint16_t>(VK_NUMPAD0 + (key - FL_KP - '0'));
  if (key >= FL_F + 1 && key <= FL_F + 24) return static_cast<uint16_t>(VK_F1 + (key - FL_F - 1));
  switch (key) {
    case FL_Escape: return VK_ESCAPE;
    case ' ': return VK_SPACE;
    case FL_Left: return VK_LEFT;
    case FL_Up: return VK_UP;
    case FL_Right: return VK_RIGHT;
    case FL_Down: return VK_DOWN;
    case FL_Enter: case FL_KP_Enter: return VK_RETURN;
    case FL_Shift_L: case FL_Shift_R: return VK_SHIFT;
    case FL_Control_L: case FL_Control_R: return VK_CONTROL;
    case FL_Alt_L: case FL_Alt_R: return VK_MENU;
    case FL_Tab: return VK_TAB;
    case FL_BackSpace: return VK_BACK;
    case FL_Insert: return VK_INSERT;
    case FL_Delete: return VK_DELETE;
    case FL_Home: return VK_HOME;
    case FL_End: return VK_END;
    case FL_Page_Up: return VK_PRIOR;
    case FL_Page_Down: return VK_NEXT;
    case FL_Pause: return VK_PAUSE;
    case FL_Print: return VK_SNAPSHOT;
    case FL_Caps_Lock: return VK_CAPITAL;
    case FL_Num_Lock: return VK_NUMLOCK;
    case FL_Scroll_Lock: return VK_SCROLL;
    case FL_Meta_L: return VK_LWIN;
    case FL_Meta_R: return VK_RWIN;
    case FL_Menu: return VK_APPS;
    default: return VK_UNKNOWN;
  }
}
