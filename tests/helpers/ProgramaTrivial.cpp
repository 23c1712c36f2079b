// The trivial MinGW program of the start-up benchmark: shows one window and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instancia, HINSTANCE, LPSTR, int) {
  WNDCLASSA c{};
  c.lpfnWndProc = DefWindowProcA;
  c.hInstance = instancia;
  c.lpszClassName = "ProgramaTrivial";
  RegisterClassA(&c);
  HWND h = CreateWindowExA(0, "ProgramaTrivial", "Trivial", WS_OVERLAPPEDWINDOW, 100, 100, 300, 100, nullptr, nullptr,
                           instancia, nullptr);
  ShowWindow(h, SW_SHOW);
  UpdateWindow(h);
  MSG m;
  const ULONGLONG fim = GetTickCount64() + 300;
  while (GetTickCount64() < fim) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(10);
  }
  DestroyWindow(h);
  return 0;
}
