#include "reports/NomesRelatorio.h"

namespace tavoran {

std::string NomeArquivoRelatorio(const std::string& pasta, const std::string& computador, const DataHora& agora) {
  return pasta + "\\" + computador + " (" + FormatarCarimboArquivo(agora) + ").HTML";
}

std::string PadraoRelatoriosComputador(const std::string& pasta, const std::string& computador) {
  return pasta + "\\" + computador + " (*).HTML";
}

}  // namespace tavoran
