#include "install/clsOperacoesComponente.h"

#include <cmath>
#include <tuple>

#include "platform/Texto.h"

namespace tavoran {
namespace {

bool Posterior(const DataHora& a, const DataHora& b) {
  return std::tie(a.ano, a.mes, a.dia, a.hora, a.minuto, a.segundo) >
         std::tie(b.ano, b.mes, b.dia, b.hora, b.minuto, b.segundo);
}

}  // namespace

bool clsOperacoesComponente::VerificarPrecisaAtualizar(const std::string& v_sOrigem, const std::string& v_sDestino,
                                                       bool& v_bPrecisaAtualizar, std::int32_t& v_lVersaoMaiorOrigem,
                                                       RegraVersao v_enRegra) {
  v_bPrecisaAtualizar = false;
  v_lVersaoMaiorOrigem = 0;
  if (v_enRegra == RegraVersao::Janela && c_.forcarAtualizacao) {
    v_bPrecisaAtualizar = true;
    return true;
  }
  auto ler = [&](const std::string& arquivo, DataHora& data, std::string& versao) {
    if (c_.util.RetornarArquivoInfo(arquivo, data, versao)) return;
    c_.GravarLog("Falha ao retornar informações do componente '" + arquivo + "'", c_.util.ErroNumero(),
                 c_.util.ErroDescricao(), "");
    data = {};
    versao.clear();
  };
  DataHora dataOrigem, dataDestino;
  std::string versaoOrigem, versaoDestino, versaoMaior;
  ler(v_sOrigem, dataOrigem, versaoOrigem);
  ler(v_sDestino, dataDestino, versaoDestino);
  if (!c_.util.RetornarVersaoMaior(versaoOrigem, versaoDestino, versaoMaior)) {
    c_.GravarLog("Falha ao retornar a maior versão", c_.util.ErroNumero(), c_.util.ErroDescricao(), "");
    versaoMaior.clear();
  }
  const bool gdiplus = TerminaComSemCaixa(v_sOrigem, "gdiplus.dll");
  const bool algumaVazia = Aparar(versaoOrigem).empty() || Aparar(versaoDestino).empty();
  // A version on one side only: the share's file replaces the workstation's (a source without
  // version information has no larger version than the destination's, so it goes in too).
  if (v_enRegra == RegraVersao::Janela && versaoOrigem.empty() != versaoDestino.empty())
    v_bPrecisaAtualizar = true;
  else if (Aparar(versaoOrigem) == Aparar(versaoDestino) || gdiplus ||
           (v_enRegra == RegraVersao::Controle && algumaVazia))
    v_bPrecisaAtualizar = Posterior(dataOrigem, dataDestino);
  else
    v_bPrecisaAtualizar = versaoMaior == versaoOrigem;
  v_lVersaoMaiorOrigem = static_cast<std::int32_t>(std::lround(ValorNumerico(versaoOrigem)));
  return true;
}

void clsOperacoesComponente::RelatarFalhaCopia(const std::string& origem, const std::string& destino,
                                               const Falha& falha) {
  c_.GravarLog("Falha ao copiar arquivo '" + origem + "' para '" + destino + "': " + falha.descricao, falha.numero,
               falha.descricao, "");
}

bool clsOperacoesComponente::CopiarAoLado(const std::string& v_sOrigem, const std::string& v_sDestino,
                                          Falha& v_objFalha) {
  v_objFalha = {};
  if (c_.util.CopiarArquivo(v_sOrigem, ArquivoTemporario(v_sDestino))) return true;
  v_objFalha = {c_.util.ErroNumero(), c_.util.ErroDescricao()};
  DescartarCopia(v_sDestino);
  return false;
}

bool clsOperacoesComponente::ColocarNoLugar(const std::string& v_sDestino, Falha& v_objFalha) {
  v_objFalha = c_.ambiente.arquivos->Mover(ArquivoTemporario(v_sDestino), v_sDestino);
  if (!v_objFalha.Ocorreu()) return true;
  DescartarCopia(v_sDestino);
  return false;
}

bool clsOperacoesComponente::PrepararCopia(const std::string& v_sOrigem, const std::string& v_sDestino) {
  Falha f;
  if (CopiarAoLado(v_sOrigem, v_sDestino, f)) return true;
  RelatarFalhaCopia(v_sOrigem, v_sDestino, f);
  return false;
}

bool clsOperacoesComponente::ConcluirCopia(const std::string& v_sOrigem, const std::string& v_sDestino) {
  Falha f;
  if (ColocarNoLugar(v_sDestino, f)) return true;
  RelatarFalhaCopia(v_sOrigem, v_sDestino, f);
  return false;
}

void clsOperacoesComponente::DescartarCopia(const std::string& v_sDestino) {
  const std::string temporario = ArquivoTemporario(v_sDestino);
  if (c_.util.ArquivoExiste(temporario)) c_.ambiente.arquivos->Excluir(temporario);
}

bool clsOperacoesComponente::CopiarComponente(const std::string& v_sOrigem, const std::string& v_sDestino) {
  if (PrepararCopia(v_sOrigem, v_sDestino)) ConcluirCopia(v_sOrigem, v_sDestino);
  return true;
}

bool clsOperacoesComponente::ExcluirComponente(const std::string& v_sTexto, const std::string& v_sArquivo,
                                               bool& v_bComponenteProprio) {
  v_bComponenteProprio = false;
  if (c_.util.ExcluirArquivo(v_sArquivo)) return true;
  const std::int32_t numero = c_.util.ErroNumero();
  const std::string descricao = c_.util.ErroDescricao();
  falhaExclusao_ = {numero, descricao};
  const std::string detalhe = "Falha ao excluir arquivo '" + v_sArquivo + "': " + descricao;
  bool listado = false;
  if (!c_.util.VerificarComponenteTavoran(v_sArquivo, listado)) listado = false;  // no whitelist: not listed
  if (!listado) return false;
  v_bComponenteProprio = true;
  if (numero != 70 && numero != 75) {
    c_.GravarLog(v_sTexto, numero, descricao, "");
  } else {
    const std::string conselho = ProcurarSemCaixa(v_sArquivo, "TAVVAREXCEL.OCX") != std::string::npos
                                     ? " Finalize todas as rotinas do Tavoran e do Office e tente novamente."
                                     : " Finalize todas as rotinas Tavoran e tente novamente.";
    c_.GravarLog("Não foi possível excluir o arquivo '" + v_sArquivo + "'." + kQuebraLinha +
                     "Um ou mais processos em execução estão utilizando este componente." + conselho,
                 numero, descricao, "");
  }
  c_.GravarLog(v_sTexto, numero, detalhe);
  return true;
}

void clsOperacoesComponente::RegistrarComponenteNet(const std::string& v_sArquivo, bool v_bRegistrar) {
  c_.regComp.RegAsm(c_.caminhoRegAsm);
  if (!c_.regComp.RegistrarComponenteNet(v_sArquivo, v_bRegistrar))
    c_.GravarLog("Registrar componente '" + v_sArquivo + "'.", c_.regComp.ErroNumero(), c_.regComp.ErroDescricao(),
                 "");
}

bool clsOperacoesComponente::InstalarAtualizarComponenteBiblioteca(const std::string& v_sOrigem,
                                                                   const std::string& v_sDestino,
                                                                   bool v_bRegistrarEContar) {
  c_.progresso.ExibirMensagem("Processando '" + c_.util.RetornarNomeArquivo(v_sOrigem, false) + "'");
  bool ok = true;
  if (!c_.util.ArquivoExiste(v_sDestino)) {
    ok = InstalarComponenteBiblioteca(v_sOrigem, v_sDestino, v_bRegistrarEContar);
  } else {
    bool precisa = false;
    std::int32_t versaoMaior = 0;
    if (!VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior)) return false;
    if (precisa) ok = AtualizarComponenteBiblioteca(v_sOrigem, v_sDestino);
  }
  if (ok && v_bRegistrarEContar) c_.progresso.AdicionarProgresso();
  return ok;
}

