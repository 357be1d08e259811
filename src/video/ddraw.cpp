// The DirectDraw-like layer: surfaces of palette indices in memory, fills,
// keyed and opaque copies, lock, flip through the presenter, palettes.
#include "video/ddraw.h"

#include <cstring>
#include <memory>
#include <new>

#include "video/presenter.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace dx {
#endif

struct DisplayCore {
  uint32_t refs = 1;
  std::unique_ptr<Presenter> presenter;
};

namespace {

void CoreRef(DisplayCore* c) { ++c->refs; }
void CoreUnref(DisplayCore* c) {
  if (--c->refs == 0) delete c;
}

bool RectInside(const RECT& r, int32_t w, int32_t h) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= w &&
         r.bottom <= h;
}

// Copies one row, leaving the destination where the source holds the key.
// The row is taken 16 (or 8) bytes at a time: all-key blocks are skipped,
// blocks without any key byte are stored whole, mixed ones are blended.
void KeyedRow(uint8_t* dst, const uint8_t* src, int32_t n, uint8_t key) {
  int32_t i = 0;
#if defined(__SSE2__)
  const __m128i k = _mm_set1_epi8(static_cast<char>(key));
  for (; i + 16 <= n; i += 16) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    __m128i eq = _mm_cmpeq_epi8(s, k);
    int m = _mm_movemask_epi8(eq);
    if (m == 0xFFFF) continue;
    if (m == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), s);
      continue;
    }
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    __m128i r = _mm_or_si128(_mm_and_si128(eq, d), _mm_andnot_si128(eq, s));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), r);
  }
#endif
  const uint64_t kk = 0x0101010101010101ull * key;
  for (; i + 8 <= n; i += 8) {
    uint64_t s;
    std::memcpy(&s, src + i, 8);
    uint64_t x = s ^ kk;  // zero bytes where the source holds the key
    if (x == 0) continue;
    // High bit of each byte set where x's byte is non-zero.
    uint64_t nz = (((x & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | x) & 0x8080808080808080ull;
    if (nz == 0x8080808080808080ull) {
      std::memcpy(dst + i, &s, 8);
      continue;
    }
    uint64_t mask = (nz >> 7) * 0xFF;
    uint64_t d;
    std::memcpy(&d, dst + i, 8);
    d = (d & ~mask) | (s & mask);
    std::memcpy(dst + i, &d, 8);
  }
  for (; i < n; ++i) {
    if (src[i] != key) dst[i] = src[i];
  }
}

}  // namespace

// ---------------------------------------------------------------- palette

HRESULT IDirectDrawPalette::SetEntries(uint32_t, uint32_t first, uint32_t count,
                                       const PALETTEENTRY* entries) {
  if (entries == nullptr || first > 256 || count > 256 - first) return DDERR_INVALIDPARAMS;
  for (uint32_t i = 0; i < count; ++i) {
    const PALETTEENTRY& e = entries[i];
    argb_[first + i] = 0xFF000000u | (uint32_t{e.peRed} << 16) | (uint32_t{e.peGreen} << 8) |
                       uint32_t{e.peBlue};
  }
  return DD_OK;
}

