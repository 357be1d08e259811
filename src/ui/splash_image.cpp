#include "ui/splash_image.h"

#include <FL/Fl_RGB_Image.H>
#include <SDL.h>

#include "ui/splash.h"

Fl_RGB_Image* MakeSplashImage() {
  if (kSplashBmpSize == 0) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(kSplashBmp, static_cast<int>(kSplashBmpSize));
  SDL_Surface* bmp = rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (bmp == nullptr) return nullptr;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(bmp, SDL_PIXELFORMAT_RGB24, 0);
  SDL_FreeSurface(bmp);
  if (rgb == nullptr) return nullptr;
  const int w = rgb->w, h = rgb->h;
  auto* data = new unsigned char[static_cast<size_t>(w) * h * 3];
  for (int y = 0; y < h; ++y) {
    SDL_memcpy(data + static_cast<size_t>(y) * w * 3, static_cast<unsigned char*>(rgb->pixels) + y * rgb->pitch,
               static_cast<size_t>(w) * 3);
  }
  SDL_FreeSurface(rgb);
  auto* image = new Fl_RGB_Image(data, w, h, 3);
  image->alloc_array = 1;  // the image frees the pixels
  return image;
}
