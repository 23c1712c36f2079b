#include "platform/ArquivoListado.h"

namespace tavoran {

bool ArquivoListado(IArquivos& arquivos, const std::string& v_sArquivo) {
  for (const EntradaPasta& e : arquivos.Listar(v_sArquivo))
    if (!e.pasta) return true;
  return false;
}

}  // namespace tavoran
