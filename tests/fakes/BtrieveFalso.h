#pragma once
// A BTRCALL that records every call and answers from a script: statuses in order (0 when
// the script is exhausted), optional data and key to return, an optional fault. A
// successful Open marks the position block so that the file counts as open.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Btrieve.h"
#include "platform/Erro.h"

namespace tavoran::testes {

struct ChamadaBtrieve {
  std::uint16_t operacao = 0;
  std::string bloco;  // the 128 bytes as received
  std::string dados;  // the first tamanhoDados bytes as received
  std::uint32_t tamanhoDados = 0;
  std::string chave;  // the first tamanhoChave bytes as received
  std::uint8_t tamanhoChave = 0;
  std::int8_t numeroChave = 0;
};

class BtrieveFalso : public IBtrieve {
 public:
  std::vector<ChamadaBtrieve> chamadas;
  std::deque<std::int16_t> status;  // answers in order; 0 when exhausted
  std::string dadosResposta;        // written into the data buffer of a successful call when not empty
  std::string chaveResposta;        // written into the key buffer of a successful call when not empty
  Falha lancar;                     // a number other than 0 makes every call raise this fault
  // Runs after the scripted answer is chosen; may change buffers and the status.
  std::function<void(ChamadaBtrieve&, void* dados, void* chave, std::int16_t& status)> aoChamar;

  std::int16_t Chamar(std::uint16_t operacao, void* blocoPosicao, void* dados, std::uint32_t* tamanhoDados,
                      void* chave, std::uint8_t tamanhoChave, std::int8_t numeroChave) override;
  int Quantas(std::uint16_t operacao) const;
};

// An engine that cannot be reached: every call answers the same status.
class BtrieveInacessivel : public IBtrieve {
 public:
  explicit BtrieveInacessivel(std::int16_t status) : status_(status) {}
  std::int16_t Chamar(std::uint16_t, void*, void*, std::uint32_t*, void*, std::uint8_t, std::int8_t) override {
    return status_;
  }

 private:
  std::int16_t status_;
};

}  // namespace tavoran::testes
