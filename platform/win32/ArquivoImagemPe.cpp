#include "platform/win32/ArquivoImagemPe.h"

#include <windows.h>

#include "platform/Texto.h"

namespace tavoran::win32 {

ArquivoImagemPe::ArquivoImagemPe(const std::string& caminho)
    : arquivo_(CreateFileA(ParaCp1252(caminho).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_RANDOM_ACCESS, nullptr)) {
  LARGE_INTEGER tamanho{};
  if (!arquivo_.Valido()) erro_ = GetLastError();
  if (arquivo_.Valido() && !GetFileSizeEx(arquivo_.get(), &tamanho)) tamanho.QuadPart = 0;
  HANDLE h = arquivo_.get();
  imagem_ = std::make_unique<ImagemPe>(
      [h](std::uint64_t deslocamento, void* destino, std::size_t n) {
        if (h == nullptr || h == INVALID_HANDLE_VALUE) return false;
        OVERLAPPED posicao{};
        posicao.Offset = static_cast<DWORD>(deslocamento);
        posicao.OffsetHigh = static_cast<DWORD>(deslocamento >> 32);
        DWORD lidos = 0;
        return ReadFile(h, destino, static_cast<DWORD>(n), &lidos, &posicao) && lidos == n;
      },
      static_cast<std::uint64_t>(tamanho.QuadPart));
}

}  // namespace tavoran::win32
