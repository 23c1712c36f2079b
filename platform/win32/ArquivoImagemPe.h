#pragma once
// A program or library file opened for reading its headers, exports and version resource
// without loading it.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImagemPe.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {

class ArquivoImagemPe {
 public:
  // The path in UTF-8; a file that cannot be opened reads as an invalid image.
  explicit ArquivoImagemPe(const std::string& caminho);
  const ImagemPe& Imagem() const { return *imagem_; }
  // The Windows error of opening the file (0 when it opened).
  unsigned long ErroAbertura() const { return erro_; }

 private:
  // Reads whole 4 KiB blocks and serves the many small reads of the headers and of the
  // resource tree from them: one system call per block instead of one per field.
  class Blocos {
   public:
    Blocos(HANDLE arquivo, std::uint64_t tamanho) : arquivo_(arquivo), tamanho_(tamanho) {}
    bool Ler(std::uint64_t deslocamento, void* destino, std::size_t n);

   private:
    const std::vector<std::uint8_t>* Bloco(std::uint64_t indice);
    HANDLE arquivo_;
    std::uint64_t tamanho_;
    std::map<std::uint64_t, std::vector<std::uint8_t>> blocos_;
  };

  Handle arquivo_;
  unsigned long erro_ = 0;
  std::unique_ptr<Blocos> blocos_;
  std::unique_ptr<ImagemPe> imagem_;
};

}  // namespace tavoran::win32
