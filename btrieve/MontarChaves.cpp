#include "btrieve/MontarChaves.h"

#include <limits>

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr std::size_t kDeslPosicao = 0, kDeslTamanho = 2, kDeslFlags = 4, kDeslTipo = 10;
constexpr std::uint8_t kTipoFinal = 0, kTipoAutoIncremento = 15;
constexpr std::int32_t kFlagDuplicadas = 1, kFlagModificavel = 2, kFlagSegmentada = 16, kFlagAutoIncremento = 256;

// The token as a signed 16-bit decimal number, as the notation allows.
std::int16_t NumeroDoToken(const std::string& token) {
  const std::string t = Aparar(token);
  std::size_t i = (!t.empty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  if (i >= t.size()) throw ErroRuntime(13, "Tipos incompatíveis");
  long valor = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') throw ErroRuntime(13, "Tipos incompatíveis");
    valor = valor * 10 + (t[i] - '0');
    if (valor > 32768) throw ErroRuntime(6, "Estouro");
  }
  if (t[0] == '-') valor = -valor;
  if (valor > std::numeric_limits<std::int16_t>::max()) throw ErroRuntime(6, "Estouro");
  return static_cast<std::int16_t>(valor);
}

std::size_t InicioSegmento(std::size_t segmento) {
  if (segmento >= kMaximoEspecificacoesChave) throw ErroRuntime(9, "Subscrito fora do intervalo");
  return segmento * kTamanhoEspecificacaoChave;
}

// Reads the flag letters of one segment; an unknown letter ends the reading.
void MontarFlagsSegmento(const std::string& letras, std::string& especificacoes, std::size_t inicio,
                         std::int32_t& numeroChaves, bool& autoIncremento) {
  std::int32_t flags = 0;
  for (char letra : letras) {
    if (letra == 'D') {
      flags += kFlagDuplicadas;
    } else if (letra == 'M') {
      flags += kFlagModificavel;
    } else if (letra == 'S') {
      flags += kFlagSegmentada;
    } else if (letra == 'A') {
      autoIncremento = true;
    } else if (letra == 'F') {
      ++numeroChaves;
      especificacoes[inicio + kDeslTipo] = static_cast<char>(kTipoFinal);
      if (autoIncremento) {
        especificacoes[inicio + kDeslTipo] = static_cast<char>(kTipoAutoIncremento);
        flags = kFlagAutoIncremento;
        autoIncremento = false;
      }
    } else {
      break;
    }
  }
  GravarInteiro16(especificacoes, inicio + kDeslFlags, flags);
}

}  // namespace

void GravarInteiro16(std::string& buffer, std::size_t deslocamento, std::int32_t valor) {
  const auto v = static_cast<std::uint16_t>(valor);
  buffer[deslocamento] = static_cast<char>(v & 0xFF);
  buffer[deslocamento + 1] = static_cast<char>(v >> 8);
}

std::int16_t LerInteiro16(const std::string& buffer, std::size_t deslocamento) {
  const auto baixo = static_cast<unsigned char>(buffer[deslocamento]);
  const auto alto = static_cast<unsigned char>(buffer[deslocamento + 1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(baixo | (alto << 8)));
}

int LerNumeroSegmentos(const std::string& v_sDefinicaoChaves) {
  int segmentos = 0;
  for (char c : v_sDefinicaoChaves)
    if (c == 'F' || c == 'S') ++segmentos;
  return segmentos;
}

std::string EspecificacoesChavesVazias() {
  std::string vazias(kTamanhoEspecificacoesChaves, '\0');
  for (std::size_t s = 0; s < kMaximoEspecificacoesChave; ++s)
    for (std::size_t i = kDeslTipo; i < kTamanhoEspecificacaoChave; ++i) vazias[s * kTamanhoEspecificacaoChave + i] = ' ';
  return vazias;
}

std::int32_t MontarChaves(const std::string& v_sDefinicaoChaves, std::string& v_sEspecificacoes, Falha& v_falha) {
  v_falha = {};
  try {
    v_sEspecificacoes = EspecificacoesChavesVazias();
    std::size_t barraAnterior = std::string::npos;
    int campo = 1;
    std::size_t segmento = 0;
    std::int32_t numeroChaves = 0;
    bool autoIncremento = false;
    for (std::size_t i = 0; i < v_sDefinicaoChaves.size(); ++i) {
      if (v_sDefinicaoChaves[i] != '/') continue;
      if (barraAnterior == std::string::npos) {
        barraAnterior = i;
        continue;
      }
      const std::string token = v_sDefinicaoChaves.substr(barraAnterior + 1, i - barraAnterior - 1);
      barraAnterior = i;
      if (campo == 1) {
        GravarInteiro16(v_sEspecificacoes, InicioSegmento(segmento) + kDeslPosicao, NumeroDoToken(token));
      } else if (campo == 2) {
        GravarInteiro16(v_sEspecificacoes, InicioSegmento(segmento) + kDeslTamanho, NumeroDoToken(token));
      } else {
        MontarFlagsSegmento(token, v_sEspecificacoes, InicioSegmento(segmento), numeroChaves, autoIncremento);
        ++segmento;
      }
      campo = campo == 3 ? 1 : campo + 1;
    }
    return numeroChaves;
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    v_falha = {f.numero, "Erro inesperado ao montar chaves: " + f.descricao};
    return kFalhaMontarChaves;
  }
}

std::string MontarEspecificacaoArquivo(std::int16_t v_iTamanhoRegistro, std::int16_t v_iTamanhoPagina,
                                       std::uint8_t v_bNumeroChaves, const std::string& v_sEspecificacoes) {
  std::string arquivo(kTamanhoCabecalhoArquivo, '\0');
  GravarInteiro16(arquivo, 0, v_iTamanhoRegistro);
  GravarInteiro16(arquivo, 2, v_iTamanhoPagina);
  GravarInteiro16(arquivo, 4, v_bNumeroChaves);
  arquivo += v_sEspecificacoes.substr(0, kTamanhoEspecificacoesChaves);
  arquivo.resize(kTamanhoEspecificacaoArquivo, '\0');
  return arquivo;
}

}  // namespace tavoran
