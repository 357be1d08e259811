// Our Windows-shaped headers after <windows.h>: its macros and types of the
// same names, defined here as mingw-w64's headers define them, neither break
// our declarations nor are lost to the code that follows.
#include <gtest/gtest.h>

typedef long LONG;
typedef long HRESULT;
typedef unsigned int UINT;
typedef unsigned char BYTE;
typedef void* HWND;
#define _HRESULT_TYPEDEF_(_sc) ((HRESULT)_sc)
#define SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
#define FAILED(hr) ((HRESULT)(hr) < 0)
#define E_NOTIMPL _HRESULT_TYPEDEF_(0x80004001)
#define E_OUTOFMEMORY _HRESULT_TYPEDEF_(0x8007000E)
#define E_INVALIDARG _HRESULT_TYPEDEF_(0x80070057)
#define E_FAIL _HRESULT_TYPEDEF_(0x80004005)
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_NUMPAD0 0x60
#define VK_F1 0x70
#define WAVE_FORMAT_PCM 1
#define MessageBox MessageBoxW
// (the members as mingw-w64 names them)
typedef struct tagRECT { LONG left, top, right, bottom; } RECT;
typedef struct tagPALETTEENTRY { BYTE peRed, peGreen, peBlue, peFlags; } PALETTEENTRY;
typedef struct joyinfo_tag { UINT wXpos, wYpos, wZpos, wButtons; } JOYINFO;
typedef struct tWAVEFORMATEX { BYTE raw[18]; } WAVEFORMATEX;

#include <string>
#include <type_traits>

#include "base/hresult.h"
#include "game/sound_effects.h"
#include "platform/keycodes.h"
#include "platform/platform.h"
#include "shell/application.h"
#include "sound/dsound.h"
#include "video/ddraw.h"
#include "video/display_device.h"
#include "video/joystick_sdl.h"
#include "video/sheet_files.h"

namespace {

#define NAME_OF(x) NAME_TEXT(x)
#define NAME_TEXT(x) #x

// Our codes, reached past the macros of the same names.
#pragma push_macro("E_INVALIDARG")
#pragma push_macro("VK_F1")
#undef E_INVALIDARG
#undef VK_F1
static_assert(dx::E_INVALIDARG == static_cast<dx::HRESULT>(0x80070057u));
static_assert(dx::VK_F1 == 112);
#pragma pop_macro("VK_F1")
#pragma pop_macro("E_INVALIDARG")

TEST(WindowsNames, OursLiveInTheirNamespaceBesideWindowsOwn) {
  static_assert(!std::is_same_v<dx::HRESULT, HRESULT> && std::is_same_v<HRESULT, long>);
  static_assert(!std::is_same_v<dx::RECT, RECT> && !std::is_same_v<dx::JOYINFO, JOYINFO>);
    static_assert(dx::DDERR_INVALIDPARAMS == static_cast<dx::HRESULT>(0x80070057u));
  static_assert(dx::DSERR_UNSUPPORTED == static_cast<dx::HRESULT>(0x80004001u));
  EXPECT_TRUE(FAILED(dx::DSERR_NODRIVER) && !SUCCEEDED(dx::DDERR_SURFACEBUSY));
}

TEST(WindowsNames, WindowsMacrosStandAfterOurHeaders) {
  EXPECT_EQ(VK_ESCAPE, 0x1B);
  EXPECT_EQ(E_FAIL, static_cast<HRESULT>(0x80004005));
  EXPECT_EQ(WAVE_FORMAT_PCM, 1);
  EXPECT_EQ(std::string(NAME_OF(MessageBox)), "MessageBoxW");
}

}  // namespace
