#pragma once
// The Btrieve facility served by the engine linked into this program (native build,
// tavadmin), with no library to load.
#include "platform/Btrieve.h"

namespace tavoran {

class MotorBtrieve : public IBtrieve {
 public:
  std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                      void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) override;
};

}  // namespace tavoran
