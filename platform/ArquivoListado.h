#pragma once
// The one existence test of a file: the directory lookup of the path, hidden and
// archive files included, finds a file (folders do not count).
#include <string>

#include "platform/Arquivos.h"

namespace tavoran {

bool ArquivoListado(IArquivos& arquivos, const std::string& v_sArquivo);

}  // namespace tavoran
