#include "tools/tavadmin/CaminhosBtrieve.h"

#include <algorithm>

#include "tools/tavadmin/ArquivosFerramenta.h"

namespace tavoran::tavadmin {

std::int16_t CaminhosBtrieve::Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados,
                                     std::uint32_t* tamanhoDados, void* chave, std::uint8_t tamanhoChave,
                                     std::int8_t numeroChave) {
  if (operacao == 0 || operacao == 14) {
    // Same length: only separators change, in place.
    char* nome = static_cast<char*>(chave);
    const std::string local = ArquivosFerramenta::CaminhoLocal(std::string(nome, tamanhoChave));
    std::copy(local.begin(), local.end(), nome);
  }
  return motor_->Chamar(operacao, blocoPosicao, dados, tamanhoDados, chave, tamanhoChave, numeroChave);
}

}  // namespace tavoran::tavadmin
