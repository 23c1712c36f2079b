#include "engine/InjecaoFalhas.h"

#include <csignal>
#include <cstdlib>

namespace tavoran::motor {

namespace {
struct EstadoInjecao {
  ObservadorDisco* observador = nullptr;
  long gravacoesAteFalha = 0;
};

EstadoInjecao& Estado() {
  static EstadoInjecao e = [] {
    EstadoInjecao novo;
    const char* v = std::getenv("TAV_BTRIEVE_FALHA_APOS");
    novo.gravacoesAteFalha = v ? std::atol(v) : 0L;
    return novo;
  }();
  return e;
}
}  // namespace

ObservadorDisco* ObservarDisco(ObservadorDisco* observador) {
  ObservadorDisco* anterior = Estado().observador;
  Estado().observador = observador;
  return anterior;
}

void FalharAposGravacoes(long n) { Estado().gravacoesAteFalha = n; }

namespace injecao {

void Gravando(ArquivoSO& arquivo, std::uint64_t pos, const void* dados, std::size_t n) {
  EstadoInjecao& e = Estado();
  if (e.gravacoesAteFalha > 0 && --e.gravacoesAteFalha == 0) {
    // Write only part of the block, then die, as a process killed mid-write would.
    arquivo.Gravar(pos, dados, n / 2);
#ifdef SIGKILL
    std::raise(SIGKILL);
#endif
    std::_Exit(137);
  }
  if (e.observador != nullptr) e.observador->Gravou(arquivo.Caminho(), pos, dados, n);
}

bool Descarregando(const ArquivoSO& arquivo) {
  EstadoInjecao& e = Estado();
  return e.observador == nullptr || e.observador->Descarregou(arquivo.Caminho());
}

void Truncando(const ArquivoSO& arquivo, std::uint64_t tamanho) {
  EstadoInjecao& e = Estado();
  if (e.observador != nullptr) e.observador->Truncou(arquivo.Caminho(), tamanho);
}

}  // namespace injecao
}  // namespace tavoran::motor
