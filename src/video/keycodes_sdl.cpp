#include "video/keycodes_sdl.h"

#include <SDL.h>

#include "platform/keycodes.h"

using namespace dx;

namespace {

struct KeyPair {
  int32_t from;
  uint16_t to;
};

// The keypad, by position (whatever Num Lock says).
constexpr KeyPair kKeypad[] = {
    {SDL_SCANCODE_KP_0, VK_NUMPAD0},        {SDL_SCANCODE_KP_1, VK_NUMPAD1},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2},        {SDL_SCANCODE_KP_3, VK_NUMPAD3},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4},        {SDL_SCANCODE_KP_5, VK_NUMPAD5},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6},        {SDL_SCANCODE_KP_7, VK_NUMPAD7},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8},        {SDL_SCANCODE_KP_9, VK_NUMPAD9},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},   {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY}, {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},   {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
};

// The other keys, by what they mean in the layout.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},           {SDLK_TAB, VK_TAB},
    {SDLK_CLEAR, VK_CLEAR},              {SDLK_RETURN, VK_RETURN},
    {SDLK_RETURN2, VK_RETURN},           {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},             {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},            {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},                {SDLK_MODE, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE},              {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},            {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},             {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},                  {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},                {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},              {SDLK_DOWN, VK_DOWN},
    {SDLK_SELECT, VK_SELECT},            {SDLK_EXECUTE, VK_EXECUTE},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT},     {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},            {SDLK_HELP, VK_HELP},
    {SDLK_LGUI, VK_LWIN},                {SDLK_RGUI, VK_RWIN},
    {SDLK_APPLICATION, VK_APPS},         {SDLK_MENU, VK_APPS},
    {SDLK_SLEEP, VK_SLEEP},              {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_MUTE, VK_VOLUME_MUTE},         {SDLK_AUDIOMUTE, VK_VOLUME_MUTE},
    {SDLK_VOLUMEDOWN, VK_VOLUME_DOWN},   {SDLK_VOLUMEUP, VK_VOLUME_UP},
    {SDLK_AUDIONEXT, VK_MEDIA_NEXT_TRACK}, {SDLK_AUDIOPREV, VK_MEDIA_PREV_TRACK},
    {SDLK_AUDIOSTOP, VK_MEDIA_STOP},     {SDLK_AUDIOPLAY, VK_MEDIA_PLAY_PAUSE},
    {SDLK_SEMICOLON, VK_OEM_1},          {SDLK_COLON, VK_OEM_1},
    {SDLK_EQUALS, VK_OEM_PLUS},          {SDLK_PLUS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA},          {SDLK_LESS, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},          {SDLK_UNDERSCORE, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD},        {SDLK_GREATER, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2},              {SDLK_QUESTION, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},          {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},          {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7},              {SDLK_QUOTEDBL, VK_OEM_7},
};

template <size_t N>
uint16_t Find(const KeyPair (&table)[N], int32_t from) {
  for (const KeyPair& p : table) {
    if (p.from == from) return p.to;
  }
  return VK_UNKNOWN;
}

// Letters, digits and function keys, which come in ranges.
uint16_t FromRange(int32_t scancode, int32_t keycode) {
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
  return VK_UNKNOWN;
}

}  // namespace

uint16_t VirtualKeyFromSdl(int32_t scancode, int32_t keycode) {
  uint16_t vk = Find(kKeypad, scancode);
  if (vk == VK_UNKNOWN) vk = FromRange(scancode, keycode);
  if (vk == VK_UNKNOWN) vk = Find(kKeys, keycode);
  if (vk == VK_UNKNOWN && scancode == SDL_SCANCODE_NONUSBACKSLASH) vk = VK_OEM_102;
  return vk;
}
