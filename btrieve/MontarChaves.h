#pragma once
// The key-definition notation ("/1/14/DF/79/64/DMS/") and the byte layouts built from
// it: the 1920-byte file specification of Create and the 1904-byte key-specification
// array of Create Supplemental Index. All buffers are single-byte texts, little-endian.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

constexpr std::size_t kTamanhoEspecificacaoChave = 16;
constexpr std::size_t kMaximoEspecificacoesChave = 119;
constexpr std::size_t kTamanhoEspecificacoesChaves = kMaximoEspecificacoesChave * kTamanhoEspecificacaoChave;  // 1904
constexpr std::size_t kTamanhoCabecalhoArquivo = 16;
constexpr std::size_t kTamanhoEspecificacaoArquivo = kTamanhoCabecalhoArquivo + kTamanhoEspecificacoesChaves;  // 1920
constexpr std::int32_t kFalhaMontarChaves = 9999;

// Letters "F" and "S" anywhere in the definition: the number of segments it declares.
int LerNumeroSegmentos(const std::string& v_sDefinicaoChaves);

// 119 unused key specifications: zero position, length and flags, type byte and the
// five trailing bytes blank.
std::string EspecificacoesChavesVazias();

// Fills v_sEspecificacoes (1904 bytes) from the definition and returns the key count,
// or 9999 when a token is not a 16-bit number or the definition has a 120th segment;
// the fault is then left in v_falha with its text.
std::int32_t MontarChaves(const std::string& v_sDefinicaoChaves, std::string& v_sEspecificacoes, Falha& v_falha);

// The 1920-byte file specification: header (record length, page size, key count, all
// else zero) followed by the key specifications.
std::string MontarEspecificacaoArquivo(std::int16_t v_iTamanhoRegistro, std::int16_t v_iTamanhoPagina,
                                       std::uint8_t v_bNumeroChaves, const std::string& v_sEspecificacoes);

// Little-endian fields of the engine's buffers.
void GravarInteiro16(std::string& buffer, std::size_t deslocamento, std::int32_t valor);
std::int16_t LerInteiro16(const std::string& buffer, std::size_t deslocamento);

}  // namespace tavoran
