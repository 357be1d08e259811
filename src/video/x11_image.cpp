#include "video/x11_image.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <X11/Xutil.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include "video/x11_errors.h"

namespace {

// What an image of `bits` a pixel gives instead of 32.
std::string NotThirtyTwoBits(const char* made, int bits) {
  return std::string(made) + " gave " + std::to_string(bits) + " bits a pixel, not 32";
}

}  // namespace

bool X11Image::Make(Display* dpy, Visual* visual, int depth, int32_t w, int32_t h, bool shared,
                    std::string& why) {
  dpy_ = dpy;
  shared_ = shared;
  return shared ? MakeShared(visual, depth, w, h, why) : MakePlain(visual, depth, w, h, why);
}

bool X11Image::MakeShared(Visual* visual, int depth, int32_t w, int32_t h, std::string& why) {
  image_ = XShmCreateImage(dpy_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr, &shm_,
                           static_cast<unsigned>(w), static_cast<unsigned>(h));
  if (image_ == nullptr) {
    why = "XShmCreateImage failed";
    return false;
  }
  if (image_->bits_per_pixel != 32) {
    why = NotThirtyTwoBits("XShmCreateImage", image_->bits_per_pixel);
  } else if (AttachShared(static_cast<size_t>(image_->bytes_per_line) * static_cast<size_t>(h), why)) {
    image_->data = shm_.shmaddr;
    return true;
  }
  XDestroyImage(image_);
  image_ = nullptr;
  return false;
}

bool X11Image::MakePlain(Visual* visual, int depth, int32_t w, int32_t h, std::string& why) {
  plain_.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  image_ = XCreateImage(dpy_, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                        reinterpret_cast<char*>(plain_.data()), static_cast<unsigned>(w),
                        static_cast<unsigned>(h), 32, w * 4);
  if (image_ == nullptr) {
    why = "XCreateImage failed";
    return false;
  }
  if (image_->bits_per_pixel != 32) {
    why = NotThirtyTwoBits("XCreateImage", image_->bits_per_pixel);
    Free();
    return false;
  }
  // Our pixels are native 32-bit words; Xlib swaps them for a server of
  // the other byte order.
  const uint32_t one = 1;
  image_->byte_order = *reinterpret_cast<const uint8_t*>(&one) == 1 ? LSBFirst : MSBFirst;
  return true;
}

bool X11Image::AttachShared(size_t bytes, std::string& why) {
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shm_.shmid < 0) {
    why = std::string("shmget: ") + std::strerror(errno);
    return false;
  }
  shm_.shmaddr = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
  if (shm_.shmaddr == reinterpret_cast<char*>(-1)) {
    why = std::string("shmat: ") + std::strerror(errno);
    shmctl(shm_.shmid, IPC_RMID, nullptr);
    shm_.shmaddr = nullptr;
    return false;
  }
  shm_.readOnly = False;
  const int refusal = TryX11Request(dpy_, [&] { XShmAttach(dpy_, &shm_); });
  attached_ = refusal == 0;
  // Gone for good as soon as both sides have detached.
  shmctl(shm_.shmid, IPC_RMID, nullptr);
  if (!attached_) {
    why = "XShmAttach: " + X11ErrorText(dpy_, refusal);
    shmdt(shm_.shmaddr);
    shm_.shmaddr = nullptr;
  }
  return attached_;
}

void X11Image::DetachShared() {
  if (attached_) {
    XShmDetach(dpy_, &shm_);
    XSync(dpy_, False);
    attached_ = false;
  }
  if (shm_.shmaddr != nullptr) shmdt(shm_.shmaddr);
  shm_ = XShmSegmentInfo{};
}

void X11Image::Free() {
  if (image_ != nullptr) {
    image_->data = nullptr;  // shared memory or the vector: not Xlib's to free
    XDestroyImage(image_);
    image_ = nullptr;
  }
  DetachShared();
  plain_.clear();
  plain_.shrink_to_fit();
}

void X11Image::Put(Drawable drawable, GC gc, int x, int y, unsigned w, unsigned h) {
  if (shared_) {
    XShmPutImage(dpy_, drawable, gc, image_, 0, 0, x, y, w, h, False);
  } else {
    XPutImage(dpy_, drawable, gc, image_, 0, 0, x, y, w, h);
  }
}

void X11Image::AwaitServer() {
  if (!inFlight_) return;
  inFlight_ = false;
  xcb_connection_t* c = XGetXCBConnection(dpy_);
  void* reply = nullptr;
  xcb_generic_error_t* error = nullptr;
  // Read already (by whoever read the connection), or waiting in it; the
  // blocking wait only when the server is slower than a frame. A lost
  // connection answers at once, with nothing.
  if (xcb_poll_for_reply(c, fence_, &reply, &error) == 0) reply = xcb_wait_for_reply(c, fence_, &error);
  std::free(reply);
  std::free(error);
}

void X11Image::Send(bool answered) {
  if (!shared_ || answered) {
    XFlush(dpy_);
    return;
  }
  // Sent through XCB after the frame's requests, which Xlib hands over
  // first, and flushed with them.
  xcb_connection_t* c = XGetXCBConnection(dpy_);
  fence_ = xcb_get_input_focus(c).sequence;
  inFlight_ = true;
  xcb_flush(c);
}
