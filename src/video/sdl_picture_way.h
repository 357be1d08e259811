// The ways the SDL presenter can draw the picture into its full-screen
// window, as a list probed in order: the first that starts draws. A
// desktop's own way (the X11 drawer) comes before SDL's renderer, which
// serves every video driver; another platform's way is one more entry.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct SDL_Window;

class SdlPictureWay {
 public:
  virtual ~SdlPictureWay() = default;  // stops drawing
  // Starts drawing into `window`; false when refused, said on stderr why
  // (unless the way is not one for the window's video driver at all).
  virtual bool Start(SDL_Window* window) = 0;
  // Shows 640 x 480 palette indices through a palette of 256 0xAARRGGBB.
  virtual void Draw(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) = 0;
  // The window lost its pixels (uncovered, shown again): a way that draws
  // only what changed draws everything next.
  virtual void Invalidate() {}
};

using SdlPictureWayMaker = std::unique_ptr<SdlPictureWay> (*)();
// This platform's ways, best first.
std::span<const SdlPictureWayMaker> SdlPictureWays();
// The flags this platform's picture window is made with besides full screen,
// topmost and borderless (hidden where it is shown only once a way draws).
uint32_t PictureWindowFlags();
// Puts the picture window, its way drawing, in front of the desktop with
// the keyboard: the first key after it appears is the picture's.
void ShowPictureWindow(SDL_Window* window);
// SDL's renderer: the picture in a streaming texture, scaled by SDL.
std::unique_ptr<SdlPictureWay> MakeSdlRendererWay();

// "SDL picture: <what failed> (<SDL's reason>)" on stderr.
void ReportSdlFailure(const std::string& what);
