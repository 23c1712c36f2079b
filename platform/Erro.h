#pragma once
// Error state shared by every service and record class: a run-time number and a
// description, with " (Rotina: name)" appended when the routine is known.
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

namespace tavoran {

// What the system calls an unexpected run-time error: raised by a failing facility,
// caught at the boundary of the routine that called it.
class ErroRuntime : public std::runtime_error {
 public:
  ErroRuntime(std::int32_t numero, const std::string& descricao)
      : std::runtime_error(descricao), numero_(numero) {}
  std::int32_t Numero() const { return numero_; }

 private:
  std::int32_t numero_;
};

// A failure as a value: number 0 means success.
struct Falha {
  std::int32_t numero = 0;
  std::string descricao;
  std::uint32_t codigoWindows = 0;  // the Windows code it was built from (0: none)
  bool Ocorreu() const { return numero != 0; }
};

// Number and description of the exception being handled (call inside a catch block).
Falha FalhaDaExcecaoAtual();

class EstadoErro {
 public:
  std::int32_t Numero() const { return numero_; }
  const std::string& Descricao() const { return descricao_; }
  void Limpar();
  // Sets the error; the routine suffix is left off when the routine is blank.
  void Definir(std::int32_t numero, const std::string& descricao, const std::string& rotina = "");
  // Sets the error from the exception being handled.
  void DefinirDaExcecao(const std::string& rotina);

 private:
  std::int32_t numero_ = 0;
  std::string descricao_;
};

// Runs a routine's body; an exception becomes the routine's error and its failure value.
template <class R, class F>
R Protegido(EstadoErro& erro, const std::string& rotina, R falha, F&& corpo) {
  try {
    return std::forward<F>(corpo)();
  } catch (...) {
    erro.DefinirDaExcecao(rotina);
    return falha;
  }
}

}  // namespace tavoran
