#pragma once
// Passes every call to an engine, with the file name of Create and Open written in the
// host's form (ArquivosFerramenta::CaminhoLocal), so that on Linux "dir\\SELVCOMP.BTR"
// reaches the engine as "dir/SELVCOMP.BTR".
#include <memory>

#include "platform/Btrieve.h"

namespace tavoran::tavadmin {

class CaminhosBtrieve : public IBtrieve {
 public:
  explicit CaminhosBtrieve(std::unique_ptr<IBtrieve> motor) : motor_(std::move(motor)) {}
  std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                      void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) override;

 private:
  std::unique_ptr<IBtrieve> motor_;
};

}  // namespace tavoran::tavadmin
