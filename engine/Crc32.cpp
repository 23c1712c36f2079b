#include "engine/Crc32.h"

#include <array>

namespace tavoran::motor {

namespace {
constexpr std::array<std::uint32_t, 256> MontarTabela() {
  std::array<std::uint32_t, 256> t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}
constexpr auto kTabela = MontarTabela();
}  // namespace

std::uint32_t Crc32(const void* dados, std::size_t n, std::uint32_t inicial) {
  std::uint32_t c = inicial ^ 0xFFFFFFFFu;
  const auto* p = static_cast<const std::uint8_t*>(dados);
  for (std::size_t i = 0; i < n; ++i) c = kTabela[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

}  // namespace tavoran::motor
