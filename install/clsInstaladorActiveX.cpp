#include "install/clsInstaladorActiveX.h"

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr const char* kTypeLibInformation = "TLBINF32.DLL";

}  // namespace

bool clsInstaladorActiveX::InstalarAtualizarComponentesPastaActiveX(const std::string& v_sPastaOrigem,
                                                                    const std::string& v_sPastaDestino) {
  std::vector<std::string> componentes;
  if (!pasta_.RetornarComponentesPasta(v_sPastaOrigem, componentes)) return false;
  for (const std::string& nome : componentes) {
    c_.progresso.ExibirMensagem("Verificando '" + nome + "'");
    const std::string origem = v_sPastaOrigem + "\\" + nome;
    bool possuiApi = false;
    if (!c_.regComp.VerificarPossuiApiRegistro(origem, possuiApi)) {
      c_.GravarLog("Falha ao verificar API de registro do componente", c_.regComp.ErroNumero(),
                   c_.regComp.ErroDescricao(), "");
      return false;
    }
    if (possuiApi || Minusculas(nome).find("teechart") != std::string::npos) {
      if (!InstalarAtualizarComponenteActiveX(origem, v_sPastaDestino + "\\" + nome)) return false;
    }
    c_.progresso.ExibirMensagem("");
  }
  return true;
}

bool clsInstaladorActiveX::InstalarAtualizarComponenteActiveX(const std::string& v_sOrigem,
                                                              const std::string& v_sDestino) {
  c_.progresso.ExibirMensagem("Processando '" + c_.util.RetornarNomeArquivo(v_sOrigem, false) + "'");
  bool ok = true;
  if (!c_.util.ArquivoExiste(v_sDestino)) {
    ok = InstalarComponenteActiveX(v_sOrigem, v_sDestino);
  } else {
    bool precisa = false;
    std::int32_t versaoMaior = 0;
    if (!op_.VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior)) return false;
    if (TerminaComSemCaixa(v_sOrigem, "TEECHART.OCX")) {
      c_.IniciarOculto("regsvr32 -u /s " + v_sDestino);
      c_.IniciarOculto("regsvr32 /s " + v_sDestino);
    }
    if (!precisa) {
      bool precisaRegistrar = false;
      if (VerificarPrecisaRegistrar(v_sDestino, precisaRegistrar) && precisaRegistrar)
        ok = RegistrarComponenteActiveX(v_sDestino);
    } else {
      ok = AtualizarComponenteActiveX(v_sOrigem, v_sDestino);
    }
  }
  if (ok) c_.progresso.AdicionarProgresso();
  return ok;
}

bool clsInstaladorActiveX::InstalarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino) {
  const std::string texto = "Instalar componente ActiveX '" + v_sDestino + "'.";
  op_.CopiarComponente(v_sOrigem, v_sDestino);
  if (!RegistrarComponente(texto, v_sDestino)) {
    c_.util.ExcluirArquivo(v_sDestino);  // installed anew by the next run
    return false;
  }
  c_.GravarLog(texto, 0, "");
  return true;
}

// The new copy is complete beside the old one before the old one is unregistered and
// deleted. When the old one cannot be deleted it is registered again as it was.
bool clsInstaladorActiveX::AtualizarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino) {
  const std::string texto = "Atualizar componente ActiveX '" + v_sDestino + "'.";
  if (!op_.PrepararCopia(v_sOrigem, v_sDestino)) {
    c_.GravarLog(texto, 0, "");
    return true;
  }
  DesregistrarComponente(texto, v_sDestino);
  bool proprio = false;
  if (!op_.ExcluirComponente(texto, v_sDestino, proprio)) {
    op_.DescartarCopia(v_sDestino);
    RegistrarComponente(texto, v_sDestino);
    return !proprio;
  }
  op_.ConcluirCopia(v_sOrigem, v_sDestino);
  if (!RegistrarComponente(texto, v_sDestino)) {
    c_.util.ExcluirArquivo(v_sDestino);
    return false;
  }
  c_.GravarLog(texto, 0, "");
  return true;
}

bool clsInstaladorActiveX::RegistrarComponenteActiveX(const std::string& v_sDestino) {
  const std::string texto = "Registrar componente ActiveX '" + v_sDestino + "'.";
  DesregistrarComponente(texto, v_sDestino);
  RegistrarComponente(texto, v_sDestino);
  c_.GravarLog(texto, 0, "");
  return true;
}

// 429 and the "type library cannot be used" number are not reported: both lead to a
// registration, as does every other failure.
bool clsInstaladorActiveX::VerificarPrecisaRegistrar(const std::string& v_sArquivo, bool& v_bPrecisaRegistrar) {
  v_bPrecisaRegistrar = false;
  bool registrado = false;
  if (!c_.regComp.VerificarComponenteRegistrado(v_sArquivo, registrado)) {
    const std::int32_t numero = c_.regComp.ErroNumero();
    if (numero != 429 && numero != kErroTypeLibInutilizavel)
      c_.GravarLog("Falha ao verificar se o componente está registrado '" + v_sArquivo + "'", numero,
                   c_.regComp.ErroDescricao(), "");
    registrado = false;
  }
  v_bPrecisaRegistrar = !registrado;
  return true;
}

bool clsInstaladorActiveX::Registrar(const std::string& v_sTexto, const std::string& v_sArquivo, bool v_bRegistrar) {
  if (!c_.regComp.RegistrarComponente(v_sArquivo, v_bRegistrar))
    c_.GravarLog(v_sTexto, c_.regComp.ErroNumero(), c_.regComp.ErroDescricao(), "");
  return true;
}

bool clsInstaladorActiveX::RegistrarComponente(const std::string& v_sTexto, const std::string& v_sArquivo) {
  return Registrar(v_sTexto, v_sArquivo, true);
}

bool clsInstaladorActiveX::DesregistrarComponente(const std::string& v_sTexto, const std::string& v_sArquivo) {
  return Registrar(v_sTexto, v_sArquivo, false);
}

bool clsInstaladorActiveX::InstalarTypeLibInformation() {
  c_.progresso.ExibirMensagem(std::string("Verificando '") + kTypeLibInformation + "'");
  const std::string origem = c_.pastas.PastaComponentes + "\\" + kTypeLibInformation;
  if (!c_.util.ArquivoExiste(origem)) {
    c_.progresso.CaixaMensagem(std::string("InstalarTypeLibInformation - ") + "O arquivo " + kTypeLibInformation +
                                   " não foi encontrado na pasta '" + c_.pastas.PastaComponentes + "'." +
                                   kQuebraLinha + "Entre em contato com o suporte técnico regional.",
                               kTituloAtencao, BotoesCaixa::Ok, IconeCaixa::Informacao);
    c_.progresso.ExibirMensagem("");
    return false;
  }
  const bool ok = InstalarAtualizarComponenteActiveX(origem, c_.pastas.PastaSistema + "\\" + kTypeLibInformation);
  c_.progresso.ExibirMensagem("");
  return ok;
}

bool clsInstaladorActiveX::InstalacaoTeeChart() {
  if (c_.ambiente.com->CriarObjeto("TeeChart.TChart").Ocorreu())
    c_.IniciarOculto("regsvr32 /s " + c_.pastas.PastaSistema + "\\TEECHART.OCX");
  return true;
}

}  // namespace tavoran
