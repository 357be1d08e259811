// Windows' "/p HWND": the demo in the small monitor of Screen Saver
// Settings, a window of another process. As the savers Windows ships do, the
// picture goes into a child window of ours that covers the monitor's client
// area and follows its size; the host's own repaint cannot erase it, and the
// host finds it as its child. The child is disabled (clicks reach the host,
// the picture never takes input), and the run ends when it is destroyed
// with its parent.
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/daemon_system.h"
#include "base/diagnostic.h"
#include "base/picture.h"
#include "shell/application.h"
#include "video/presenter.h"

namespace {

HWND g_host = nullptr;
bool g_previewDestroyed = false;

struct PaletteBitmap {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

// The picture last presented, drawn again whenever the window asks.
struct Frame {
  PaletteBitmap bitmap{};
  std::vector<uint8_t> pixels;
  int drawn = 0;  // frames that reached the window
};
Frame g_frame;

// The largest 4:3 box centred in `area`.
RECT LetterBox(const RECT& area) {
  const LONG w = area.right - area.left, h = area.bottom - area.top;
  const LONG bw = w * 3 <= h * 4 ? w : h * 4 / 3;
  const LONG bh = bw * 3 / 4;
  const LONG x = area.left + (w - bw) / 2, y = area.top + (h - bh) / 2;
  return RECT{x, y, x + bw, y + bh};
}

// Black around the picture only: a fill under it would show between two
// frames as a flicker.
void PaintFrame(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area{};
  GetClientRect(window, &area);
  const RECT box = LetterBox(area);
  const int saved = SaveDC(dc);
  if (!g_frame.pixels.empty()) ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RestoreDC(dc, saved);
  if (!g_frame.pixels.empty()) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    if (StretchDIBits(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, 0, 0, kPictureWidth,
                      kPictureHeight, g_frame.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&g_frame.bitmap),
                      DIB_RGB_COLORS, SRCCOPY) > 0) {
      ++g_frame.drawn;
    }
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: PaintFrame(window); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers it all
    case WM_DESTROY: g_previewDestroyed = true; return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

// No parent notification: making and destroying the child never waits on
// the host's thread.
HWND MakePreviewWindow(HWND host) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PreviewWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = L"zuk_rer1_preview";
  RegisterClassW(&wc);
  RECT area{};
  GetClientRect(host, &area);
  return CreateWindowExW(WS_EX_NOPARENTNOTIFY, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0,
                         area.right, area.bottom, host, nullptr, wc.hInstance, nullptr);
}

// With ZUK_DEBUG_PREVIEW set, the end of the preview says how many frames
// reached its window: Wine shows no drawing into a window whose top-level
// window is another process's, so a test counts them instead.
void ReportFramesDrawn() {
  const char* debug = std::getenv("ZUK_DEBUG_PREVIEW");
  if (debug != nullptr && *debug != '\0') ReportProblem(std::to_string(g_frame.drawn) + " frames drawn into the preview");
}

class PreviewPresenter : public Presenter {
 public:
  explicit PreviewPresenter(HWND host) : host_(host) {}
  bool Open(const std::string&) override {
    window_ = IsWindow(host_) ? MakePreviewWindow(host_) : nullptr;
    return window_ != nullptr;
  }
  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    if (!IsWindow(window_)) return;
    FollowTheHostsSize();
    Keep(pixels, pitch, argb);
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
  }
  void Close() override {
    ReportFramesDrawn();
    if (IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
  }

 private:
  void FollowTheHostsSize() {
    RECT host{}, own{};
    GetClientRect(host_, &host);
    GetClientRect(window_, &own);
    if (host.right != own.right || host.bottom != own.bottom) {
      SetWindowPos(window_, nullptr, 0, 0, host.right, host.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  static void Keep(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) {
    BITMAPINFOHEADER& header = g_frame.bitmap.header;
    header.biSize = sizeof header;
    header.biWidth = pitch;
    header.biHeight = -kPictureHeight;  // top row first
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biCompression = BI_RGB;
    header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i) {
      g_frame.bitmap.colors[i] = RGBQUAD{static_cast<BYTE>(argb[i]), static_cast<BYTE>(argb[i] >> 8),
                                         static_cast<BYTE>(argb[i] >> 16), 0};
    }
    g_frame.pixels.assign(pixels, pixels + static_cast<size_t>(pitch) * kPictureHeight);
  }
  HWND host_;
  HWND window_ = nullptr;
};

}  // namespace

void DrawIntoDaemonWindow(const DaemonWindow& window) {
  g_host = reinterpret_cast<HWND>(static_cast<uintptr_t>(window.id));
  if (!IsWindow(g_host)) {
    ReportProblem("the window " + std::to_string(window.id) + " to draw the preview into does not exist");
    ProgramEnd(1);
  }
  HWND host = g_host;
  SetPresenterFactory([host] { return std::unique_ptr<Presenter>(new PreviewPresenter(host)); });
}

bool DaemonWindowLost() { return g_host != nullptr && (!IsWindow(g_host) || g_previewDestroyed); }

void PumpDaemonWindowMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
