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

const char* X11PictureWayName(X11PictureWay way) {
  switch (way) {
    case X11PictureWay::kRenderSharedPixmap:
      return "XRender from a MIT-SHM pixmap";
    case X11PictureWay::kRenderSharedImage:
      return "XRender from a pixmap filled by XShmPutImage";
    case X11PictureWay::kRenderPlainImage:
      return "XRender from a pixmap filled by XPutImage";
    case X11PictureWay::kClientSharedImage:
      return "scaling by the program with XShmPutImage";
    case X11PictureWay::kClientPlainImage:
      return "scaling by the program with XPutImage";
  }
  return "?";
}