uint32_t IDirectDrawPalette::Release() {
  uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

// ---------------------------------------------------------------- surface

namespace {

// Rows start on cache lines, for the vector copies.
constexpr std::align_val_t kRowAlignment{64};

// The surfaces the display object makes: palette indices in aligned memory.
class MemorySurface final : public IDirectDrawSurface {
 public:
  MemorySurface(DisplayCore* core, int32_t w, int32_t h, bool keyed, uint8_t key);
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;

  HRESULT Blt(const RECT* dest, IDirectDrawSurface* src, const RECT* srcRect, uint32_t flags,
              const DDBLTFX* fx) override;
  HRESULT BltFast(int32_t x, int32_t y, IDirectDrawSurface* src, const RECT* srcRect,
                  uint32_t flags) override;
  HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, uint32_t flags, void* event) override;
  HRESULT Unlock(const void* rect) override;
  HRESULT Flip(IDirectDrawSurface* target, uint32_t flags) override;
  HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** out) override;
  HRESULT GetColorKey(uint32_t flags, DDCOLORKEY* key) override;
  HRESULT SetPalette(IDirectDrawPalette* palette) override;
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override;

  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  int32_t Pitch() const override { return pitch_; }
  uint8_t* Pixels() override { return pixels_; }
  const uint8_t* Pixels() const override { return pixels_; }
  bool Locked() const override { return locked_; }
  IDirectDrawPalette* Palette() const override { return palette_; }

  // Makes this (a primary surface) flipping, with a back buffer of its own.
  void AttachBackBuffer() { back_ = new MemorySurface(core_, width_, height_, false, 0); }

 private:
  ~MemorySurface() override;

  DisplayCore* core_;
  int32_t width_;
  int32_t height_;
  int32_t pitch_;
  uint8_t* pixels_;
  bool keyed_;
  uint8_t key_;
  uint32_t refs_ = 1;
  bool locked_ = false;
  MemorySurface* back_ = nullptr;          // flipping primary: its back buffer
  IDirectDrawPalette* palette_ = nullptr;  // held reference
};

// Copies w x h pixels between two places of one surface, row by row in an
// order that reads every source pixel before it is overwritten.
void CopyOverlapping(uint8_t* dp, const uint8_t* sp, int32_t pitch, int32_t w, int32_t h,
                     bool keyed, uint8_t key) {
  for (int32_t row = 0; row < h; ++row) {
    int32_t r = (dp > sp) ? h - 1 - row : row;
    if (keyed) {
      for (int32_t i = 0; i < w; ++i) {
        int32_t c = (dp > sp) ? w - 1 - i : i;
        uint8_t v = sp[r * pitch + c];
        if (v != key) dp[r * pitch + c] = v;
      }
    } else {
      std::memmove(dp + r * pitch, sp + r * pitch, static_cast<size_t>(w));
    }
  }
}

// Copies w x h pixels between two surfaces.
void CopyRows(uint8_t* dp, int32_t dpitch, const uint8_t* sp, int32_t spitch, int32_t w,
              int32_t h, bool keyed, uint8_t key) {
  if (keyed) {
    for (int32_t row = 0; row < h; ++row, sp += spitch, dp += dpitch) KeyedRow(dp, sp, w, key);
  } else if (w == dpitch && w == spitch) {
    std::memcpy(dp, sp, static_cast<size_t>(w) * static_cast<size_t>(h));
  } else {
    for (int32_t row = 0; row < h; ++row, sp += spitch, dp += dpitch)
      std::memcpy(dp, sp, static_cast<size_t>(w));
  }
}

MemorySurface::MemorySurface(DisplayCore* core, int32_t w, int32_t h, bool keyed, uint8_t key)
    : core_(core), width_(w), height_(h), pitch_((w + 15) & ~15), keyed_(keyed), key_(key) {
  CoreRef(core_);
  size_t bytes = static_cast<size_t>(pitch_) * static_cast<size_t>(h);
  bytes = (bytes + 63) & ~size_t{63};
  pixels_ = static_cast<uint8_t*>(::operator new(bytes == 0 ? 64 : bytes, kRowAlignment));
  std::memset(pixels_, 0, bytes);
}

MemorySurface::~MemorySurface() {
  if (palette_) palette_->Release();
  ::operator delete(pixels_, kRowAlignment);
  CoreUnref(core_);
}

uint32_t MemorySurface::Release() {
  uint32_t left = --refs_;
  if (left == 0) {
    if (back_) {
      // The back buffer lives as long as its primary; a reference the caller
      // still holds to it keeps it alive on its own.
      back_->Release();
      back_ = nullptr;
    }
    delete this;
  }
  return left;
}

