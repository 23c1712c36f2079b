#include "engine/Crc32.h"

#include <array>

namespace tavoran::motor {

namespace {
// Eight tables: eight bytes per step (slicing-by-8), the journal of every commit goes through here.
using Tabelas = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tabelas MontarTabelas() {
  Tabelas t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (std::uint32_t i = 0; i < 256; ++i)
    for (int s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  return t;
}
constexpr Tabelas kTabelas = MontarTabelas();
}  // namespace

std::uint32_t Crc32(const void* dados, std::size_t n, std::uint32_t inicial) {
  std::uint32_t c = inicial ^ 0xFFFFFFFFu;
  const auto* p = static_cast<const std::uint8_t*>(dados);
  while (n >= 8) {
    std::uint32_t a = c ^ (static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
    c = kTabelas[7][a & 0xFF] ^ kTabelas[6][(a >> 8) & 0xFF] ^ kTabelas[5][(a >> 16) & 0xFF] ^
        kTabelas[4][a >> 24] ^ kTabelas[3][p[4]] ^ kTabelas[2][p[5]] ^ kTabelas[1][p[6]] ^ kTabelas[0][p[7]];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) c = kTabelas[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

}  // namespace tavoran::motor
