#pragma once
// Regional settings facility (GetSystemDefaultLCID, GetLocaleInfoA, SetLocaleInfoA).
#include <cstdint>
#include <string>

namespace tavoran {

constexpr std::uint32_t kLocaleDataCurta = 31;  // LOCALE_SSHORTDATE

class IRegional {
 public:
  virtual ~IRegional() = default;
  virtual std::uint32_t IdLocalePadraoSistema() = 0;
  // GetLocaleInfoA with a buffer of `tamanho` characters (0 asks for the size): the count it
  // returns, NUL included; with a buffer, `texto` holds what was written.
  virtual int LerInfo(std::uint32_t idLocale, std::uint32_t item, int tamanho, std::string& texto) = 0;
  virtual bool GravarInfo(std::uint32_t idLocale, std::uint32_t item, const std::string& texto) = 0;
};

}  // namespace tavoran