HRESULT MemorySurface::Blt(const RECT* dest, IDirectDrawSurface* src, const RECT*, uint32_t flags,
                           const DDBLTFX* fx) {
  if (src != nullptr || !(flags & DDBLT_COLORFILL) || fx == nullptr) return DDERR_INVALIDPARAMS;
  RECT r = dest ? *dest : RECT{0, 0, width_, height_};
  if (!RectInside(r, width_, height_)) return DDERR_INVALIDRECT;
  if (locked_) return DDERR_SURFACEBUSY;
  const uint8_t c = static_cast<uint8_t>(fx->dwFillColor);
  const size_t w = static_cast<size_t>(r.right - r.left);
  uint8_t* p = pixels_ + r.top * pitch_ + r.left;
  for (int32_t y = r.top; y < r.bottom; ++y, p += pitch_) std::memset(p, c, w);
  return DD_OK;
}

HRESULT MemorySurface::BltFast(int32_t x, int32_t y, IDirectDrawSurface* src, const RECT* srcRect,
                               uint32_t flags) {
  if (src == nullptr) return DDERR_INVALIDPARAMS;
  const int32_t srcWidth = src->Width();
  const int32_t srcHeight = src->Height();
  RECT s = srcRect ? *srcRect : RECT{0, 0, srcWidth, srcHeight};
  if (!RectInside(s, srcWidth, srcHeight)) return DDERR_INVALIDRECT;
  const int32_t w = s.right - s.left;
  const int32_t h = s.bottom - s.top;
  if (x < 0 || y < 0 || x > width_ - w || y > height_ - h) return DDERR_INVALIDRECT;
  if (locked_ || src->Locked()) return DDERR_SURFACEBUSY;
  const uint8_t* srcPixels = src->Pixels();
  const int32_t srcPitch = src->Pitch();
  const uint8_t* sp = srcPixels + s.top * srcPitch + s.left;
  uint8_t* dp = pixels_ + y * pitch_ + x;
  DDCOLORKEY key;
  const bool keyed =
      (flags & DDBLTFAST_SRCCOLORKEY) && SUCCEEDED(src->GetColorKey(DDCKEY_SRCBLT, &key));
  const uint8_t k = static_cast<uint8_t>(key.dwColorSpaceLowValue);
  if (srcPixels == pixels_) CopyOverlapping(dp, sp, pitch_, w, h, keyed, k);
  else CopyRows(dp, pitch_, sp, srcPitch, w, h, keyed, k);
  return DD_OK;
}

HRESULT MemorySurface::Lock(const RECT* rect, DDSURFACEDESC* desc, uint32_t, void*) {
  if (desc == nullptr) return DDERR_INVALIDPARAMS;
  if (locked_) return DDERR_SURFACEBUSY;
  RECT r = rect ? *rect : RECT{0, 0, width_, height_};
  if (!RectInside(r, width_, height_)) return DDERR_INVALIDRECT;
  locked_ = true;
  desc->dwFlags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_LPSURFACE;
  desc->dwWidth = static_cast<uint32_t>(width_);
  desc->dwHeight = static_cast<uint32_t>(height_);
  desc->lPitch = pitch_;
  desc->lpSurface = pixels_ + r.top * pitch_ + r.left;
  return DD_OK;
}

HRESULT MemorySurface::Unlock(const void*) {
  if (!locked_) return DDERR_NOTLOCKED;
  locked_ = false;
  return DD_OK;
}

HRESULT MemorySurface::Flip(IDirectDrawSurface*, uint32_t) {
  if (back_ == nullptr) return DDERR_NOTFLIPPABLE;
  if (locked_ || back_->locked_) return DDERR_SURFACEBUSY;
  if (core_->presenter) {
    static uint32_t grey[256];
    static bool greyMade = false;
    if (!greyMade) {
      for (uint32_t i = 0; i < 256; ++i) grey[i] = 0xFF000000u | i * 0x010101u;
      greyMade = true;
    }
    core_->presenter->Present(back_->pixels_, back_->pitch_, palette_ ? palette_->Argb() : grey);
  }
  std::swap(pixels_, back_->pixels_);
  return DD_OK;
}

