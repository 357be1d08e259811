#include "video/x11_picture_way.h"

X11PictureWay ChooseX11PictureWay(const X11Capabilities& caps) {
  if (caps.render) {
    if (caps.shm && caps.sharedPixmaps) return X11PictureWay::kRenderSharedPixmap;
    return caps.shm ? X11PictureWay::kRenderSharedImage : X11PictureWay::kRenderPlainImage;
  }
  return caps.shm ? X11PictureWay::kClientSharedImage : X11PictureWay::kClientPlainImage;
}

bool UsesSharedMemory(X11PictureWay way) {
  return way == X11PictureWay::kRenderSharedPixmap || way == X11PictureWay::kRenderSharedImage ||
         way == X11PictureWay::kClientSharedImage;
}

bool DropCapability(X11Capabilities& tried, const X11Capabilities& offered) {
  if (tried.sharedPixmaps) {
    tried.sharedPixmaps = false;
  } else if (tried.shm) {
    tried.shm = false;
  } else if (tried.render) {
    tried.render = false;
    tried.shm = offered.shm;
  } else {
    return false;
  }
  return true;
}
