#pragma once
// The CSV manifest of a version file: a header naming the twelve fields (any order,
// separated by ";" or ","), then one entry per line; quoted values may hold the
// separator and doubled quotes. Text is UTF-8, or Windows-1252 when a line is not UTF-8.
#include <array>
#include <string>
#include <vector>

namespace tavoran::tavadmin {

constexpr std::size_t kCamposManifesto = 12;

// The field names in record order, with their widths.
struct CampoManifesto {
  const char* nome;
  std::size_t tamanho;
};
extern const std::array<CampoManifesto, kCamposManifesto> kCamposVersao;

using EntradaVersao = std::array<std::string, kCamposManifesto>;  // values in record order

// Reads the whole manifest; false with a pt-BR message naming the line on the first fault
// (header, column count, quotes, a value longer than its field, a blank program name).
bool LerManifesto(const std::string& texto, std::vector<EntradaVersao>& entradas, std::string& mensagem);

// The manifest of the given entries, ";"-separated with a header, lines ending CR LF.
std::string EscreverManifesto(const std::vector<EntradaVersao>& entradas);

}  // namespace tavoran::tavadmin
