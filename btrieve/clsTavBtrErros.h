#pragma once
// Turns a Btrieve status or one of the record-file layer's own codes into its pt-BR
// sentence, keeps the last number and sentence, and tells its owner through events.
#include <cstdint>
#include <functional>
#include <string>

namespace tavoran {

// An event with a number and a description, received by the owner.
using EventoErro = std::function<void(std::int32_t numero, const std::string& descricao)>;

class clsTavBtrErros {
 public:
  const std::string& Descricao() const { return descricao_; }
  std::int32_t Numero() const { return numero_; }

  // Looks the code up and keeps it; false for a code with no message. Raises
  // OnLocalizaErro last, also for code 0.
  bool LocalizarErro(std::int32_t v_lNumeroErro);
  // Keeps a number and a free text, only when the number is positive and the text not blank.
  void AdicionarErro(std::int32_t v_lNumero, const std::string& v_sDescricao);

  // The message of a code, empty when the code has none.
  static std::string PreencherDescricao(std::int32_t v_lNumeroErro);

  EventoErro OnErro;          // raised when AdicionarErro itself fails
  EventoErro OnLocalizaErro;  // raised at the end of every LocalizarErro

 private:
  std::int32_t numero_ = 0;
  std::string descricao_;
};

}  // namespace tavoran
