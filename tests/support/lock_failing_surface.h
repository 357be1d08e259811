// A surface whose next Lock calls fail with DDERR_SURFACEBUSY, as a surface
// that the display took away does; everything else goes to the surface it
// wraps, whose reference it takes over.
#pragma once

#include <cstdint>

#include "video/ddraw.h"

class LockFailingSurface final : public dx::IDirectDrawSurface {
 public:
  LockFailingSurface(dx::IDirectDrawSurface* inner, int32_t failures)
      : inner_(inner), failures_(failures) {}

  dx::HRESULT Lock(const dx::RECT* rect, dx::DDSURFACEDESC* desc, uint32_t flags, void* event) override {
    if (failures_ <= 0) return inner_->Lock(rect, desc, flags, event);
    --failures_;
    return dx::DDERR_SURFACEBUSY;
  }
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    if (--refs_ > 0) return refs_;
    delete this;
    return 0;
  }

  dx::HRESULT Blt(const dx::RECT* d, dx::IDirectDrawSurface* s, const dx::RECT* r, uint32_t f,
                  const dx::DDBLTFX* fx) override {
    return inner_->Blt(d, s, r, f, fx);
  }
  dx::HRESULT BltFast(int32_t x, int32_t y, dx::IDirectDrawSurface* s, const dx::RECT* r, uint32_t f) override {
    return inner_->BltFast(x, y, s, r, f);
  }
  dx::HRESULT Unlock(const void* r) override { return inner_->Unlock(r); }
  dx::HRESULT Flip(dx::IDirectDrawSurface* t, uint32_t f) override { return inner_->Flip(t, f); }
  dx::HRESULT GetAttachedSurface(const dx::DDSCAPS* c, dx::IDirectDrawSurface** out) override {
    return inner_->GetAttachedSurface(c, out);
  }
  dx::HRESULT GetColorKey(uint32_t f, dx::DDCOLORKEY* k) override { return inner_->GetColorKey(f, k); }
  dx::HRESULT SetPalette(dx::IDirectDrawPalette* p) override { return inner_->SetPalette(p); }
  int32_t Width() const override { return inner_->Width(); }
  int32_t Height() const override { return inner_->Height(); }
  int32_t Pitch() const override { return inner_->Pitch(); }
  uint8_t* Pixels() override { return inner_->Pixels(); }
  const uint8_t* Pixels() const override { return inner_->Pixels(); }
  bool Locked() const override { return inner_->Locked(); }
  dx::IDirectDrawPalette* Palette() const override { return inner_->Palette(); }

 private:
  ~LockFailingSurface() override { inner_->Release(); }

  dx::IDirectDrawSurface* inner_;
  int32_t failures_;
  uint32_t refs_ = 1;
};
