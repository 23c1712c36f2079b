#include "platform/win32/JanelasWin32.h"

#include <windows.h>

#include "platform/Texto.h"

namespace tavoran::win32 {

std::vector<std::string> JanelasWin32::TitulosDesde(IdJanela janela) {
  std::vector<std::string> titulos;
  // Without a window of our own, the walk starts at the top of the top-level windows.
  HWND h = janela != 0 ? GetWindow(reinterpret_cast<HWND>(janela), GW_HWNDFIRST) : GetTopWindow(nullptr);
  for (; h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    char titulo[100] = {};
    const int n = GetWindowTextA(h, titulo, sizeof titulo);
    titulos.push_back(DeCp1252(std::string(titulo, n > 0 ? static_cast<std::size_t>(n) : 0)));
  }
  return titulos;
}

// Where posting this message is refused (it may carry a text pointer, so some systems take
// it only as a sent message), it is sent instead, without waiting long for hung windows.
void JanelasWin32::DifundirMudancaConfiguracao() {
  if (PostMessageA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0)) return;
  DWORD_PTR resultado = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, 200, &resultado);
}

}  // namespace tavoran::win32
