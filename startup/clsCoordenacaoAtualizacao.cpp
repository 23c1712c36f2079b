#include "startup/clsCoordenacaoAtualizacao.h"

#include <cstdio>

#include "btrieve/clsTavBtr20.h"
#include "checks/clsNTermService.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

std::string DataDeHoje(const DataHora& d) {
  char b[16];
  std::snprintf(b, sizeof b, "%04d%02d%02d", d.ano, d.mes, d.dia);
  return b;
}

std::string HoraAgora(const DataHora& d) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", d.hora, d.minuto, d.segundo);
  return b;
}

}  // namespace

clsCoordenacaoAtualizacao::clsCoordenacaoAtualizacao(ContextoCoordenacao contexto) : c_(contexto) {}

clsCoordenacaoAtualizacao::~clsCoordenacaoAtualizacao() { Liberar(); }

void clsCoordenacaoAtualizacao::Liberar() {
  selVcomp_.reset();
  bloqueio_.reset();
}

std::unique_ptr<clsRyxMaqBloqueio> clsCoordenacaoAtualizacao::NovoBloqueio() {
  Ambiente& a = c_.ambiente;
  auto bloqueio = std::make_unique<clsRyxMaqBloqueio>(*a.btrieve, *a.arquivos);
  bloqueio->Diretorio(c_.util.DirT());
  bloqueio->MaquinaNome(c_.util.RetornarNomeComputador());
  return bloqueio;
}

bool clsCoordenacaoAtualizacao::ExecutarVerificacoesTerminalService() {
  bool ok = false;
  try {
    c_.progresso.ExibirMensagem("Verificando Execução TS");
    clsNTermService terminal(c_.ambiente);
    c_.sessaoTerminal = terminal.UtilizandoTerminalService();
    bool bloqueada = false;
    if (VerificarMaquinaBloqueada(bloqueada)) {
      if (bloqueada)
        ExibirMensagemInformacao(
            std::string("ExecutarVerificacoesTerminalService - ") +
            "A atualização de componentes se encontra em execução por outra estação via Terminal Service." +
            kQuebra + "Tente novamente mais tarde.");
      ok = !bloqueada;
    }
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    c_.progresso.ExibirErroGenerico(f.numero, f.descricao, "ExecutarVerificacoesTerminalService");
    ok = false;
  }
  c_.progresso.ExibirMensagem("");
  return ok;
}

// The lock file opened normally: status 88 means another instance holds it.
bool clsCoordenacaoAtualizacao::VerificarMaquinaBloqueada(bool& v_bBloqueada) {
  v_bBloqueada = false;
  return Rotina("VerificarMaquinaBloqueada", [&] {
    auto teste = NovoBloqueio();
    if (!teste->ArquivoExiste()) return true;
    if (teste->Abrir(OperacaoBtrieve::kModoNormal, "")) return true;
    if (teste->ErroNumero() == StatusBtrieve::kModoIncompativel) {
      v_bBloqueada = true;
      return true;
    }
    // The holder removed the file between the test and the open: the lock was just released.
    if (teste->ErroNumero() == StatusBtrieve::kArquivoNaoEncontrado) return true;
    c_.progresso.ExibirErroGenerico(teste->ErroNumero(),
                               "Erro ao abrir arquivo '" + teste->Arquivo() + "': " + teste->ErroDescricao(),
                               "VerificarMaquinaBloqueada");
    return false;
  });
}

bool clsCoordenacaoAtualizacao::VerificarPrecisaAtualizarComponentes(bool& v_bPrecisaAtualizar,
                                                                     bool& v_bAtualizacaoForcada) {
  const char* rotina = "VerificarPrecisaAtualizarComponentes";
  v_bPrecisaAtualizar = false;
  v_bAtualizacaoForcada = false;
  return Rotina(rotina, [&] {
    Ambiente& a = c_.ambiente;
    selVcomp_ = std::make_unique<clsSelVcomp>(*a.btrieve, *a.arquivos);
    selVcomp_->Diretorio(c_.util.DirT());
    if (!selVcomp_->ArquivoExiste() && !selVcomp_->Criar()) {
      c_.progresso.ExibirErroGenerico(selVcomp_->ErroNumero(),
                                 "Erro ao criar arquivo 'SELVCOMP.BTR': " + selVcomp_->ErroDescricao(), rotina);
      return false;
    }
    if (!selVcomp_->Abrir(OperacaoBtrieve::kModoNormal, "")) {
      if (selVcomp_->ErroNumero() == StatusBtrieve::kModoIncompativel) {
        ExibirMensagemBloqueio();
      } else {
        c_.progresso.ExibirErroGenerico(selVcomp_->ErroNumero(),
                                   "Erro ao abrir arquivo 'SELVCOMP.BTR': " + selVcomp_->ErroDescricao(), rotina);
      }
      return false;
    }
    selVcomp_->MontarChave0(c_.util.RetornarNomeComputador());
    if (!selVcomp_->Ler(OperacaoBtrieve::kObterIgual)) {
      const std::int32_t status = selVcomp_->ErroNumero();
      if (status != StatusBtrieve::kChaveNaoEncontrada && status != StatusBtrieve::kFimArquivo) {
        c_.progresso.ExibirErroGenerico(status, "Erro ao ler arquivo 'SELVCOMP.BTR': " + selVcomp_->ErroDescricao(),
                                   rotina);
        return false;
      }
      v_bPrecisaAtualizar = true;  // no record: this computer was never updated
    }
    if (Aparar(selVcomp_->ForcarAtualizaComponentes()) == "1") {
      v_bPrecisaAtualizar = true;
      v_bAtualizacaoForcada = true;
    }
    return true;
  });
}

