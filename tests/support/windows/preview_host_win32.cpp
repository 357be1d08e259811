// A stand-in for Screen Saver Settings' small monitor: a 152 x 112 child
// window in a top-level one. Prints the child's handle (decimal) and waits;
// after SECONDS (argument, default 10) it destroys both and ends.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  HWND top = CreateWindowExW(0, L"STATIC", L"preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 250,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND monitor = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 20, 152, 112, top, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(monitor)));
  std::fflush(stdout);
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  while (GetTickCount() < end) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(20);
  }
  DestroyWindow(top);
  return 0;
}
