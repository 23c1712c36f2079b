// Watches the progress window of the start-up program for the benchmarks: waits for it,
// then reads its bar until the window is gone, and writes "<highest value> <maximum>" to the
// file named on the command line (the bar only grows, so its highest value is its last).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "platform/win32/ControlesJanela.h"

namespace {

HWND JanelaDoPrograma() { return FindWindowA("frmInicial", nullptr); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR linha, int) {
  HWND janela = nullptr;
  for (int i = 0; i < 60000 / 5 && (janela = JanelaDoPrograma()) == nullptr; ++i) Sleep(5);
  if (janela == nullptr) return 1;
  // The window exists a moment before its controls do.
  HWND barra = nullptr;
  while (IsWindow(janela) && (barra = FindWindowExA(janela, nullptr, tavoran::win32::kClasseBarra, nullptr)) == nullptr)
    Sleep(5);
  LRESULT valor = 0, maximo = 0;
  while (IsWindow(janela) && IsWindow(barra)) {
    const LRESULT v = SendMessageA(barra, PBM_GETPOS, 0, 0), m = SendMessageA(barra, PBM_GETRANGE, FALSE, 0);
    if (v > valor) valor = v;
    if (m > maximo) maximo = m;
    Sleep(5);
  }
  FILE* saida = std::fopen(linha, "w");
  if (saida == nullptr) return 2;
  std::fprintf(saida, "%ld %ld\n", static_cast<long>(valor), static_cast<long>(maximo));
  std::fclose(saida);
  return 0;
}
