#pragma once
// A program or library file opened for reading its headers, exports and version resource
// without loading it.
#include <memory>
#include <string>

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
  Handle arquivo_;
  unsigned long erro_ = 0;
  std::unique_ptr<ImagemPe> imagem_;
};

}  // namespace tavoran::win32
