#include "startup/clsApresentacao.h"

#include "platform/Erro.h"

namespace tavoran {

clsApresentacao::clsApresentacao(IVisao& visao, IShell& shell, clsNKemRyxLogErr* resolvedorLinks)
    : visao_(visao), shell_(shell), resolvedor_(resolvedorLinks) {}

std::string clsApresentacao::TextoErroGenerico(std::int32_t numero, const std::string& descricao,
                                               const std::string& rotina) {
  return "Falha imprevista na rotina " + rotina + kQuebra + "Número: " + std::to_string(numero) + kQuebra +
         "Descrição: " + descricao;
}

void clsApresentacao::ExibirErroGenerico(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                         const std::string& v_sRotina) {
  try {
    visao_.CaixaMensagem(TextoErroGenerico(v_lNumero, v_sDescricao, v_sRotina), kTituloPadrao, BotoesCaixa::Ok,
                         IconeCaixa::Critico);
  } catch (...) {
    try {
      const Falha f = FalhaDaExcecaoAtual();
      visao_.CaixaMensagem(TextoErroGenerico(f.numero, f.descricao, "ExibirErroGenerico"), kTituloPadrao,
                           BotoesCaixa::Ok, IconeCaixa::Critico);
    } catch (...) {
      // No box can be shown at all: there is nobody left to tell.
    }
  }
}

void clsApresentacao::ExibirErroGenericoJanela(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                               const std::string& v_sRotina) {
  try {
    visao_.CaixaMensagem(TextoErroGenerico(v_lNumero, v_sDescricao, v_sRotina), kTituloPadrao, BotoesCaixa::Ok,
                         IconeCaixa::Critico);
  } catch (...) {
    // The window's own error box: with no box to show, there is nobody left to tell.
  }
}

int clsApresentacao::ExibirMensagemInformacao(const std::string& v_sTexto, const std::string& v_sTitulo) {
  try {
    return visao_.CaixaMensagem(v_sTexto, v_sTitulo, BotoesCaixa::Ok, IconeCaixa::Informacao);
  } catch (...) {
    return 0;
  }
}

void clsApresentacao::ExibirMensagemComFAQLinks(const std::string& v_sMensagem, std::int32_t v_lNumero,
                                                const std::string& v_sDescricao, const std::string& v_sChave) {
  try {
    const std::string texto =
        v_sMensagem + kQuebra + "Clique em OK para verificar os procedimentos para correção do erro.";
    if (visao_.CaixaMensagem(texto, kTituloPadrao, BotoesCaixa::Ok, IconeCaixa::Pergunta) == kBotaoOk)
      AbrirAjuda(v_lNumero, v_sDescricao, v_sChave);
  } catch (...) {
    // The entry is in the report already; a box or browser that fails adds nothing to it.
  }
}

void clsApresentacao::AbrirAjuda(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                 const std::string& v_sChave) {
  std::string link;
  if (resolvedor_ != nullptr) resolvedor_->TratarErrosComFAQLinks(v_lNumero, link, v_sDescricao, v_sChave);
  shell_.AbrirDocumento(visao_.Janela(), link);
}

}  // namespace tavoran
