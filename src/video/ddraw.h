// A small DirectDraw-like layer: a display object, 8-bit surfaces held in
// memory as palette indices, a 256-entry palette, colour fills, keyed and
// opaque rectangle copies, lock and unlock, flip. Calls return HRESULT-like
// codes so that callers test them where the game does.
#pragma once

#include <cstdint>

#include "base/hresult.h"
#include "base/picture.h"

#include "base/windows_names_push.h"

namespace dx {

constexpr HRESULT DD_OK = 0;

struct PALETTEENTRY {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
};

struct DDCOLORKEY {
  uint32_t dwColorSpaceLowValue = 0;
  uint32_t dwColorSpaceHighValue = 0;
};

struct DDSCAPS {
  uint32_t dwCaps = 0;
};

struct DDSURFACEDESC {
  uint32_t dwSize = 0;
  uint32_t dwFlags = 0;
  uint32_t dwHeight = 0;
  uint32_t dwWidth = 0;
  int32_t lPitch = 0;
  uint32_t dwBackBufferCount = 0;
  void* lpSurface = nullptr;
  DDCOLORKEY ddckCKSrcBlt;
  DDSCAPS ddsCaps;
};

struct DDBLTFX {
  uint32_t dwSize = 0;
  uint32_t dwFillColor = 0;
};

struct RECT {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

class IDirectDraw;
class IDirectDrawSurface;
class IDirectDrawPalette;

// Result codes.
constexpr HRESULT MakeDDResult(uint32_t code) { return static_cast<HRESULT>(0x88760000u | code); }
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_INVALIDRECT = MakeDDResult(150);
constexpr HRESULT DDERR_NOCOLORKEY = MakeDDResult(215);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDDResult(430);
constexpr HRESULT DDERR_NODIRECTDRAWHW = MakeDDResult(520);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDDResult(582);
constexpr HRESULT DDERR_NOTLOCKED = MakeDDResult(584);

// Cooperative level.
constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
constexpr uint32_t DDSCL_NOWINDOWCHANGES = 0x4;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;
// Surface description fields.
constexpr uint32_t DDSD_CAPS = 0x1;
constexpr uint32_t DDSD_HEIGHT = 0x2;
constexpr uint32_t DDSD_WIDTH = 0x4;
constexpr uint32_t DDSD_PITCH = 0x8;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t DDSD_LPSURFACE = 0x800;
constexpr uint32_t DDSD_CKSRCBLT = 0x10000;
// Surface capabilities.
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr uint32_t DDSCAPS_FLIP = 0x10;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
// Blt, BltFast, colour key, Lock, Flip and palette flags.
constexpr uint32_t DDBLT_COLORFILL = 0x400;
constexpr uint32_t DDBLT_WAIT = 0x1000000;
constexpr uint32_t DDBLTFAST_NOCOLORKEY = 0x0;
constexpr uint32_t DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr uint32_t DDBLTFAST_WAIT = 0x10;
constexpr uint32_t DDCKEY_SRCBLT = 0x8;
constexpr uint32_t DDLOCK_WAIT = 0x1;
constexpr uint32_t DDFLIP_WAIT = 0x1;
constexpr uint32_t DDPCAPS_8BIT = 0x4;

// Shared by the display object and its surfaces: the presenter stays
// reachable from a surface only while the display object lives.
struct DisplayCore;

// A 256-entry palette, kept as 0xFFRRGGBB colours for the presenter.
class IDirectDrawPalette {
 public:
  HRESULT SetEntries(uint32_t flags, uint32_t first, uint32_t count, const PALETTEENTRY* entries);
  uint32_t AddRef() { return ++refs_; }
  uint32_t Release();

  const uint32_t* Argb() const { return argb_; }

 private:
  friend class IDirectDraw;
  IDirectDrawPalette() = default;
  ~IDirectDrawPalette() = default;
  uint32_t refs_ = 1;
  uint32_t argb_[256] = {};
};

// A surface of palette indices, one byte per pixel, made by the display
// object. A flipping primary surface owns its back buffer.
class IDirectDrawSurface {
 public:
  // Colour fill of the destination rectangle (right and bottom exclusive);
  // no source surface. A rectangle not inside the surface is rejected.
  virtual HRESULT Blt(const RECT* dest, IDirectDrawSurface* src, const RECT* srcRect,
                      uint32_t flags, const DDBLTFX* fx) = 0;
  // Copies srcRect of src to (x, y), skipping the source colour key with
  // DDBLTFAST_SRCCOLORKEY. Rectangles not inside their surfaces are rejected.
  virtual HRESULT BltFast(int32_t x, int32_t y, IDirectDrawSurface* src, const RECT* srcRect,
                          uint32_t flags) = 0;
  // Fills desc with the pitch and the address of the rectangle's top-left
  // pixel (the whole surface when rect is null).
  virtual HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, uint32_t flags, void* event) = 0;
  virtual HRESULT Unlock(const void* rect) = 0;
  // Primary surface only: shows the back buffer, then swaps the two, so that
  // the back buffer holds the frame before last.
  virtual HRESULT Flip(IDirectDrawSurface* target, uint32_t flags) = 0;
  virtual HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** out) = 0;
  // DDCKEY_SRCBLT only; DDERR_NOCOLORKEY for a surface made without one.
  virtual HRESULT GetColorKey(uint32_t flags, DDCOLORKEY* key) = 0;
  virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

  // Not DirectDraw's: the memory behind the surface, which copies between
  // surfaces, the sheet loader and tests read and write directly.
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual int32_t Pitch() const = 0;
  virtual uint8_t* Pixels() = 0;
  virtual const uint8_t* Pixels() const = 0;
  virtual bool Locked() const = 0;
  virtual IDirectDrawPalette* Palette() const = 0;
  uint8_t At(int32_t x, int32_t y) const { return Pixels()[y * Pitch() + x]; }

 protected:
  virtual ~IDirectDrawSurface() = default;  // Release deletes
};

// The display object. It owns the presenter that shows the picture; the
// desktop is given back when it is released.
class IDirectDraw {
 public:
  HRESULT SetCooperativeLevel(void* window, uint32_t flags);
  HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bpp);
  HRESULT CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** out, void* outer);
  HRESULT CreatePalette(uint32_t flags, const PALETTEENTRY* entries, IDirectDrawPalette** out,
                        void* outer);
  uint32_t AddRef() { return ++refs_; }
  uint32_t Release();

 private:
  friend HRESULT DirectDrawCreate(const void* guid, IDirectDraw** out, void* outer);
  explicit IDirectDraw(DisplayCore* core) : core_(core) {}
  ~IDirectDraw() = default;
  DisplayCore* core_;
  uint32_t refs_ = 1;
};

// Makes the display object with the presenter of the presenter factory
// (presenter.h), opened with the picture's title. Fails when the
// factory gives none or the presenter can't open.
HRESULT DirectDrawCreate(const void* guid, IDirectDraw** out, void* outer);

}  // namespace dx

#include "base/windows_names_pop.h"
