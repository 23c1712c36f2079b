#include "engine/DiarioFormato1.h"

#include <cstring>

#include "engine/Bytes.h"
#include "engine/Cabecalho.h"
#include "engine/Crc32.h"

namespace tavoran::motor {

namespace {
constexpr char kAssinaturaDiario[8] = {'T', 'A', 'V', 'J', 'R', 'N', 'L', '1'};
constexpr std::size_t kPosMarcador = 24;
}  // namespace

MarcadorFormato1 DecodificarMarcadorFormato1(const std::uint8_t* prefixo) {
  const std::uint8_t* p = prefixo + kPosMarcador;
  return {Le64(p), Le64(p + 8), Le32(p + 16)};
}

std::uint64_t DiarioFormato1::Tamanho(const std::uint8_t* c, const MarcadorFormato1& m) {
  const std::uint32_t tamanhoPagina = Le32(c + 20);
  if (std::memcmp(c, kAssinaturaDiario, 8) != 0 || Le64(c + 8) != m.nonce || Le32(c + 24) != m.paginasOriginais ||
      tamanhoPagina < kTamanhoCabecalho || tamanhoPagina > 32768)
    return 0;
  return kCabecalho + static_cast<std::uint64_t>(Le32(c + 16)) * (4 + tamanhoPagina) + 4;
}

bool DiarioFormato1::Decodificar(std::vector<std::uint8_t> bytes) {
  bytes_ = std::move(bytes);
  paginas_.clear();
  const std::size_t n = bytes_.size();
  if (n < kCabecalho + 4 || Crc32(bytes_.data(), n - 4) != Le32(bytes_.data() + n - 4)) return false;
  tamanhoPagina_ = Le32(bytes_.data() + 20);
  const std::uint32_t quantas = Le32(bytes_.data() + 16);
  if (n != kCabecalho + static_cast<std::uint64_t>(quantas) * (4 + tamanhoPagina_) + 4) return false;
  for (std::uint32_t i = 0; i < quantas; ++i) {
    const std::uint8_t* e = bytes_.data() + kCabecalho + static_cast<std::size_t>(i) * (4 + tamanhoPagina_);
    paginas_.push_back({Le32(e), e + 4});
  }
  return true;
}

}  // namespace tavoran::motor
