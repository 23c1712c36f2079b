#pragma once
// Regional settings through GetSystemDefaultLCID, GetLocaleInfoA and SetLocaleInfoA.
#include "platform/Regional.h"

namespace tavoran::win32 {

class RegionalWin32 : public IRegional {
 public:
  std::uint32_t IdLocalePadraoSistema() override;
  int LerInfo(std::uint32_t idLocale, std::uint32_t item, int tamanho, std::string& texto) override;
  bool GravarInfo(std::uint32_t idLocale, std::uint32_t item, const std::string& texto) override;
};

}  // namespace tavoran::win32
