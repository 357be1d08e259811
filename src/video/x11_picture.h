// Drawing the 640 x 480 picture into an X11 window, letterboxed at 4:3.
// Where the server has XRender, the server scales: the picture goes into a
// 640 x 480 pixmap (shared memory when MIT-SHM is there, with rows to spare
// above the picture, into which it moves up as the background scrolls down,
// instead of being converted again) and is composited
// onto the window with a nearest-neighbour transform, each picture row once,
// then copied on the server onto the other window rows that show it (where
// those can be read: not under another window). Only the parts of rows that
// changed since the last picture are drawn again. Without XRender the
// picture is scaled here into an image the size of the picture's rectangle.
// Either way every window pixel equals what PictureScaler gives.
#pragma once

#include <cstdint>
#include <memory>

#include "video/x11_picture_way.h"

typedef struct _XDisplay Display;

// What the server of `dpy` offers for drawing the picture.
X11Capabilities QueryX11Capabilities(Display* dpy);

// Draws into one window of one connection. Not a presenter itself: the SDL
// presenter uses it with SDL's own connection and window, the presenter for
// a window of another program with a connection of its own.
class X11PictureDrawer {
 public:
  X11PictureDrawer();
  ~X11PictureDrawer();
  X11PictureDrawer(const X11PictureDrawer&) = delete;
  X11PictureDrawer& operator=(const X11PictureDrawer&) = delete;

  // Starts drawing into `window` of `width` x `height`. `ownWindow`: the
  // window is ours, so its background may be set to black (the server then
  // clears the borders on every exposure); another program's window is
  // never changed, its borders are painted by PaintBorders. A way that
  // fails is reported on stderr with its reason and the next one down is
  // taken; false when none is left.
  bool Start(Display* dpy, unsigned long window, int32_t width, int32_t height, bool ownWindow,
             const X11Capabilities& caps);
  // The window's new size: the picture's place and scale are worked out
  // again and the borders painted (the drawing stops, reported on stderr,
  // when the picture can't be placed).
  void Resize(int32_t width, int32_t height);
  // Paints the borders around the picture black.
  void PaintBorders();
  // The window lost what it showed (it was exposed): the next Draw draws the
  // whole picture, not only what changed since the last one.
  void Invalidate();
  // Shows one picture (640 x 480 palette indices through `argb`).
  void Draw(const uint8_t* pixels, int32_t pitch, const uint32_t* argb);
  // Frees everything made on the server and the shared memory; the window
  // itself is left as it is. Safe to call twice.
  void Stop();

  bool Started() const;
  X11PictureWay Way() const;

 private:
  struct State;
  std::unique_ptr<State> s_;
};
