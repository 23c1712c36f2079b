#pragma once
// The progress window: owns the run's working objects, walks the main sequence when it
// is shown, and releases everything when it closes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "checks/clsNKemRyxUtil.h"
#include "install/ContextoInstalacao.h"
#include "install/clsControleProcessos.h"
#include "install/clsInstaladorComponentes.h"
#include "install/clsNKemRegComp.h"
#include "install/clsPreRequisitos.h"
#include "install/clsUsuarioAdministrador.h"
#include "platform/Ambiente.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLog.h"
#include "reports/clsNKemRyxLogErr.h"
#include "startup/clsApresentacao.h"
#include "startup/clsCoordenacaoAtualizacao.h"

namespace tavoran {

// A row of a sequence: the step text shown first (none when empty) and its routine.
struct Etapa {
  std::string texto;
  std::function<bool()> rotina;
};

// The routines of the sequence, one per row. A row whose routine is empty is not part of
// this build and is passed over; tests put routines of their own in any row.
struct PlanoSequencia {
  // Inicializar, after the report files are named, in order.
  std::function<bool()> verificarBackUpEmExecucao;
  std::function<bool()> executarVerificacoesTerminalService;
  std::function<bool()> configurarPastas;
  std::function<bool()> verificarKemEmExecucao;
  // Form_Activate row 1: reads the engine version.
  std::function<bool()> lerVersaoBtrieve;
  // RealizarValidacoesIniciais rows 1 to 5; verificarPrecisaAtualizar sets the two flags.
  std::function<bool()> verificarVersoes;
  std::function<bool()> verificarPrecisaAtualizar;
  std::function<void()> corrigirConfiguracaoData;
  std::function<bool()> verificarComponentePervasive;
  std::function<bool()> configurarBarraProgressoTotal;
  // Row 7: the launch when nothing needs updating, or the update lock; then row 8.
  std::function<void()> executarKemCriaArq;
  std::function<bool()> obterBloqueio;
  std::function<bool()> apagarExecutaveisReestruturacao;
  // Form_Activate rows 3 to 14: the update branch.
  std::vector<Etapa> atualizacao;
  // Row 17: record the update, release the lock (then the launch).
  std::function<bool()> atualizarSelvComp;
  std::function<bool()> desbloquear;
  // Closing: puts a terminal server back into execute mode.
  std::function<void()> sairModoInstalacao;
};

enum class VariantePermissao { Tavoran, TavoranEOffice };

class frmInicial : public IEventosJanela, public IProgresso {
 public:
  frmInicial(Ambiente& ambiente, LinksAjuda& links);
  ~frmInicial() override;
  frmInicial(const frmInicial&) = delete;
  frmInicial& operator=(const frmInicial&) = delete;

  // Replaces the product's routines of some rows (tests).
  PlanoSequencia& Plano() { return plano_; }

  bool Inicializar(std::shared_ptr<clsNKemRyxLogErr> v_objLogErr);
  void AdminHerdado(bool v_bAdminHerdado) { adminHerdado_ = v_bAdminHerdado; }
  bool AdminHerdado() const { return adminHerdado_; }

  // Window events.
  void Ativada() override { Form_Activate(); }
  void Fechando() override { Form_QueryUnload(); }
  void Redimensionada(int largura, int altura) override { Form_Resize(largura, altura); }
  void Temporizador() override { tmrSleep_Timer(); }

  void Form_Activate();
  bool RealizarValidacoesIniciais(bool& v_bPrecisaAtualizar);
  void Form_QueryUnload();
  void Form_Resize(int largura, int altura);
  void tmrSleep_Timer();
  // Pauses about 500 ms while the window stays alive.
  void Aguardar() override;

  // Step text: sets the step line and lets the window repaint.
  void ExibirMensagem(const std::string& v_sTexto) override;
  void AdicionarProgresso() override;
  void DefinirMaximoProgresso(int v_lMaximo) override;
  int CaixaMensagem(const std::string& v_sTexto, const std::string& v_sTitulo, BotoesCaixa v_enBotoes,
                    IconeCaixa v_enIcone) override;

  // Error presentation of the window.
  void ExibirErroGenerico(std::int32_t v_lNumero, const std::string& v_sDescricao,
                          const std::string& v_sRotina) override;
  int ExibirMensagemInformacao(const std::string& v_sTexto, const std::string& v_sTitulo = kTituloPadrao);
  // Inconsistency entry.
  void GravarLog(const std::string& v_sMensagem, std::int32_t v_lNumero, const std::string& v_sDescricao,
                 const std::string& v_sChave);
  // Update-report row.
  void GravarLog(const std::string& v_sAcao, std::int32_t v_lNumero, const std::string& v_sDescricao);
  void ExibirMensagemPermissaoNegada(const std::string& v_sArquivo, std::int32_t v_lNumero,
                                     const std::string& v_sDescricao,
                                     VariantePermissao v_enVariante = VariantePermissao::Tavoran);
  void CarregarLinks();

