#include "engine/MotorBtrieve.h"

#include "engine/Motor.h"

namespace tavoran {

std::int16_t MotorBtrieve::Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados,
                                  std::uint32_t* tamanhoDados, void* chave, std::uint8_t tamanhoChave,
                                  std::int8_t numeroChave) {
  return motor::Chamar(operacao, blocoPosicao, dados, tamanhoDados, chave, tamanhoChave, numeroChave);
}

}  // namespace tavoran
