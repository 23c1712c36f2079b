#pragma once
// Existence test of the record-file layer: the directory lookup of the path, hidden and
// archive files included, finds a file (folders do not count).
#include <string>

#include "platform/Arquivos.h"

namespace tavoran {

bool ArquivoListado(IArquivos& arquivos, const std::string& v_sArquivo);

}  // namespace tavoran
