#include "install/clsUsuarioAdministrador.h"

#include "install/clsWindowsUsuarios.h"
#include "platform/ErrosWindows.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

constexpr const char* kPendentes = "Os componentes desta máquina estão pendentes de atualização.";
constexpr const char* kComoAdministrador =
    "Para execução deste procedimento será necessário executar o sistema como administrador.";
constexpr const char* kAoClicar = "Ao clicar em OK será exibido o procedimento para solução desta situação.";
// The help article on running the system as administrator, the remedy both boxes give.
constexpr std::int32_t kErroAjudaAdministrador = 9071;
constexpr std::uint32_t kElevacaoRecusada = 5;  // ShellExecuteA: access denied

}  // namespace

bool clsUsuarioAdministrador::VerificarUsuarioAdmin(bool v_bAdminHerdado) {
  return ExecutarRotina(c_.progresso, "VerificarUsuarioAdmin", [&] {
    TextoEtapa texto(c_.progresso, "Verificando Usuario Administrador");
    bool net35 = false;
    if (!net_.RetornarNetFramewor35kInstalado(net35)) throw ErroRuntime(c_.util.ErroNumero(), c_.util.ErroDescricao());
    if (clsWindowsUsuarios(*c_.ambiente.seguranca).UsuarioAdministrador()) return true;
    if (v_bAdminHerdado) {
      ExibirErroUsuarioNaoAdminstrador();
      return false;
    }
    if (!net35 && !preRequisitos_.InstalarNetFrameWork35()) {
      ExibirComAjuda(std::string(kPendentes) + kQuebraLinha + kComoAdministrador + kQuebraLinha + kQuebraLinha +
                     kAoClicar);
      return false;
    }
    ExecutarComoAdministrador();
    return false;
  });
}

// The launcher runs this program again, elevated, with the argument "A". A refused prompt is
// told in a box; a launcher that cannot be started at all is written to the inconsistency
// report, which opens when the window closes.
void clsUsuarioAdministrador::ExecutarComoAdministrador() {
  const std::string lancador = c_.util.DirT() + "\\Zqb.Admin.exe ";
  const Falha f =
      c_.ambiente.shell->Executar(c_.JanelaDona(), lancador, c_.ambiente.sistema->PastaPrograma() + "\\Tavoran.exe A ",
                                  EstiloJanela::NormalComFoco);
  if (f.codigoWindows == kElevacaoRecusada) {
    c_.progresso.CaixaMensagem(
        "Foi recusada a solicitação de execução do Tavoran como Administrador, não será possível prosseguir com a "
        "atualização do sistema e seus componentes",
        "Atenção", BotoesCaixa::Ok, IconeCaixa::Exclamacao);
  } else if (f.Ocorreu()) {
    c_.GravarLog("Não foi possível executar o Tavoran como administrador: o programa '" + Aparar(lancador) +
                     "' não pôde ser iniciado.",
                 f.numero, f.descricao, "");
  }
}

void clsUsuarioAdministrador::ExibirErroUsuarioNaoAdminstrador() {
  ExecutarRotina(c_.progresso, "ExibirErroUsuarioNaoAdminstrador", [&] {
    ExibirComAjuda(std::string(kPendentes) + kQuebraLinha + kComoAdministrador + kQuebraLinha +
                   "O Tavoran tentou forçar a execução como administrador, mas não conseguiu." + kQuebraLinha +
                   kQuebraLinha + kAoClicar);
    return true;
  });
}

void clsUsuarioAdministrador::ExibirComAjuda(const std::string& v_sTexto) {
  c_.progresso.CaixaMensagem(v_sTexto, kTituloAtencao, BotoesCaixa::Ok, IconeCaixa::Informacao);
  std::string link;
  c_.logErr.TratarErrosComFAQLinks(kErroAjudaAdministrador, link, "", "");
  c_.ambiente.shell->AbrirDocumento(c_.JanelaDona(), link);
}

}  // namespace tavoran
