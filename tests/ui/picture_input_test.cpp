// The SDL side of the game's input: key mapping, the picture's event source
// and the joystick through SDL's virtual joystick.
#include <gtest/gtest.h>

#include <SDL.h>

#include "game/game_fixture.h"
#include "ui/picture_input_source.h"
#include "game/world_state.h"
#include "sim/fake_platform.h"
#include "video/joystick_sdl.h"
#include "platform/keycodes.h"
#include "video/keycodes_sdl.h"

using namespace dx;

using gametest::FreshWorld;

namespace {

TEST(KeyMapping, GameKeysAndTheUsualWindowsCodes) {
  struct Case { SDL_Scancode sc; SDL_Keycode sym; uint16_t vk; };
  const Case cases[] = {
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},  {SDL_SCANCODE_T, SDLK_t, 84},
      {SDL_SCANCODE_G, SDLK_g, 71},            {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
      {SDL_SCANCODE_UP, SDLK_UP, 38},          {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 39},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, 40},      {SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, 13},  {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 16},  {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, 16},
      {SDL_SCANCODE_LCTRL, SDLK_LCTRL, 17},    {SDL_SCANCODE_RCTRL, SDLK_RCTRL, 17},
      {SDL_SCANCODE_LALT, SDLK_LALT, 18},      {SDL_SCANCODE_RALT, SDLK_RALT, 18},
      {SDL_SCANCODE_A, SDLK_a, 65},            {SDL_SCANCODE_Z, SDLK_z, 90},
      {SDL_SCANCODE_0, SDLK_0, 48},            {SDL_SCANCODE_9, SDLK_9, 57},
      {SDL_SCANCODE_F1, SDLK_F1, 112},         {SDL_SCANCODE_F12, SDLK_F12, 123},
      {SDL_SCANCODE_F13, SDLK_F13, 124},       {SDL_SCANCODE_TAB, SDLK_TAB, 9},
      {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8}, {SDL_SCANCODE_DELETE, SDLK_DELETE, 46},
      {SDL_SCANCODE_HOME, SDLK_HOME, 36},      {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, 34},
      {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, 20}, {SDL_SCANCODE_LGUI, SDLK_LGUI, 91},
      {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186}, {SDL_SCANCODE_MINUS, SDLK_MINUS, 189},
      {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 107}, {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 110},
      {SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, VK_UNKNOWN},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c.sc, c.sym), c.vk) << SDL_GetScancodeName(c.sc);
  // Keypad digits by position, with or without Num Lock (without it SDL may
  // report the navigation symbol).
  const SDL_Scancode pad[10] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2,
                                SDL_SCANCODE_KP_3, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5,
                                SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8,
                                SDL_SCANCODE_KP_9};
  for (int d = 0; d < 10; ++d) {
    EXPECT_EQ(VirtualKeyFromSdl(pad[d], SDLK_KP_0 + (d == 0 ? 0 : d - 0)), 96 + d);
    EXPECT_EQ(VirtualKeyFromSdl(pad[d], SDLK_LEFT), 96 + d);
  }
  // Letters follow the layout's symbol: G where the layout puts it.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_H, SDLK_g), 71);
  // A Cyrillic layout: the key in G's place gives "п" (U+043F), still G;
  // the one in T's place "е" (U+0435), still T.
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_G, 0x043F), 71);
  EXPECT_EQ(VirtualKeyFromSdl(SDL_SCANCODE_T, 0x0435), 84);
}

class EventSource : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

  static void Key(Uint32 type, SDL_Scancode sc, SDL_Keycode sym, int repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = sym;
    e.key.repeat = static_cast<Uint8>(repeat);
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
  static void Button(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
  static void Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
  }

  std::unique_ptr<WorldState> w = FreshWorld();
  PictureInputSource source{*w};
};