bool clsCoordenacaoAtualizacao::ObterBloqueio() {
  const char* rotina = "ObterBloqueioTerminalService";
  return Rotina(rotina, [&] {
    bloqueio_ = NovoBloqueio();
    if (!bloqueio_->ArquivoExiste() && !bloqueio_->Criar()) {
      c_.progresso.ExibirErroGenerico(bloqueio_->ErroNumero(),
                                 "Erro ao criar arquivo '" + bloqueio_->Arquivo() + "': " + bloqueio_->ErroDescricao(),
                                 rotina);
      return false;
    }
    if (bloqueio_->Abrir(OperacaoBtrieve::kModoExclusivo, "")) return true;
    if (bloqueio_->ErroNumero() == StatusBtrieve::kModoIncompativel) {
      ExibirMensagemBloqueio();
    } else {
      c_.progresso.ExibirErroGenerico(bloqueio_->ErroNumero(),
                                 "Erro ao abrir arquivo '" + bloqueio_->Arquivo() + "': " + bloqueio_->ErroDescricao(),
                                 rotina);
    }
    bloqueio_.reset();
    return false;
  });
}

void clsCoordenacaoAtualizacao::ExibirMensagemInformacao(const std::string& v_sTexto) {
  c_.progresso.CaixaMensagem(v_sTexto, kTituloPadrao, BotoesCaixa::Ok, IconeCaixa::Informacao);
}

void clsCoordenacaoAtualizacao::ExibirMensagemBloqueio() {
  ExibirMensagemInformacao(
      std::string("ExibirMensagemBloqueio - ") +
      "A atualização de componentes esta sendo executada por outras estações fora do Terminal Service." + kQuebra +
      "Tente novamente mais tarde.");
}

bool clsCoordenacaoAtualizacao::AtualizarSelvComp(bool v_bAtualizacaoForcada) {
  return v_bAtualizacaoForcada ? AlterarSelvComp() : GravarRegistroSelVcomp();
}

bool clsCoordenacaoAtualizacao::GravarRegistroSelVcomp() {
  return Rotina("GravarRegistroSelVcomp", [&] {
    clsNKemRyxUtil& util = c_.util;
    const std::string maquina = util.RetornarNomeComputador();
    selVcomp_->MontarChave0(maquina);
    if (!selVcomp_->Ler(OperacaoBtrieve::kObterIgual)) selVcomp_->AdicionarNovo();
    const DataHora agora = c_.ambiente.relogio->Agora();
    selVcomp_->Data(DataDeHoje(agora));
    selVcomp_->Hora(HoraAgora(agora));
    selVcomp_->Maquina(maquina);
    selVcomp_->Status("1");
    selVcomp_->Usuario(util.RetornarLogin());
    selVcomp_->ForcarAtualizaComponentes("0");
    if (!selVcomp_->Gravar()) {
      c_.progresso.ExibirErroGenerico(selVcomp_->ErroNumero(),
                                 "Falha ao gravar registro no SELVCOMP.BTR: " + selVcomp_->ErroDescricao(),
                                 "GravarRegistroSelVcomp");
      return false;
    }
    selVcomp_->Fechar();
    return true;
  });
}

bool clsCoordenacaoAtualizacao::AlterarSelvComp() {
  return Rotina("AlterarSelvComp", [&] {
    selVcomp_->MontarChave0(c_.util.RetornarNomeComputador());
    if (!selVcomp_->Ler(OperacaoBtrieve::kObterIgual)) {
      c_.progresso.ExibirErroGenerico(selVcomp_->ErroNumero(), selVcomp_->ErroDescricao(), "AlterarSelvComp");
      return false;
    }
    selVcomp_->ForcarAtualizaComponentes("0");
    if (!selVcomp_->Gravar()) {
      c_.progresso.ExibirErroGenerico(selVcomp_->ErroNumero(), selVcomp_->ErroDescricao(), "AlterarSelvComp");
      return false;
    }
    return true;
  });
}

bool clsCoordenacaoAtualizacao::Desbloquear() {
  return Rotina("Desbloquear", [&] {
    if (!bloqueio_) return true;
    bloqueio_->Fechar();
    clsNKemRyxUtil& util = c_.util;
    if (!util.ExcluirArquivo(bloqueio_->Arquivo())) {
      c_.progresso.ExibirErroGenerico(util.ErroNumero(),
                                 "Erro ao excluir arquivo '" + bloqueio_->Arquivo() + "': " + util.ErroDescricao(),
                                 "Desbloquear");
      return false;
    }
    bloqueio_.reset();
    return true;
  });
}

void clsCoordenacaoAtualizacao::ExcluirRegistroSelvcomp(Ambiente& a, clsApresentacao& apresentacao,
                                                       const std::string& v_sMaquina,
                                                       const std::string& v_sDiretorio) {
  try {
    clsSelVcomp status(*a.btrieve, *a.arquivos);
    status.Diretorio(v_sDiretorio);
    if (status.ArquivoExiste() && status.Abrir(OperacaoBtrieve::kModoNormal, "")) {
      status.MontarChave0(v_sMaquina);
      if (status.Ler(OperacaoBtrieve::kObterIgual)) status.Excluir();
    }
    status.Fechar();
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    apresentacao.ExibirErroGenerico(f.numero, f.descricao, "ExcluirRegistroSelvcomp");
  }
}

}  // namespace tavoran
