// The ways the picture can reach an X11 window, from the one that leaves
// most to the server down to a plain image scaled here, and which of them
// the server's capabilities allow. No Xlib.
#pragma once

// What the X server offers for drawing the picture.
struct X11Capabilities {
  bool render = false;         // XRender 0.6 or later (transforms, filters)
  bool shm = false;            // MIT-SHM, a local connection
  bool sharedPixmaps = false;  // MIT-SHM pixmaps
};

// How the picture reaches the window.
enum class X11PictureWay {
  kRenderSharedPixmap,  // XRender from a shared-memory pixmap
  kRenderSharedImage,   // XRender from a pixmap filled by XShmPutImage
  kRenderPlainImage,    // XRender from a pixmap filled by XPutImage
  kClientSharedImage,   // scaled here, XShmPutImage
  kClientPlainImage,    // scaled here, XPutImage
};
X11PictureWay ChooseX11PictureWay(const X11Capabilities& caps);
inline bool UsesRender(X11PictureWay way) {
  return way == X11PictureWay::kRenderSharedPixmap || way == X11PictureWay::kRenderSharedImage ||
         way == X11PictureWay::kRenderPlainImage;
}
// The picture lies in shared memory that the server reads.
bool UsesSharedMemory(X11PictureWay way);
// What to try once the way of `tried` has failed: one capability less, and
// after XRender, scaled here with the shared memory that `offered` has.
// False when nothing is left to try.
bool DropCapability(X11Capabilities& tried, const X11Capabilities& offered);
// The way as messages name it.
const char* X11PictureWayName(X11PictureWay way);
