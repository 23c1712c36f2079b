#include "engine/Diario.h"

#include <bit>
#include <cstring>

#include "engine/Bytes.h"
#include "engine/Crc32.h"

namespace tavoran::motor {

namespace {
constexpr char kAssinatura[8] = {'T', 'A', 'V', 'J', 'R', 'N', 'L', '2'};
constexpr std::size_t kCabecalhoEntrada = 12;  // page number, sector mask
constexpr std::size_t kPosPaginas = 48;        // the page count in the header

std::size_t BytesEntrada(std::uint64_t setores) {
  return kCabecalhoEntrada + static_cast<std::size_t>(std::popcount(setores)) * kTamanhoSetor;
}
}  // namespace

std::uint64_t SetoresDiferentes(const std::uint8_t* antes, const std::uint8_t* depois, std::size_t n) {
  std::uint64_t setores = 0;
  for (std::size_t s = 0; s * kTamanhoSetor < n; ++s)
    if (std::memcmp(antes + s * kTamanhoSetor, depois + s * kTamanhoSetor, kTamanhoSetor) != 0) setores |= 1ull << s;
  return setores;
}

std::uint64_t TodosOsSetores(std::size_t tamanhoPagina) {
  const std::size_t n = tamanhoPagina / kTamanhoSetor;
  return n >= 64 ? ~0ull : (1ull << n) - 1;
}

std::vector<std::pair<unsigned, unsigned>> TrechosDeSetores(std::uint64_t setores) {
  std::vector<std::pair<unsigned, unsigned>> trechos;
  while (setores != 0) {
    const unsigned inicio = static_cast<unsigned>(std::countr_zero(setores));
    const unsigned quantos = static_cast<unsigned>(std::countr_one(setores >> inicio));
    trechos.emplace_back(inicio, quantos);
    setores = quantos + inicio >= 64 ? 0 : setores & ~(((1ull << quantos) - 1) << inicio);
  }
  return trechos;
}

std::size_t Diario::TamanhoPara(const std::vector<AlteracaoPagina>& alteracoes) {
  std::size_t tamanho = kCabecalhoDiario + 4;
  for (const auto& a : alteracoes) tamanho += BytesEntrada(a.setores);
  return tamanho;
}

std::vector<std::uint8_t> Diario::Montar(std::uint64_t nonce, std::uint32_t tamanhoPagina,
                                         const std::vector<AlteracaoPagina>& alteracoes) {
  const std::size_t tamanho = TamanhoPara(alteracoes);
  std::vector<std::uint8_t> d(tamanho, 0);
  std::memcpy(d.data(), kAssinatura, 8);
  Grava64(d.data() + 8, nonce);
  Grava32(d.data() + 16, static_cast<std::uint32_t>(alteracoes.size()));
  Grava32(d.data() + 20, tamanhoPagina);
  Grava32(d.data() + 24, static_cast<std::uint32_t>(tamanho));
  std::uint8_t* p = d.data() + kCabecalhoDiario;
  for (const auto& a : alteracoes) {
    Grava32(p, a.numero);
    Grava64(p + 4, a.setores);
    p += kCabecalhoEntrada;
    for (auto [inicio, quantos] : TrechosDeSetores(a.setores)) {
      std::memcpy(p, a.imagem + inicio * kTamanhoSetor, quantos * kTamanhoSetor);
      p += quantos * kTamanhoSetor;
    }
  }
  Grava32(p, Crc32(d.data(), tamanho - 4));
  return d;
}

std::size_t Diario::Tamanho(const std::uint8_t* c, std::uint64_t nonce, std::uint32_t tamanhoPagina) {
  if (std::memcmp(c, kAssinatura, 8) != 0 || Le64(c + 8) != nonce || Le32(c + 20) != tamanhoPagina) return 0;
  const std::size_t tamanho = Le32(c + 24);
  return tamanho < kCabecalhoDiario + 4 + BytesEntrada(1) ? 0 : tamanho;
}

bool Diario::Decodificar(std::vector<std::uint8_t> bytes, std::uint64_t nonce, std::uint32_t tamanhoPagina) {
  bytes_ = std::move(bytes);
  alteracoes_.clear();
  const std::size_t n = bytes_.size();
  if (n < kCabecalhoDiario + 4 || Tamanho(bytes_.data(), nonce, tamanhoPagina) != n ||
      Crc32(bytes_.data(), n - 4) != Le32(bytes_.data() + n - 4))
    return false;
  const std::uint32_t entradas = Le32(bytes_.data() + 16);
  const std::uint64_t validos = TodosOsSetores(tamanhoPagina);
  std::size_t pos = kCabecalhoDiario;
  for (std::uint32_t i = 0; i < entradas; ++i) {
    if (pos + kCabecalhoEntrada > n - 4) return false;
    AlteracaoPagina a{Le32(bytes_.data() + pos), Le64(bytes_.data() + pos + 4), nullptr};
    if ((a.setores & ~validos) != 0 || pos + BytesEntrada(a.setores) > n - 4) return false;
    a.imagem = bytes_.data() + pos + kCabecalhoEntrada;
    pos += BytesEntrada(a.setores);
    alteracoes_.push_back(a);
  }
  if (pos != n - 4 || alteracoes_.empty()) return false;
  // The header comes first, its first sector (which holds the page count) always present.
  const AlteracaoPagina& cabecalho = alteracoes_[0];
  if (cabecalho.numero != 0 || !(cabecalho.setores & 1)) return false;
  const std::uint32_t paginas = Le32(cabecalho.imagem + kPosPaginas);
  for (std::size_t i = 1; i < alteracoes_.size(); ++i)
    if (alteracoes_[i].numero == 0 || alteracoes_[i].numero >= paginas) return false;
  return true;
}

}  // namespace tavoran::motor
