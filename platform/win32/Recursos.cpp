#include "platform/win32/Recursos.h"

namespace tavoran::win32 {

std::wstring Utf16(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring saida(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), saida.data(), n);
  return saida;
}

std::string Utf8(const wchar_t* texto, int tamanho) {
  if (texto == nullptr || tamanho == 0) return {};
  if (tamanho < 0) tamanho = lstrlenW(texto);
  const int n = WideCharToMultiByte(CP_UTF8, 0, texto, tamanho, nullptr, 0, nullptr, nullptr);
  std::string saida(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, texto, tamanho, saida.data(), n, nullptr, nullptr);
  return saida;
}

}  // namespace tavoran::win32
