#include "platform/win32/ArquivoImagemPe.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/Texto.h"

namespace tavoran::win32 {

namespace {
constexpr std::uint64_t kTamanhoBloco = 4096;
}

const std::vector<std::uint8_t>* ArquivoImagemPe::Blocos::Bloco(std::uint64_t indice) {
  if (auto b = blocos_.find(indice); b != blocos_.end()) return &b->second;
  const std::uint64_t inicio = indice * kTamanhoBloco;
  std::vector<std::uint8_t> bloco(static_cast<std::size_t>(std::min(kTamanhoBloco, tamanho_ - inicio)));
  // Positioned by the file pointer rather than by an OVERLAPPED offset: a read given an
  // OVERLAPPED also asks whether a completion port waits for it.
  LARGE_INTEGER posicao{};
  posicao.QuadPart = static_cast<LONGLONG>(inicio);
  DWORD lidos = 0;
  if (!SetFilePointerEx(arquivo_, posicao, nullptr, FILE_BEGIN) ||
      !ReadFile(arquivo_, bloco.data(), static_cast<DWORD>(bloco.size()), &lidos, nullptr) || lidos != bloco.size())
    return nullptr;
  return &blocos_.emplace(indice, std::move(bloco)).first->second;
}

bool ArquivoImagemPe::Blocos::Ler(std::uint64_t deslocamento, void* destino, std::size_t n) {
  if (arquivo_ == nullptr || arquivo_ == INVALID_HANDLE_VALUE) return false;
  if (deslocamento > tamanho_ || n > tamanho_ - deslocamento) return false;
  auto* saida = static_cast<std::uint8_t*>(destino);
  while (n > 0) {
    const std::vector<std::uint8_t>* bloco = Bloco(deslocamento / kTamanhoBloco);
    if (bloco == nullptr) return false;
    const std::size_t dentro = static_cast<std::size_t>(deslocamento % kTamanhoBloco);
    const std::size_t parte = std::min(n, bloco->size() - dentro);
    std::memcpy(saida, bloco->data() + dentro, parte);
    saida += parte;
    deslocamento += parte;
    n -= parte;
  }
  return true;
}

ArquivoImagemPe::ArquivoImagemPe(const std::string& caminho)
    : arquivo_(CreateFileA(ParaCp1252(caminho).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_RANDOM_ACCESS, nullptr)) {
  LARGE_INTEGER tamanho{};
  if (!arquivo_.Valido()) erro_ = GetLastError();
  if (arquivo_.Valido() && !GetFileSizeEx(arquivo_.get(), &tamanho)) tamanho.QuadPart = 0;
  blocos_ = std::make_unique<Blocos>(arquivo_.get(), static_cast<std::uint64_t>(tamanho.QuadPart));
  imagem_ = std::make_unique<ImagemPe>(
      [b = blocos_.get()](std::uint64_t deslocamento, void* destino, std::size_t n) {
        return b->Ler(deslocamento, destino, n);
      },
      static_cast<std::uint64_t>(tamanho.QuadPart));
}

}  // namespace tavoran::win32
