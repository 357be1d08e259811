// preview_host SECONDS: stands in for Screen Saver Settings' small monitor.
// Makes a 320 x 240 window at the screen's top left, prints its HWND in
// decimal, destroys it after SECONDS and prints "destroyed in N ms", then
// lives on three more seconds (so the window's end, not the process's, is
// tested).
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < ms) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

int main(int argc, char** argv) {
  const DWORD seconds = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 10;
  HWND host = CreateWindowExW(0, L"STATIC", L"preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 320,
                              240, nullptr, nullptr, nullptr, nullptr);
  if (!host) {
    std::fprintf(stderr, "preview_host: CreateWindowEx failed: %lu\n", GetLastError());
    return 1;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(host)));
  std::fflush(stdout);
  Pump(seconds * 1000);
  const DWORD before = GetTickCount();
  DestroyWindow(host);
  // Wine blocks here for 2 s when its windows wait for a window manager.
  std::printf("destroyed in %lu ms\n", GetTickCount() - before);
  std::fflush(stdout);
  Pump(3000);
  return 0;
}
