#include "platform/ArquivoListado.h"

namespace tavoran {

bool ArquivoListado(IArquivos& arquivos, const std::string& v_sArquivo) {
  return arquivos.ListaArquivo(v_sArquivo);
}

}  // namespace tavoran
