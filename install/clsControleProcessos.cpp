#include "install/clsControleProcessos.h"

#include <algorithm>
#include <vector>

#include "platform/Texto.h"

namespace tavoran {
namespace {

// The resident programs in the order they are stopped.
constexpr const char* kResidentes[] = {"TAVALERTAS.EXE", "TAVINTEGCNPJ.EXE", "TAVMANAGER.EXE",
                                       "Zqp.Integration.Agent.exe"};
constexpr std::size_t kGerenciadorServicos = 2;
constexpr std::size_t kAgenteIntegracao = 3;

constexpr const char* kServicoIntegracao = "Tavoran Serviço de Integração";
constexpr const char* kProcessoIntegracao = "Zqp.Integration.Agent";
constexpr const char* kPerguntaIntegracao =
    "Não foi possível iniciar o serviço 'Tavoran Serviço de Integração', deseja tentar novamente?";
// The integration agent is tried this many times between two questions.
constexpr int kTentativasIntegracao = 10;

constexpr const char* kGerenciador = "TAVORAN2.EXE";
constexpr const char* kTituloPergunta = "Atenção";
// After a command the process list is read again after each of up to this many pauses of
// the window's timer (about five seconds): a service takes a moment to stop or to start.
constexpr int kPausasSondagem = 10;

std::string Primeiros(const std::string& v_sTexto, std::size_t n) { return v_sTexto.substr(0, n); }

// A program's service: its executable name in upper case without ".EXE".
std::string NomeServico(const std::string& v_sPrograma) { return Substituir(Maiusculas(v_sPrograma), ".EXE", ""); }

// The process name, trimmed, contains the text, letter case aside; an empty text matches none.
bool NomeContem(const InfoProcesso& processo, const std::string& v_sNome) {
  return !v_sNome.empty() && Minusculas(Aparar(processo.nome)).find(Minusculas(v_sNome)) != std::string::npos;
}

}  // namespace

// ---- stopping and starting the resident programs -------------------------------------------

bool clsControleProcessos::FinalizarServicos() {
  return ExecutarRotina(c_.progresso, "FinalizarServicos", [&] {
    TextoEtapa texto(c_.progresso, "Finalizando Serviços");
    return PararResidentes();
  });
}

// Each program is found by the first six characters of its name and stopped under the name
// found.
bool clsControleProcessos::PararResidentes() {
  for (std::size_t i = 0; i < std::size(kResidentes); ++i) {
    std::string encontrado;
    emExecucao_[i] = EmExecucao(Primeiros(kResidentes[i], 6), encontrado);
    if (emExecucao_[i] && !PararServicoResidente(encontrado)) return false;
  }
  return true;
}

bool clsControleProcessos::PararServicoResidente(const std::string& v_sPrograma) {
  return ExecutarRotina(c_.progresso, "PararServicoResidente", [&] {
    const std::string servico = NomeServico(v_sPrograma);
    struct Meio {
      std::function<bool()> aplicar;
      std::string verificado;
    };
    auto comando = [&](const std::string& linha) {
      return [this, linha] {
        c_.IniciarOculto(linha);
        return true;
      };
    };
    const Meio meios[] = {
        {comando("net stop " + ArgumentoComando(servico)), v_sPrograma},
        {comando("sc stop " + ArgumentoComando(servico)), v_sPrograma},
        {[&] { return MatarProcessoUsandoAPI(v_sPrograma); }, v_sPrograma},
        {[&] {
           c_.IniciarOculto("taskkill -f -im " + ArgumentoComando(v_sPrograma));
           c_.ambiente.relogio->Dormir(100);
           return true;
         },
         Primeiros(servico, 6)},
    };
    do {
      for (const Meio& meio : meios) {
        bool finalizado = false;
        if (!meio.aplicar() || !AguardarFinalizacao(meio.verificado, finalizado)) return false;
        if (finalizado) return true;
      }
    } while (Perguntar("Não foi possível finalizar o serviço '" + servico + "', deseja tentar novamente?"));
    return true;
  });
}

bool clsControleProcessos::InicializarProcessos() {
  return ExecutarRotina(c_.progresso, "InicializarProcessos", [&] {
    TextoEtapa texto(c_.progresso, "Inicializando Serviços");
    if (emExecucao_[kGerenciadorServicos] && !IniciarServicoResidente(kResidentes[kGerenciadorServicos])) return false;
    if (emExecucao_[kAgenteIntegracao] && !IniciarServicoIntegracao()) return false;
    return IniciarServicoSqlServer();
  });
}

bool clsControleProcessos::IniciarServicoResidente(const std::string& v_sPrograma) {
  return ExecutarRotina(c_.progresso, "IniciarServicoResidente", [&] {
    const std::string servico = NomeServico(v_sPrograma);
    do {
      bool iniciado = false;
      c_.IniciarOculto("sc start " + ArgumentoComando(servico));
      if (!AguardarInicio(v_sPrograma, iniciado)) return false;
      if (iniciado) return true;
      c_.IniciarOculto("net start " + ArgumentoComando(servico));
      if (!AguardarInicio(Primeiros(servico, 6), iniciado)) return false;
      if (iniciado) return true;
    } while (Perguntar("Não foi possível iniciar o serviço '" + servico + "', deseja tentar novamente?"));
    return true;
  });
}

// The agent's service is addressed by its display name; the question comes after every tenth
// try, so that each Yes grants ten more and the tries never go on unasked.
bool clsControleProcessos::IniciarServicoIntegracao() {
  return ExecutarRotina(c_.progresso, "IniciarServicoIntegracao", [&] {
    const std::string servico = ArgumentoComando(kServicoIntegracao);
    const std::string processo = Maiusculas(kProcessoIntegracao);
    for (int tentativa = 1;; ++tentativa) {
      bool iniciado = false;
      c_.IniciarOculto("sc start " + servico);
      if (!AguardarInicio(processo, iniciado)) return false;
      if (iniciado) return true;
      c_.IniciarOculto("net start " + servico);
      if (!AguardarInicio(Primeiros(processo, 6), iniciado)) return false;
      if (iniciado) return true;
      if (tentativa % kTentativasIntegracao == 0 && !Perguntar(kPerguntaIntegracao)) return true;
    }
  });
}

// ---- the SQL Server instance -----------------------------------------------------------------

// The instance of the configuration's server line: the text after the server's name and its
// backslash, without a port after a colon.
bool clsControleProcessos::RetornarInstanciaSql(std::string& v_sInstancia) {
  v_sInstancia.clear();
  return ExecutarRotina(c_.progresso, "RetornarInstanciaSql", [&] {
    const std::string arquivo = c_.util.DirT() + "\\Kem\\DefXML\\TavoranConfig.xml";
    if (!c_.util.ArquivoExiste(arquivo)) return true;
    std::string bytes;
    if (const Falha f = c_.ambiente.arquivos->LerTudo(arquivo, bytes); f.Ocorreu())
      throw ErroRuntime(f.numero, f.descricao);
    const std::string texto = DeTextoArquivo(bytes);
    for (std::size_t inicio = 0; inicio < texto.size();) {
      const std::size_t fim = std::min(texto.find_first_of("\r\n", inicio), texto.size());
      const std::string linha = Aparar(texto.substr(inicio, fim - inicio));
      inicio = fim + 1;
      if (Maiusculas(linha).find("SERVIDOR") == std::string::npos) continue;
      std::string servidor = Substituir(Substituir(linha, "<Servidor>", ""), "</Servidor>", "");
      servidor = servidor.substr(servidor.find('\\') + 1);  // npos + 1 keeps the whole text
      v_sInstancia = servidor.substr(0, servidor.find(':'));
      return true;
    }
    return true;
  });
}

// Started whatever the outcome: the process check only decides whether net is tried after sc.
bool clsControleProcessos::IniciarServicoSqlServer() {
  return ExecutarRotina(c_.progresso, "IniciarServicoSqlServer", [&] {
    std::string instancia;
    if (!RetornarInstanciaSql(instancia)) return false;
    if (Aparar(instancia).empty()) return true;
    const std::string servico = ArgumentoComando("MSSQL$" + instancia);
    bool iniciado = false;
    c_.IniciarOculto("sc start " + servico);
    if (!AguardarInicio("SQLSERVR", iniciado)) return false;
    if (iniciado) return true;
    c_.IniciarOculto("net start " + servico);
    return AguardarInicio("SQLSERVR", iniciado);
  });
}

// ---- processes -------------------------------------------------------------------------------

bool clsControleProcessos::MatarProcessoUsandoAPI(const std::string& v_sNome) {
  return ExecutarRotina(c_.progresso, "MatarProcessoUsandoAPI", [&] {
    for (const InfoProcesso& processo : c_.ambiente.processos->Listar()) {
      if (!NomeContem(processo, v_sNome)) continue;
      c_.ambiente.processos->Terminar(processo.id);  // a refusal shows in the next check
      break;
    }
    return true;
  });
}

bool clsControleProcessos::VerificarProcessoFinalizado(const std::string& v_sNome, bool& v_bFinalizado) {
  v_bFinalizado = true;
  return ExecutarRotina(c_.progresso, "VerificarProcessoFinalizado", [&] {
    const auto processos = c_.ambiente.processos->Listar();
    v_bFinalizado =
        std::none_of(processos.begin(), processos.end(), [&](const InfoProcesso& p) { return NomeContem(p, v_sNome); });
    return true;
  });
}

bool clsControleProcessos::FinalizarProcessos() {
  return ExecutarRotina(c_.progresso, "FinalizarProcessos", [&] {
    TextoEtapa texto(c_.progresso, "Finalizando Processos");
    std::vector<InfoProcesso> gerenciadores;
    for (const InfoProcesso& p : c_.ambiente.processos->Listar())
      if (IguaisSemCaixa(Aparar(p.nome), kGerenciador)) gerenciadores.push_back(p);
    if (gerenciadores.size() > 1) return RecusarAtualizacao();
    if (gerenciadores.empty() || !VersaoPermiteFinalizar()) return true;
    std::uint32_t sessao = 0;
    if (!c_.ambiente.processos->SessaoAtual(sessao)) return true;
    if (gerenciadores.front().sessao != sessao) return RecusarAtualizacao();
    FinalizarProcessosTavoran();
    return true;
  });
}

// Systems before version 6 have no terminal sessions to tell apart: nothing is ended there.
bool clsControleProcessos::VersaoPermiteFinalizar() {
  std::string versao;
  if (!c_.util.RetornarVersaoSistemaOperacional(versao) || Aparar(versao).empty()) return false;
  return ValorNumerico(versao.substr(0, versao.find('.'))) >= 6;
}

// Every program run from the suite's tree except this one and the remote-access client; a
// process whose path cannot be read (a system process) is left alone.
void clsControleProcessos::FinalizarProcessosTavoran() {
  for (const InfoProcesso& p : c_.ambiente.processos->Listar()) {
    const std::string caminho = Maiusculas(Aparar(p.caminho)), nome = Maiusculas(Aparar(p.nome));
    if (caminho.find("TAVORAN") == std::string::npos || nome.find("TAVORAN.EXE") != std::string::npos ||
        nome == "CLIREMOTE.EXE")
      continue;
    c_.ambiente.processos->Terminar(p.id);
  }
}

bool clsControleProcessos::RecusarAtualizacao() {
  c_.progresso.CaixaMensagem(
      std::string("Os componentes desta máquina estão pendentes de atualização.") + kQuebraLinha + kQuebraLinha +
          "Portanto, não será possível realizar o procedimento, pois identificamos que outros usuários estão "
          "utilizando o sistema." +
          kQuebraLinha + kQuebraLinha +
          "Para execução deste procedimento será necessário que nenhum usuário esteja utilizando o sistema via "
          "Terminal Service.",
      kTituloAtencao, BotoesCaixa::Ok, IconeCaixa::Informacao);
  return false;
}

// ---- checks after a command --------------------------------------------------------------------

// Checks once the window's events have run and, while the check fails, again after each pause,
// a bounded number of times. False when the check itself failed.
bool clsControleProcessos::Sondar(const std::function<bool(bool&)>& verificar, bool& v_bAtingido) {
  for (int pausas = 0;; ++pausas) {
    if (c_.ambiente.visao) c_.ambiente.visao->ProcessarEventos();
    if (!verificar(v_bAtingido)) return false;
    if (v_bAtingido || pausas == kPausasSondagem) return true;
    c_.progresso.Aguardar();
  }
}

bool clsControleProcessos::AguardarFinalizacao(const std::string& v_sNome, bool& v_bFinalizado) {
  return Sondar([&](bool& finalizado) { return VerificarProcessoFinalizado(v_sNome, finalizado); }, v_bFinalizado);
}

bool clsControleProcessos::AguardarInicio(const std::string& v_sNome, bool& v_bIniciado) {
  return Sondar(
      [&](bool& iniciado) {
        std::string encontrado;
        iniciado = EmExecucao(v_sNome, encontrado);
        return true;
      },
      v_bIniciado);
}

// A process whose name contains the text runs; the list that cannot be read is the calling
// routine's run-time error.
bool clsControleProcessos::EmExecucao(const std::string& v_sNome, std::string& v_sEncontrado) {
  bool emExecucao = false;
  if (!c_.util.VerificarProcessoInicializado(v_sNome, emExecucao, v_sEncontrado))
    throw ErroRuntime(c_.util.ErroNumero(), c_.util.ErroDescricao());
  return emExecucao;
}

bool clsControleProcessos::Perguntar(const std::string& v_sPergunta) {
  return c_.progresso.CaixaMensagem(v_sPergunta, kTituloPergunta, BotoesCaixa::SimNao, IconeCaixa::Pergunta) ==
         kBotaoSim;
}

}  // namespace tavoran
