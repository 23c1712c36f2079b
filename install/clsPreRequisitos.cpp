#include "install/clsPreRequisitos.h"

#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr const char* kImpressora = "Impressora Virtual.exe";
// The printer's installer is checked after each pause of the window's timer, this many times
// at most (about two minutes).
constexpr int kPausasImpressora = 240;
constexpr std::int32_t kErroTempoEsgotado = 1460;  // Windows' ERROR_TIMEOUT

}  // namespace

std::string clsPreRequisitos::Instalador(const std::string& v_sCaminhoRelativo) {
  return c_.util.DirT() + v_sCaminhoRelativo;
}

// The 32-bit system folder is SysWOW64 on 64-bit Windows.
bool clsPreRequisitos::Windows64() { return c_.util.RetornarPastaWindowsSystem().find("64") != std::string::npos; }

// The installer's own outcome is not examined; a missing package is skipped.
bool clsPreRequisitos::InstalarSqlNativeClient() {
  return ExecutarRotina(c_.progresso, "InstalarSqlNativeClient", [&] {
    c_.progresso.ExibirMensagem("Instalando SQL Native Client...");
    const std::string pacote =
        Instalador(Windows64() ? "\\Kora\\Instaladores\\sqlncli64.msi" : "\\Kora\\Instaladores\\sqlncli32.msi");
    if (c_.util.ArquivoExiste(pacote))
      shellWait_.ShellExecuteExcutarEAguardarTermino(pacote, "/qn IACCEPTSQLNCLILICENSETERMS=YES",
                                                     EstiloJanela::Oculta);
    return true;
  });
}

bool clsPreRequisitos::InstalarCPlusPlusRedistributables() {
  return ExecutarRotina(c_.progresso, "InstalarCPlusPlusRedistributables", [&] {
    c_.progresso.ExibirMensagem("Instalando C++ redistributable...");
    for (const char* relativo :
         {"\\kora\\instaladores\\vcredist_x86_2012.exe", "\\kora\\instaladores\\vcredist_x86_2013.exe"}) {
      const std::string programa = Instalador(relativo);
      if (c_.util.ArquivoExiste(programa))
        shellWait_.ShellExecutarEAguardarTermino(ArgumentoComando(programa) + " /q /norestart", EstiloJanela::Oculta);
    }
    return true;
  });
}

bool clsPreRequisitos::InstalarNetFrameWork35() {
  return ExecutarRotina(c_.progresso, "InstalarNetFrameWork35", [&] {
    c_.progresso.ExibirMensagem("Instalando o .Net Framework 3.5");
    c_.ambiente.shell->Executar(c_.JanelaDona(), Instalador("\\KORA\\Instaladores\\dotnetfx35.exe"), "",
                                EstiloJanela::NormalComFoco);
    bool instalado = false;
    return net_.RetornarNetFramewor35kInstalado(instalado) && instalado;
  });
}

bool clsPreRequisitos::InstalarImpressoraVirtual() {
  return ExecutarRotina(c_.progresso, "InstalarImpressoraVirtual", [&] {
    bool instalada = false;
    if (!VerificarImpressoraJaInstalada(instalada)) return false;
    if (instalada) return true;
    const std::string instalador = Instalador(std::string("\\kora\\instaladores\\") + kImpressora);
    if (!c_.util.ArquivoExiste(instalador)) return true;
    c_.IniciarOculto(ArgumentoComando(instalador));
    return AguardarInstaladorImpressora(instalador);
  });
}

// An installer still running after the bound (waiting, unseen, for an answer say) ends the
// wait with an inconsistency entry: the step fails and the workstation is not recorded.
bool clsPreRequisitos::AguardarInstaladorImpressora(const std::string& v_sInstalador) {
  for (int pausas = 0; pausas < kPausasImpressora; ++pausas) {
    bool finalizado = false;
    if (!processos_.VerificarProcessoFinalizado(kImpressora, finalizado)) return false;
    if (finalizado) return true;
    c_.progresso.Aguardar();
  }
  c_.GravarLog(std::string("Não foi possível concluir a instalação da Impressora Virtual.") + kQuebraLinha +
                   "Finalize o processo '" + kImpressora +
                   "' no Gerenciador de Tarefas do Windows e execute o Tavoran novamente.",
               kErroTempoEsgotado, "O instalador '" + v_sInstalador + "' não terminou em 2 minutos.", "");
  return false;
}

bool clsPreRequisitos::VerificarImpressoraJaInstalada(bool& v_bInstalada) {
  v_bInstalada = false;
  return ExecutarRotina(c_.progresso, "VerificarImpressoraJaInstalada", [&] {
    const std::string chave = Windows64() ? "SOFTWARE\\Wow6432Node\\Tavoran Printer" : "SOFTWARE\\Tavoran Printer";
    v_bInstalada = !Aparar(c_.util.LerStringRegistro(RaizRegistro::LocalMachine, chave, "AppFileName")).empty();
    return true;
  });
}

bool clsPreRequisitos::ExecutarWindowsServerShellChangeUserInstall(bool v_bSessaoTerminal) {
  constexpr const char* kRotina = "ExecutarWindowsServerShellChangeUserInstall";
  return ExecutarRotina(c_.progresso, kRotina, [&] {
    if (!v_bSessaoTerminal) return true;
    std::string nome;
    if (!c_.util.RetornarNomeSistemaOperacional(nome)) {
      c_.progresso.ExibirErroGenerico(
          c_.util.ErroNumero(), "Falha imprevista ao retornar nome do sistema operacional: " + c_.util.ErroDescricao(),
          kRotina);
      return false;
    }
    nome = Minusculas(nome);
    if (nome.find("server") == std::string::npos || nome.find("windows") == std::string::npos) return true;
    c_.IniciarOculto("change user /install");
    modoInstalacao_ = true;
    return true;
  });
}

bool clsPreRequisitos::ExecutarWindowsServerShellChangeUserExecute() {
  return ExecutarRotina(c_.progresso, "ExecutarWindowsServerShellChangeUserExecute", [&] {
    if (modoInstalacao_) c_.IniciarOculto("change user /execute");
    return true;
  });
}

}  // namespace tavoran
