// The image that the picture is written into, in 32-bit pixels: in shared
// memory that the server reads (MIT-SHM) or in memory of ours that Xlib
// sends with each picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

class X11Image {
 public:
  // Makes the image of w x h pixels of `depth` (a pixmap's 24 or the
  // window's own) for `visual`; false with the reason in `why`.
  bool Make(Display* dpy, Visual* visual, int depth, int32_t w, int32_t h, bool shared, std::string& why);
  // Frees the image and detaches its shared memory.
  void Free();
  bool Made() const { return image_ != nullptr; }
  uint32_t* Pixels() const { return reinterpret_cast<uint32_t*>(image_->data); }
  int32_t Pitch() const { return image_->bytes_per_line; }
  int32_t Rows() const { return image_->height; }
  // The shared memory, for a pixmap made in it.
  XShmSegmentInfo* Segment() { return &shm_; }
  // Sends w x h pixels of the image to `drawable` at x, y.
  void Put(Drawable drawable, GC gc, int x, int y, unsigned w, unsigned h);

  // The server may still read the shared memory until it has answered a
  // request sent after the frame's drawing. The answer is taken as the next
  // frame is drawn, when it has long arrived: no round trip a frame, and no
  // waking up for it in between.
  //
  // Waits until the server has done with the last picture.
  void AwaitServer();
  // Sends the frame's requests, for shared memory with the request to be
  // answered unless the server has `answered` after them already.
  void Send(bool answered);

 private:
  bool MakeShared(Visual* visual, int depth, int32_t w, int32_t h, std::string& why);
  bool MakePlain(Visual* visual, int depth, int32_t w, int32_t h, std::string& why);
  bool AttachShared(size_t bytes, std::string& why);
  void DetachShared();

  Display* dpy_ = nullptr;
  XImage* image_ = nullptr;
  bool shared_ = false;
  XShmSegmentInfo shm_{};
  bool attached_ = false;
  std::vector<uint32_t> plain_;
  bool inFlight_ = false;
  unsigned int fence_ = 0;
};
