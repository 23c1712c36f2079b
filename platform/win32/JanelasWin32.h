#pragma once
// Top-level windows: the title walk and the settings-change broadcast.
#include "platform/Janelas.h"

namespace tavoran::win32 {

class JanelasWin32 : public IJanelas {
 public:
  std::vector<std::string> TitulosDesde(IdJanela janela) override;
  void DifundirMudancaConfiguracao() override;
};

}  // namespace tavoran::win32