HRESULT MemorySurface::GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** out) {
  if (out == nullptr || caps == nullptr) return DDERR_INVALIDPARAMS;
  if (back_ == nullptr || !(caps->dwCaps & DDSCAPS_BACKBUFFER)) return DDERR_INVALIDPARAMS;
  back_->AddRef();
  *out = back_;
  return DD_OK;
}

HRESULT MemorySurface::GetColorKey(uint32_t flags, DDCOLORKEY* key) {
  if (key == nullptr || flags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;
  if (!keyed_) return DDERR_NOCOLORKEY;
  key->dwColorSpaceLowValue = key_;
  key->dwColorSpaceHighValue = key_;
  return DD_OK;
}

HRESULT MemorySurface::SetPalette(IDirectDrawPalette* palette) {
  if (palette) palette->AddRef();
  if (palette_) palette_->Release();
  palette_ = palette;
  return DD_OK;
}

}  // namespace

// ---------------------------------------------------------------- display object

HRESULT IDirectDraw::SetCooperativeLevel(void*, uint32_t) { return DD_OK; }

HRESULT IDirectDraw::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bpp) {
  // The picture is always 640 x 480 x 8; the presenter scales it to the
  // desktop, whose own mode is never changed.
  if (width != kPictureWidth || height != kPictureHeight || bpp != 8) return DDERR_INVALIDPARAMS;
  return DD_OK;
}

HRESULT IDirectDraw::CreateSurface(const DDSURFACEDESC* desc, IDirectDrawSurface** out, void*) {
  if (desc == nullptr || out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  const uint32_t caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
  if (caps & DDSCAPS_PRIMARYSURFACE) {
    auto* primary = new MemorySurface(core_, kPictureWidth, kPictureHeight, false, 0);
    if ((caps & DDSCAPS_FLIP) && (desc->dwFlags & DDSD_BACKBUFFERCOUNT) &&
        desc->dwBackBufferCount >= 1) {
      primary->AttachBackBuffer();
    }
    *out = primary;
    return DD_OK;
  }
  int32_t w = (desc->dwFlags & DDSD_WIDTH) ? static_cast<int32_t>(desc->dwWidth) : kPictureWidth;
  int32_t h = (desc->dwFlags & DDSD_HEIGHT) ? static_cast<int32_t>(desc->dwHeight) : kPictureHeight;
  if (w <= 0 || h <= 0 || w > 8192 || h > 8192) return DDERR_INVALIDPARAMS;
  const bool keyed = (desc->dwFlags & DDSD_CKSRCBLT) != 0;
  const uint8_t key = static_cast<uint8_t>(desc->ddckCKSrcBlt.dwColorSpaceLowValue);
  *out = new MemorySurface(core_, w, h, keyed, key);
  return DD_OK;
}

HRESULT IDirectDraw::CreatePalette(uint32_t flags, const PALETTEENTRY* entries,
                                   IDirectDrawPalette** out, void*) {
  if (out == nullptr || !(flags & DDPCAPS_8BIT)) return DDERR_INVALIDPARAMS;
  auto* p = new IDirectDrawPalette();
  static const PALETTEENTRY kBlack[256] = {};
  p->SetEntries(0, 0, 256, entries ? entries : kBlack);
  *out = p;
  return DD_OK;
}

uint32_t IDirectDraw::Release() {
  uint32_t left = --refs_;
  if (left == 0) {
    if (core_->presenter) {
      core_->presenter->Close();
      core_->presenter.reset();
    }
    CoreUnref(core_);
    delete this;
  }
  return left;
}

HRESULT DirectDrawCreate(const void*, IDirectDraw** out, void*) {
  if (out == nullptr) return DDERR_INVALIDPARAMS;
  *out = nullptr;
  std::unique_ptr<Presenter> presenter = MakePresenter();
  if (!presenter) return DDERR_NODIRECTDRAWHW;
  if (!presenter->Open(PictureTitle())) return DDERR_NODIRECTDRAWHW;
  auto* core = new DisplayCore();
  core->presenter = std::move(presenter);
  *out = new IDirectDraw(core);
  return DD_OK;
}

}  // namespace dx
