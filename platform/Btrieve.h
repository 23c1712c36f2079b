#pragma once
// The Btrieve entry point BTRCALL, reached through wbtrv32.dll (or the native engine).
#include <cstdint>

namespace tavoran {

class IBtrieve {
 public:
  virtual ~IBtrieve() = default;
  // One BTRCALL: operation, 128-byte position block, data buffer and its length (in/out),
  // key buffer and its length, key number; returns the status (0 = success).
  virtual std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                              void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) = 0;
};

}  // namespace tavoran
