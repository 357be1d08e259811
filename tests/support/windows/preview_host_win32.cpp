// A stand-in for Screen Saver Settings: a top-level window holding a
// 152 x 112 small monitor, both one flat green. Prints the monitor's handle
// and the top-level window's (decimal, a line each) and waits; after SECONDS
// (argument, default 10) it destroys both and ends.
// "ask HWND" prints what the end-to-end cases look at in that window: 1 or
// 0 for enabled, and its first child's client size (0x0 without one).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "ask") == 0) {
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 10)));
    RECT child{};
    GetClientRect(GetWindow(window, GW_CHILD), &child);
    std::printf("%d %ldx%ld\n", IsWindowEnabled(window) ? 1 : 0, child.right, child.bottom);
    return 0;
  }
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  WNDCLASSW flat{};
  flat.lpfnWndProc = DefWindowProcW;
  flat.hInstance = GetModuleHandleW(nullptr);
  flat.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
  flat.lpszClassName = L"flat";
  RegisterClassW(&flat);
  HWND top = CreateWindowExW(0, L"flat", L"preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 250,
                             nullptr, nullptr, flat.hInstance, nullptr);
  HWND monitor = CreateWindowExW(0, L"flat", L"", WS_CHILD | WS_VISIBLE, 20, 20, 152, 112, top, nullptr,
                                 flat.hInstance, nullptr);
  std::printf("%llu\n%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(monitor)),
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(top)));
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
