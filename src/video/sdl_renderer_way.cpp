// SDL's renderer as a way of drawing the picture, for the video drivers
// that have no way of their own.
#include <SDL.h>

#include "base/picture.h"
#include "video/picture_convert.h"
#include "video/picture_mapping.h"
#include "video/sdl_picture_way.h"

namespace {

class SdlRendererWay : public SdlPictureWay {
 public:
  ~SdlRendererWay() override {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
  }

  bool Start(SDL_Window* window) override {
    renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
      ReportSdlFailure("SDL_CreateRenderer failed");
      return false;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kPictureWidth,
                                 kPictureHeight);
    if (texture_ == nullptr) {
      ReportSdlFailure("SDL_CreateTexture failed");
      return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    Place(window);
    // A black picture until the first flip.
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return true;
  }

  void Draw(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    void* dst = nullptr;
    int dstPitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &dst, &dstPitch) == 0) {
      ConvertToArgb(pixels, pitch, argb, static_cast<uint32_t*>(dst), dstPitch);
      SDL_UnlockTexture(texture_);
    }
    const SDL_Rect dr{rect_.x, rect_.y, rect_.w, rect_.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dr);
    SDL_RenderPresent(renderer_);
  }

 private:
  // The full-screen window keeps its size: the picture's place in the
  // renderer's pixels is worked out once.
  void Place(SDL_Window* window) {
    int ow = 0, oh = 0;
    if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0) SDL_GetWindowSize(window, &ow, &oh);
    rect_ = LetterboxRect(ow, oh);
  }

  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  PictureRect rect_;  // where the picture lies in the renderer's pixels
};

}  // namespace

std::unique_ptr<SdlPictureWay> MakeSdlRendererWay() { return std::make_unique<SdlRendererWay>(); }
