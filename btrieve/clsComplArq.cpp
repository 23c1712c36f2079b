#include "btrieve/clsComplArq.h"

namespace tavoran {
namespace {

constexpr std::int32_t kSemInstanciaSegmentos = 100082, kSemInstanciaTamanhoChave = 100083,
                       kSemInstanciaChaves = 100084, kSemInstanciaRegistros = 100085,
                       kSemInstanciaTamanhoBuffer = 100086;
constexpr const char* kFaltaInstancia = "Falta instância da TavBtr20";

}  // namespace

void clsComplArq::Relatar(std::int32_t numero, const std::string& descricao) {
  if (OnErro) OnErro(numero, descricao);
}

template <class R, class F>
R clsComplArq::Estatistica(std::int32_t codigoSemInstancia, R falha, F&& ler) {
  if (tavBtr20_ == nullptr) {
    Relatar(codigoSemInstancia, kFaltaInstancia);
    return falha;
  }
  const R valor = ler(*tavBtr20_);
  clsTavBtrErros& erro = tavBtr20_->Erro();
  if (erro.Numero() != 0) {
    Relatar(erro.Numero(), erro.Descricao());
    return falha;
  }
  return valor;
}

std::int32_t clsComplArq::QuantidadeRegistros() {
  return Estatistica(kSemInstanciaRegistros, std::int32_t{-1}, [](clsTavBtr20& b) { return b.QuantidadeRegistros(); });
}

std::int32_t clsComplArq::TamanhoBuffer() {
  return Estatistica(kSemInstanciaTamanhoBuffer, std::int32_t{-1},
                     [](clsTavBtr20& b) { return static_cast<std::int32_t>(b.TamanhoBuffer()); });
}

std::uint8_t clsComplArq::QuantidadeChaves() {
  return Estatistica(kSemInstanciaChaves, kByteInvalido, [](clsTavBtr20& b) { return b.QuantidadeChaves(); });
}

std::int32_t clsComplArq::TamanhoChave(std::uint8_t v_bNumeroChave) {
  return Estatistica(kSemInstanciaTamanhoChave, std::int32_t{-1},
                     [&](clsTavBtr20& b) { return static_cast<std::int32_t>(b.TamanhoChave(v_bNumeroChave)); });
}

std::uint8_t clsComplArq::QuantidadeSegmentos(std::uint8_t v_bNumeroChave) {
  return Estatistica(kSemInstanciaSegmentos, kByteInvalido,
                     [&](clsTavBtr20& b) { return b.QuantidadeSegmentos(v_bNumeroChave); });
}

// The operations below need the access object; without one they answer false (or "").
bool clsComplArq::ArquivoAberto() { return tavBtr20_ != nullptr && tavBtr20_->ArquivoAberto(); }
std::string clsComplArq::VersaoBtrieve() { return tavBtr20_ ? tavBtr20_->VersaoBtrieve() : std::string(); }

bool clsComplArq::RelatarSeFalhou(bool resultado) {
  if (!resultado) Relatar(tavBtr20_->Erro().Numero(), tavBtr20_->Erro().Descricao());
  return resultado;
}

bool clsComplArq::IniciarTransacao(std::int32_t v_enModoTransacao) {
  return tavBtr20_ != nullptr && RelatarSeFalhou(tavBtr20_->IniciarTransacao(v_enModoTransacao));
}
bool clsComplArq::FinalizarTransacao() {
  return tavBtr20_ != nullptr && RelatarSeFalhou(tavBtr20_->FinalizarTransacao());
}
bool clsComplArq::AbortarTransacao() { return tavBtr20_ != nullptr && tavBtr20_->AbortarTransacao(); }
bool clsComplArq::CriarIndice(std::uint8_t v_bChave, const std::string& v_sDefinicaoChaves) {
  return tavBtr20_ != nullptr && tavBtr20_->CriarIndice(v_bChave, v_sDefinicaoChaves);
}
bool clsComplArq::ExcluirIndice(std::uint8_t v_bChave) {
  return tavBtr20_ != nullptr && tavBtr20_->ExcluirIndice(v_bChave);
}
bool clsComplArq::DefinirProprietario(const std::string& v_sNomeProprietario, std::int32_t v_enModoBloqueio) {
  return tavBtr20_ != nullptr && tavBtr20_->DefinirProprietario(v_sNomeProprietario, v_enModoBloqueio);
}
bool clsComplArq::RemoverProprietario() { return tavBtr20_ != nullptr && tavBtr20_->RemoverProprietario(); }
bool clsComplArq::Desbloquear() { return tavBtr20_ != nullptr && tavBtr20_->Desbloquear(); }

}  // namespace tavoran
