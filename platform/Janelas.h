#pragma once
// Top-level windows facility.
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace tavoran {

class IJanelas {
 public:
  virtual ~IJanelas() = default;
  // Titles of the windows from GetWindow(janela, GW_HWNDFIRST) on, following GW_HWNDNEXT,
  // each read with at most 100 characters and cut at the first NUL.
  virtual std::vector<std::string> TitulosDesde(IdJanela janela) = 0;
  // Posts WM_SETTINGCHANGE (wParam 0) to every top-level window.
  virtual void DifundirMudancaConfiguracao() = 0;
};

}  // namespace tavoran
