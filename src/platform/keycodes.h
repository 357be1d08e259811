// Windows virtual-key codes, the codes the game's key handlers decide on.
// Each toolkit maps its keys onto them in its own layer (video/keycodes_sdl.h,
// ui/keycodes_fltk.h).
#pragma once

#include <cstdint>

#include "base/windows_names_push.h"

namespace dx {

constexpr uint16_t VK_BACK = 8;
constexpr uint16_t VK_TAB = 9;
constexpr uint16_t VK_CLEAR = 12;
constexpr uint16_t VK_RETURN = 13;
constexpr uint16_t VK_SHIFT = 16;
constexpr uint16_t VK_CONTROL = 17;
constexpr uint16_t VK_MENU = 18;  // Alt
constexpr uint16_t VK_PAUSE = 19;
constexpr uint16_t VK_CAPITAL = 20;
constexpr uint16_t VK_ESCAPE = 27;
constexpr uint16_t VK_SPACE = 32;
constexpr uint16_t VK_PRIOR = 33;  // Page Up
constexpr uint16_t VK_NEXT = 34;   // Page Down
constexpr uint16_t VK_END = 35;
constexpr uint16_t VK_HOME = 36;
constexpr uint16_t VK_LEFT = 37;
constexpr uint16_t VK_UP = 38;
constexpr uint16_t VK_RIGHT = 39;
constexpr uint16_t VK_DOWN = 40;
constexpr uint16_t VK_SELECT = 41;
constexpr uint16_t VK_PRINT = 42;
constexpr uint16_t VK_EXECUTE = 43;
constexpr uint16_t VK_SNAPSHOT = 44;
constexpr uint16_t VK_INSERT = 45;
constexpr uint16_t VK_DELETE = 46;
constexpr uint16_t VK_HELP = 47;
constexpr uint16_t VK_0 = 48;  // '0'..'9' are 48..57
constexpr uint16_t VK_A = 65;  // 'A'..'Z' are 65..90
constexpr uint16_t VK_G = 71;
constexpr uint16_t VK_T = 84;
constexpr uint16_t VK_LWIN = 91;
constexpr uint16_t VK_RWIN = 92;
constexpr uint16_t VK_APPS = 93;
constexpr uint16_t VK_SLEEP = 95;
constexpr uint16_t VK_NUMPAD0 = 96;  // keypad digits 96..105
constexpr uint16_t VK_NUMPAD1 = 97;
constexpr uint16_t VK_NUMPAD2 = 98;
constexpr uint16_t VK_NUMPAD3 = 99;
constexpr uint16_t VK_NUMPAD4 = 100;
constexpr uint16_t VK_NUMPAD5 = 101;
constexpr uint16_t VK_NUMPAD6 = 102;
constexpr uint16_t VK_NUMPAD7 = 103;
constexpr uint16_t VK_NUMPAD8 = 104;
constexpr uint16_t VK_NUMPAD9 = 105;
constexpr uint16_t VK_MULTIPLY = 106;
constexpr uint16_t VK_ADD = 107;
constexpr uint16_t VK_SEPARATOR = 108;
constexpr uint16_t VK_SUBTRACT = 109;
constexpr uint16_t VK_DECIMAL = 110;
constexpr uint16_t VK_DIVIDE = 111;
constexpr uint16_t VK_F1 = 112;  // F1..F24 are 112..135
constexpr uint16_t VK_NUMLOCK = 144;
constexpr uint16_t VK_SCROLL = 145;
constexpr uint16_t VK_VOLUME_MUTE = 173;
constexpr uint16_t VK_VOLUME_DOWN = 174;
constexpr uint16_t VK_VOLUME_UP = 175;
constexpr uint16_t VK_MEDIA_NEXT_TRACK = 176;
constexpr uint16_t VK_MEDIA_PREV_TRACK = 177;
constexpr uint16_t VK_MEDIA_STOP = 178;
constexpr uint16_t VK_MEDIA_PLAY_PAUSE = 179;
constexpr uint16_t VK_OEM_1 = 186;       // ;:
constexpr uint16_t VK_OEM_PLUS = 187;    // =+
constexpr uint16_t VK_OEM_COMMA = 188;
constexpr uint16_t VK_OEM_MINUS = 189;
constexpr uint16_t VK_OEM_PERIOD = 190;
constexpr uint16_t VK_OEM_2 = 191;       // /?
constexpr uint16_t VK_OEM_3 = 192;       // `~
constexpr uint16_t VK_OEM_4 = 219;       // [{
constexpr uint16_t VK_OEM_5 = 220;       // backslash
constexpr uint16_t VK_OEM_6 = 221;       // ]}
constexpr uint16_t VK_OEM_7 = 222;       // '"
constexpr uint16_t VK_OEM_102 = 226;     // the extra key of 102-key keyboards
// A key without a Windows counterpart. It is none of the game's keys, so it
// ends the screen saver like any other unlisted key.
constexpr uint16_t VK_UNKNOWN = 255;

}  // namespace dx

#include "base/windows_names_pop.h"