  // Report files.
  bool ConfigurarLog();
  bool ConfigurarLogAtualizacaoComponentes();
  bool ConfigurarLogAtualizacaoErros();
  bool ApagarArquivosLog();

  // Start-up validations and launch.
  bool VerificarBackUpEmExecucao();
  bool VerificarKemEmExecucao();
  bool MontarDirT(const std::string& v_sPasta);
  void CorrigirConfiguracaoDataWindows();
  void ExecutarKemCriaArq();
  bool LerVersaoBtrieve();
  bool VerificarVersoes();

  // Diagnosis of an engine that cannot be reached: server, network or ports.
  void VerificarPvsw(std::int32_t v_lErroNumero, const std::string& v_sErroDescricao);

  // Component installation, delegated to the installation driver.
  bool ConfigurarPastas();
  bool ConfigurarBarraProgressoTotal();
  bool VerificarComponentePervasive();
  bool ApagarExecutaveisReestruturacaoKem();
  bool InstalarTypeLibInformation();
  bool InstalarAtualizarComponentesPervasive();
  bool InstalarAtualizarComponentesNet();
  bool InstalarAtualizarComponentes();

  // Resident programs, services and processes, around the component passes.
  bool FinalizarServicos();
  bool PararServicoResidente(const std::string& v_sPrograma);
  bool FinalizarProcessos();
  bool InicializarProcessos();
  // Other vendors' installers and the terminal server's install mode.
  bool ExecutarWindowsServerShellChangeUserInstall();
  bool ExecutarWindowsServerShellChangeUserExecute();
  bool InstalarCPlusPlusRedistributables();
  bool InstalarSqlNativeClient();
  bool InstalarImpressoraVirtual();
  // Administrator rights: false stops this instance's update.
  bool VerificarUsuarioAdmin();

  // Runs a routine's body; an unexpected error is shown with the generic box under the
  // routine's name and makes the routine fail.
  template <class F>
  bool Rotina(const std::string& v_sRotina, F&& corpo) {
    return ExecutarRotina(*this, v_sRotina, std::forward<F>(corpo));
  }

  // Working state read by the steps.
  Ambiente& Amb() { return ambiente_; }
  clsNKemRyxUtil* Util() { return util_.get(); }
  clsNKemRyxLog* Log() { return log_.get(); }
  clsNKemRyxLogErr* LogErr() { return logErr_.get(); }
  clsCoordenacaoAtualizacao* Coordenacao() { return coordenacao_.get(); }
  // The installation driver with this run's engine version and forced-update flag.
  clsInstaladorComponentes& Instalador();
  ContextoInstalacao& Contexto();
  const std::string& VersaoBancoDados() const { return versaoBanco_; }
  void VersaoBancoDados(const std::string& v) { versaoBanco_ = v; }
  bool PrecisaAtualizar() const { return precisaAtualizar_; }
  void PrecisaAtualizar(bool v) { precisaAtualizar_ = v; }
  bool AtualizacaoForcada() const { return atualizacaoForcada_; }
  void AtualizacaoForcada(bool v) { atualizacaoForcada_ = v; }
  bool SessaoTerminal() const { return sessaoTerminal_; }
  void SessaoTerminal(bool v) { sessaoTerminal_ = v; }

 private:
  PlanoSequencia PlanoProduto();
  void ExecutarSequenciaPrincipal();
  void ExecutarAtualizacao();
  void FaseFinal();
  void DiagnosticarConexao(std::int32_t numero, const std::string& descricao);
  void RegistrarFalhaVersoes(std::int32_t numero, const std::string& descricao);
  bool CriarPastaSeAusente(const std::string& pasta);
  std::string NomeArquivoRelatorio(const std::string& pasta);

  Ambiente& ambiente_;
  LinksAjuda& links_;
  PlanoSequencia plano_;
  std::unique_ptr<clsNKemRyxUtil> util_;
  std::unique_ptr<clsNKemRyxLog> log_;
  std::shared_ptr<clsNKemRyxLogErr> logErr_;
  std::unique_ptr<clsApresentacao> apresentacao_;
  std::unique_ptr<clsCoordenacaoAtualizacao> coordenacao_;
  std::unique_ptr<clsNKemRegComp> regComp_;
  std::unique_ptr<ContextoInstalacao> contexto_;
  std::unique_ptr<clsControleProcessos> processos_;
  std::unique_ptr<clsInstaladorComponentes> instalador_;
  std::unique_ptr<clsPreRequisitos> preRequisitos_;
  std::unique_ptr<clsUsuarioAdministrador> administrador_;
  bool adminHerdado_ = false;
  bool precisaAtualizar_ = false;
  bool atualizacaoForcada_ = false;
  bool sessaoTerminal_ = false;
  bool tempoDecorrido_ = false;
  bool fechado_ = false;
  std::string versaoBanco_;
};

}  // namespace tavoran