bool clsOperacoesComponente::InstalarComponenteBiblioteca(const std::string& v_sOrigem, const std::string& v_sDestino,
                                                          bool v_bRegistrar) {
  const std::string texto = "Instalar componente de biblioteca '" + v_sDestino + "'.";
  CopiarComponente(v_sOrigem, v_sDestino);
  if (v_bRegistrar) RegistrarComponenteNet(v_sDestino, true);
  c_.GravarLog(texto, 0, "");
  return true;
}

bool clsOperacoesComponente::AtualizarComponenteBiblioteca(const std::string& v_sOrigem,
                                                           const std::string& v_sDestino) {
  return SubstituirArquivo("Atualizar componente de biblioteca '" + v_sDestino + "'.", v_sOrigem, v_sDestino);
}

bool clsOperacoesComponente::SubstituirArquivo(const std::string& v_sTexto, const std::string& v_sOrigem,
                                               const std::string& v_sDestino) {
  if (!PrepararCopia(v_sOrigem, v_sDestino)) {
    c_.GravarLog(v_sTexto, 0, "");
    return true;
  }
  bool proprio = false;
  if (!ExcluirComponente(v_sTexto, v_sDestino, proprio)) {
    DescartarCopia(v_sDestino);
    return !proprio;
  }
  ConcluirCopia(v_sOrigem, v_sDestino);
  c_.GravarLog(v_sTexto, 0, "");
  return true;
}

}  // namespace tavoran
