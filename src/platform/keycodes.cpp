#include "platform/keycodes.h"

#include <FL/Enumerations.H>

#include <SDL.h>

uint16_t VirtualKeyFromSdl(int32_t scancode, int32_t keycode) {
  // Keypad first, by position.
  switch (scancode) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_1: return VK_NUMPAD1;
    case SDL_SCANCODE_KP_2: return VK_NUMPAD2;
    case SDL_SCANCODE_KP_3: return VK_NUMPAD3;
    case SDL_SCANCODE_KP_4: return VK_NUMPAD4;
    case SDL_SCANCODE_KP_5: return VK_NUMPAD5;
    case SDL_SCANCODE_KP_6: return VK_NUMPAD6;
    case SDL_SCANCODE_KP_7: return VK_NUMPAD7;
    case SDL_SCANCODE_KP_8: return VK_NUMPAD8;
    case SDL_SCANCODE_KP_9: return VK_NUMPAD9;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    default: break;
  }
  if (keycode >= 'a' && keycode <= 'z') return static_cast<uint16_t>(VK_A + (keycode - 'a'));
  if (keycode >= '0' && keycode <= '9') return static_cast<uint16_t>(VK_0 + (keycode - '0'));
  // A letter key of a non-Latin layout (Cyrillic, Greek...) still gives the
  // Latin letter of its place, as virtual-key codes do.
  if ((keycode & SDLK_SCANCODE_MASK) == 0 && keycode > 0x7F && scancode >= SDL_SCANCODE_A &&
      scancode <= SDL_SCANCODE_Z) {
    return static_cast<uint16_t>(VK_A + (scancode - SDL_SCANCODE_A));
  }
  if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return static_cast<uint16_t>(VK_F1 + (keycode - SDLK_F1));
  if (keycode >= SDLK_F13 && keycode <= SDLK_F24) return static_cast<uint16_t>(VK_F1 + 12 + (keycode - SDLK_F13));
  switch (keycode) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_CLEAR: return VK_CLEAR;
    case SDLK_RETURN: case SDLK_RETURN2: return VK_RETURN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: case SDLK_MODE: return VK_MENU;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_SELECT: return VK_SELECT;
    case SDLK_EXECUTE: return VK_EXECUTE;
    case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_HELP: return VK_HELP;
    case SDLK_LGUI: return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_APPLICATION: case SDLK_MENU: return VK_APPS;
    case SDLK_SLEEP: return VK_SLEEP;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_MUTE: case SDLK_AUDIOMUTE: return VK_VOLUME_MUTE;
    case SDLK_VOLUMEDOWN: return VK_VOLUME_DOWN;
    case SDLK_VOLUMEUP: return VK_VOLUME_UP;
    case SDLK_AUDIONEXT: return VK_MEDIA_NEXT_TRACK;
    case SDLK_AUDIOPREV: return VK_MEDIA_PREV_TRACK;
    case SDLK_AUDIOSTOP: return VK_MEDIA_STOP;
    case SDLK_AUDIOPLAY: return VK_MEDIA_PLAY_PAUSE;
    case SDLK_SEMICOLON: case SDLK_COLON: return VK_OEM_1;
    case SDLK_EQUALS: case SDLK_PLUS: return VK_OEM_PLUS;
    case SDLK_COMMA: case SDLK_LESS: return VK_OEM_COMMA;
    case SDLK_MINUS: case SDLK_UNDERSCORE: return VK_OEM_MINUS;
    case SDLK_PERIOD: case SDLK_GREATER: return VK_OEM_PERIOD;
    case SDLK_SLASH: case SDLK_QUESTION: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: case SDLK_QUOTEDBL: return VK_OEM_7;
    default: break;
  }
  if (scancode == SDL_SCANCODE_NONUSBACKSLASH) return VK_OEM_102;
  return VK_UNKNOWN;
}

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