TEST_F(EventSource, KeysAndRepeatsReachTheHandlers) {
  Key(SDL_KEYDOWN, SDL_SCANCODE_LEFT, SDLK_LEFT);
  Key(SDL_KEYDOWN, SDL_SCANCODE_KP_8, SDLK_UP);
  source.Pump();
  EXPECT_EQ(w->KeyHorz, 4);
  EXPECT_EQ(w->KeyVert, 8);
  EXPECT_EQ(w->Autopilot, 0);
  Key(SDL_KEYUP, SDL_SCANCODE_LEFT, SDLK_LEFT);
  source.Pump();
  EXPECT_EQ(w->KeyHorz, 0);
  // Holding G: every repeat restarts the game.
  Key(SDL_KEYDOWN, SDL_SCANCODE_G, SDLK_g);
  source.Pump();
  w->GamePhase = 40; w->Score = 3; w->RandSeed = 99;
  Key(SDL_KEYDOWN, SDL_SCANCODE_G, SDLK_g, 1);
  source.Pump();
  EXPECT_EQ(w->GamePhase, 1);
  EXPECT_EQ(w->Score, 0);
  EXPECT_EQ(w->RandSeed, 0u);
  EXPECT_FALSE(w->QuitRequested);
  Key(SDL_KEYDOWN, SDL_SCANCODE_KP_0, SDLK_KP_0);
  source.Pump();
  EXPECT_TRUE(w->QuitRequested);
}

TEST_F(EventSource, RightAndMiddleClicksDontEndLeftDoesAndQuitDoes) {
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE);
  source.Pump();
  EXPECT_FALSE(w->QuitRequested);
  Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
  Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
  source.Pump();
  EXPECT_TRUE(w->QuitRequested);

  w->QuitRequested = false;
  SDL_Event q{};
  q.type = SDL_QUIT;
  SDL_PushEvent(&q);
  source.Pump();
  EXPECT_TRUE(w->QuitRequested);
}

TEST_F(EventSource, MotionIsMeasuredInPicturePixels) {
  w->MouseWatch = 1; w->WarmUpFrames = 100; w->CursorHomeX = 640; w->CursorHomeY = 480;
  Motion(630, 470);  // no picture shown: window pixels are picture pixels
  source.Pump();
  EXPECT_FALSE(w->QuitRequested);
  Motion(629, 480);
  source.Pump();
  EXPECT_TRUE(w->QuitRequested);
}

TEST(SdlJoystick, VirtualJoystickAxesButtonsAndAbsence) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  JOYINFO info;
  info.wXpos = 65537; info.wYpos = 7; info.wButtons = 9;
  // No joystick yet: a non-zero result and the record untouched.
  if (SDL_NumJoysticks() == 0) {
    EXPECT_NE(SdlJoyGetPos(0, info), 0u);
    EXPECT_EQ(info.wXpos, 65537u);
    EXPECT_EQ(info.wYpos, 7u);
    EXPECT_EQ(info.wButtons, 9u);
  }
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  ASSERT_NE(stick, nullptr);
  SDL_JoystickSetVirtualAxis(stick, 0, -32768);
  SDL_JoystickSetVirtualAxis(stick, 1, 32767);
  SDL_JoystickSetVirtualButton(stick, 0, SDL_PRESSED);
  SDL_JoystickSetVirtualButton(stick, 2, SDL_PRESSED);
  SDL_JoystickUpdate();
  ASSERT_EQ(SdlJoyGetPos(static_cast<uint32_t>(index), info), 0u);
  EXPECT_EQ(info.wXpos, 0u);
  EXPECT_EQ(info.wYpos, 65535u);
  EXPECT_EQ(info.wButtons, 0x5u);
  SDL_JoystickSetVirtualAxis(stick, 0, 0);
  SDL_JoystickSetVirtualAxis(stick, 1, 0);
  SDL_JoystickSetVirtualButton(stick, 0, SDL_RELEASED);
  SDL_JoystickSetVirtualButton(stick, 2, SDL_RELEASED);
  ASSERT_EQ(SdlJoyGetPos(static_cast<uint32_t>(index), info), 0u);
  EXPECT_EQ(info.wXpos, 32768u);  // centre
  EXPECT_EQ(info.wYpos, 32768u);
  EXPECT_EQ(info.wButtons, 0u);

  // The game's read goes through the platform, which in the program takes
  // SDL's joysticks: joystick 1 is SDL's first.
  if (index == 0) {
    struct SdlJoystickPlatform : FakePlatform {
      uint32_t JoyGetPos(uint32_t joystick, JOYINFO& info) override { return SdlJoyGetPos(joystick, info); }
    } platform;
    const ScopedPlatform inForce(platform);
    int32_t x = 0, y = 0, b = 0;
    ReadJoystick(1, x, y, b);
    EXPECT_EQ(x, 32768);
    EXPECT_EQ(b, 0);
  }
  // Unplugged: no answer any more.
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(index);
  info.wXpos = 65537;
  EXPECT_NE(SdlJoyGetPos(static_cast<uint32_t>(index), info), 0u);
  EXPECT_EQ(info.wXpos, 65537u);
  SdlJoyShutdown();
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
