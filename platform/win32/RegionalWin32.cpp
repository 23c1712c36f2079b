#include "platform/win32/RegionalWin32.h"

#include <windows.h>

#include "platform/Texto.h"

namespace tavoran::win32 {

std::uint32_t RegionalWin32::IdLocalePadraoSistema() { return GetSystemDefaultLCID(); }

int RegionalWin32::LerInfo(std::uint32_t idLocale, std::uint32_t item, int tamanho, std::string& texto) {
  if (tamanho <= 0) return GetLocaleInfoA(idLocale, item, nullptr, 0);
  std::string buffer(static_cast<std::size_t>(tamanho), ' ');
  const int n = GetLocaleInfoA(idLocale, item, buffer.data(), tamanho);
  if (n <= 0) return n;
  // The count describes the UTF-8 text handed back (NUL included), so that "the first
  // n - 1 characters" stays the whole value also for accented texts.
  texto = DeCp1252(AteNulo(buffer.substr(0, static_cast<std::size_t>(n)))) + '\0';
  return static_cast<int>(texto.size());
}

bool RegionalWin32::GravarInfo(std::uint32_t idLocale, std::uint32_t item, const std::string& texto) {
  return SetLocaleInfoA(idLocale, item, ParaCp1252(texto).c_str()) != FALSE;
}

}  // namespace tavoran::win32
