// Windows' "/p HWND": the demo drawn into the small monitor of Screen Saver
// Settings, a window of another process. The picture is stretched into its
// client area at 4:3 through GDI, never takes input, and the run ends as
// soon as the window is destroyed.
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <string>

#include "app/daemon_system.h"
#include "base/diagnostic.h"
#include "base/picture.h"
#include "shell/application.h"
#include "video/presenter.h"

namespace {

HWND g_window = nullptr;

struct PaletteBitmap {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

// The largest 4:3 box centred in `area`.
RECT LetterBox(const RECT& area) {
  const LONG w = area.right - area.left, h = area.bottom - area.top;
  const LONG bw = w * 3 <= h * 4 ? w : h * 4 / 3;
  const LONG bh = bw * 3 / 4;
  const LONG x = area.left + (w - bw) / 2, y = area.top + (h - bh) / 2;
  return RECT{x, y, x + bw, y + bh};
}

class PreviewPresenter : public Presenter {
 public:
  explicit PreviewPresenter(HWND window) : window_(window) {}
  bool Open(const std::string&) override { return IsWindow(window_) != FALSE; }
  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    RECT area{};
    if (!IsWindow(window_) || !GetClientRect(window_, &area)) return;
    PaletteBitmap bitmap{};
    bitmap.header.biSize = sizeof bitmap.header;
    bitmap.header.biWidth = pitch;
    bitmap.header.biHeight = -kPictureHeight;  // top row first
    bitmap.header.biPlanes = 1;
    bitmap.header.biBitCount = 8;
    bitmap.header.biCompression = BI_RGB;
    bitmap.header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
      bitmap.colors[i] = RGBQUAD{static_cast<BYTE>(argb[i]), static_cast<BYTE>(argb[i] >> 8),
                                 static_cast<BYTE>(argb[i] >> 16), 0};
    }
    Draw(area, pixels, bitmap);
  }
  void Close() override {}

 private:
  void Draw(const RECT& area, const uint8_t* pixels, const PaletteBitmap& bitmap) {
    HDC dc = GetDC(window_);
    if (dc == nullptr) return;
    const RECT box = LetterBox(area);
    // Black only around the picture: a fill under it would show between two
    // frames as a flicker.
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RestoreDC(dc, saved);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, kPictureWidth,
                  kPictureHeight, pixels, reinterpret_cast<const BITMAPINFO*>(&bitmap), DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(window_, dc);
  }
  HWND window_;
};

}  // namespace

void DrawIntoDaemonWindow(const DaemonWindow& window) {
  g_window = reinterpret_cast<HWND>(static_cast<uintptr_t>(window.id));
  if (!IsWindow(g_window)) {
    ReportProblem("the window " + std::to_string(window.id) + " to draw the preview into does not exist");
    ProgramEnd(1);
  }
  HWND target = g_window;
  SetPresenterFactory([target] { return std::unique_ptr<Presenter>(new PreviewPresenter(target)); });
}

bool DaemonWindowLost() { return g_window != nullptr && !IsWindow(g_window); }

void PumpDaemonWindowMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
