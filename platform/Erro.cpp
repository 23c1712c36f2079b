#include "platform/Erro.h"

#include <new>

#include "platform/Texto.h"

namespace tavoran {

Falha FalhaDaExcecaoAtual() {
  try {
    throw;
  } catch (const ErroRuntime& e) {
    return {e.Numero(), e.what()};
  } catch (const std::bad_alloc&) {
    return {7, "Memória insuficiente"};
  } catch (const std::exception& e) {
    return {51, std::string("Erro interno: ") + e.what()};
  } catch (...) {
    return {51, "Erro interno"};
  }
}

void EstadoErro::Limpar() {
  numero_ = 0;
  descricao_.clear();
}

void EstadoErro::Definir(std::int32_t numero, const std::string& descricao, const std::string& rotina) {
  numero_ = numero;
  descricao_ = descricao;
  if (!Aparar(rotina).empty()) descricao_ += " (Rotina: " + rotina + ")";
}

void EstadoErro::DefinirDaExcecao(const std::string& rotina) {
  const Falha f = FalhaDaExcecaoAtual();
  Definir(f.numero, f.descricao, rotina);
}

}  // namespace tavoran
