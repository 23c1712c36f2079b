#include "platform/Relogio.h"

#include <cstdio>

namespace tavoran {

std::string FormatarDataHoraRelatorio(const DataHora& d) {
  char b[32];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d %02d:%02d:%02d", d.ano, d.mes, d.dia, d.hora, d.minuto, d.segundo);
  return b;
}

std::string FormatarCarimboArquivo(const DataHora& d) {
  char b[32];
  std::snprintf(b, sizeof b, "%04d-%02d-%02d_%02d-%02d-%02d", d.ano, d.mes, d.dia, d.hora, d.minuto, d.segundo);
  return b;
}

}  // namespace tavoran
