#pragma once
// Test builds only (TAV_MOTOR_TESTES; never part of wbtrv32.dll): the engine's disk
// operations seen from outside, so that a test can rebuild a record file as a power loss
// would leave it, or end the process in the middle of a commit write.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/ArquivoSO.h"

namespace tavoran::motor {

class ObservadorDisco {
 public:
  virtual ~ObservadorDisco() = default;
  virtual void Gravou(const std::string& caminho, std::uint64_t pos, const void* dados, std::size_t n) = 0;
  // False: the flush counts as made but is not asked of the system (the test keeps its own
  // model of what is durable, and real flushes would only slow it down).
  virtual bool Descarregou(const std::string& caminho) = 0;
  virtual void Truncou(const std::string& caminho, std::uint64_t tamanho) = 0;
};

// One observer for the process (nullptr: none); answers the one it replaces.
ObservadorDisco* ObservarDisco(ObservadorDisco* observador);

// The n-th write from now on writes half its bytes and kills the process (0 turns it off).
// TAV_BTRIEVE_FALHA_APOS sets it at start-up.
void FalharAposGravacoes(long n);

namespace injecao {
// The pager's disk operations pass through here before they reach the file.
void Gravando(ArquivoSO& arquivo, std::uint64_t pos, const void* dados, std::size_t n);
bool Descarregando(const ArquivoSO& arquivo);  // true: flush for real
void Truncando(const ArquivoSO& arquivo, std::uint64_t tamanho);
}  // namespace injecao

}  // namespace tavoran::motor
