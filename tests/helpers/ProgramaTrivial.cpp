// The trivial MinGW program of the start-up benchmarks: shows one window, keeps it for the
// milliseconds its argument gives (300 when none) and ends. With TAV_REGISTRO_TEMPOS set it
// records when its work is done, before it destroys the window (tests/helpers/MarcaTempo.h).
#include <windows.h>

#include <cstdlib>

#include "tests/helpers/MarcaTempo.h"

int WINAPI WinMain(HINSTANCE instancia, HINSTANCE, LPSTR linha, int) {
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
  const int espera = linha != nullptr && *linha != '\0' ? std::atoi(linha) : 300;
  const ULONGLONG fim = GetTickCount64() + static_cast<ULONGLONG>(espera > 0 ? espera : 0);
  do {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    if (GetTickCount64() < fim) Sleep(10);
  } while (GetTickCount64() < fim);
  tavoran::testes::GravarMarcaTempo(tavoran::testes::AgoraUnixNs());
  DestroyWindow(h);
  return 0;
}
