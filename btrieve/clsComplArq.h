#pragma once
// The file-level facts and the less common operations of a record class's access
// object (statistics, engine version, transactions, indexes, owner, unlock), with the
// failures of the statistics and of the transaction start and end raised as OnErro.
#include <cstdint>
#include <string>

#include "btrieve/clsTavBtr20.h"

namespace tavoran {

class clsComplArq {
 public:
  // What the byte-valued getters return on failure (outside every valid count).
  static constexpr std::uint8_t kByteInvalido = 255;

  void TavBtr20(clsTavBtr20* v_objTavBtr20) { tavBtr20_ = v_objTavBtr20; }

  std::int32_t QuantidadeRegistros();
  std::int32_t TamanhoBuffer();  // -1 on failure, else the 16-bit record length
  std::uint8_t QuantidadeChaves();
  std::int32_t TamanhoChave(std::uint8_t v_bNumeroChave);  // -1 on failure
  std::uint8_t QuantidadeSegmentos(std::uint8_t v_bNumeroChave);
  bool ArquivoAberto();
  std::string VersaoBtrieve();
  bool IniciarTransacao(std::int32_t v_enModoTransacao);
  bool AbortarTransacao();
  bool FinalizarTransacao();
  bool CriarIndice(std::uint8_t v_bChave, const std::string& v_sDefinicaoChaves);
  bool ExcluirIndice(std::uint8_t v_bChave);
  bool DefinirProprietario(const std::string& v_sNomeProprietario, std::int32_t v_enModoBloqueio);
  bool RemoverProprietario();
  bool Desbloquear();

  EventoErro OnErro;

 private:
  template <class R, class F>
  R Estatistica(std::int32_t codigoSemInstancia, R falha, F&& ler);
  bool RelatarSeFalhou(bool resultado);
  void Relatar(std::int32_t numero, const std::string& descricao);

  clsTavBtr20* tavBtr20_ = nullptr;
};

}  // namespace tavoran
