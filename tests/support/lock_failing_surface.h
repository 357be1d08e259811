// A surface whose next Lock calls fail with DDERR_SURFACEBUSY, as a surface
// that the display took away does; everything else goes to the surface it
// wraps, whose reference it takes over.
#pragma once

#include <cstdint>

#include "video/ddraw.h"

class LockFailingSurface final : public IDirectDrawSurface {
 public:
  LockFailingSurface(IDirectDrawSurface* inner, int32_t failures)
      : inner_(inner), failures_(failures) {}

  HRESULT Lock(const RECT* rect, DDSURFACEDESC* desc, uint32_t flags, void* event) override {
    if (failures_ > 0) {
      --failures_;
      return DDERR_SURFACEBUSY;
    }
    return inner_->Lock(rect, desc, flags, event);
  }
  uint32_t Release() override {
    const uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  uint32_t AddRef() override { return ++refs_; }

  HRESULT Blt(const RECT* dest, IDirectDrawSurface* src, const RECT* srcRect, uint32_t flags,
              const DDBLTFX* fx) override {
    return inner_->Blt(dest, src, srcRect, flags, fx);
  }
  HRESULT BltFast(int32_t x, int32_t y, IDirectDrawSurface* src, const RECT* srcRect,
                  uint32_t flags) override {
    return inner_->BltFast(x, y, src, srcRect, flags);
  }
  HRESULT Unlock(const void* rect) override { return inner_->Unlock(rect); }
  HRESULT Flip(IDirectDrawSurface* target, uint32_t flags) override {
    return inner_->Flip(target, flags);
  }
  HRESULT GetAttachedSurface(const DDSCAPS* caps, IDirectDrawSurface** out) override {
    return inner_->GetAttachedSurface(caps, out);
  }
  HRESULT GetColorKey(uint32_t flags, DDCOLORKEY* key) override {
    return inner_->GetColorKey(flags, key);
  }
  HRESULT SetPalette(IDirectDrawPalette* palette) override { return inner_->SetPalette(palette); }
  int32_t Width() const override { return inner_->Width(); }
  int32_t Height() const override { return inner_->Height(); }
  int32_t Pitch() const override { return inner_->Pitch(); }
  uint8_t* Pixels() override { return inner_->Pixels(); }
  const uint8_t* Pixels() const override { return inner_->Pixels(); }
  bool Locked() const override { return inner_->Locked(); }
  IDirectDrawPalette* Palette() const override { return inner_->Palette(); }

 private:
  ~LockFailingSurface() override { inner_->Release(); }

  IDirectDrawSurface* inner_;
  int32_t failures_;
  uint32_t refs_ = 1;
};
