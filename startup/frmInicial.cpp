#include "startup/frmInicial.h"

#include "btrieve/clsTavBtr20.h"
#include "checks/clsNKemRyxVersoes.h"
#include "checks/clsNVerificaPvsw.h"
#include "platform/Texto.h"
#include "startup/mdlInicial.h"

namespace tavoran {
namespace {

constexpr const char* kAvisoSemAtualizacao =
    "A verificação foi executada com sucesso. Nenhum componente precisou ser atualizado.";

void LancarSeFalhou(const Falha& f) {
  if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
}

}  // namespace

frmInicial::frmInicial(Ambiente& ambiente, LinksAjuda& links)
    : ambiente_(ambiente),
      links_(links),
      plano_(PlanoProduto()),
      apresentacao_(std::make_unique<clsApresentacao>(*ambiente.visao, *ambiente.shell, nullptr)) {}

frmInicial::~frmInicial() = default;

// The rows this build has; the others stay empty and are passed over.
PlanoSequencia frmInicial::PlanoProduto() {
  PlanoSequencia p;
  p.lerVersaoBtrieve = [this] { return LerVersaoBtrieve(); };
  p.verificarBackUpEmExecucao = [this] { return VerificarBackUpEmExecucao(); };
  p.executarVerificacoesTerminalService = [this] { return coordenacao_->ExecutarVerificacoesTerminalService(); };
  p.verificarKemEmExecucao = [this] { return VerificarKemEmExecucao(); };
  p.verificarPrecisaAtualizar = [this] {
    return coordenacao_->VerificarPrecisaAtualizarComponentes(precisaAtualizar_, atualizacaoForcada_);
  };
  p.obterBloqueio = [this] { return coordenacao_->ObterBloqueio(); };
  p.atualizarSelvComp = [this] { return coordenacao_->AtualizarSelvComp(atualizacaoForcada_); };
  p.desbloquear = [this] { return coordenacao_->Desbloquear(); };
  p.verificarVersoes = [this] { return VerificarVersoes(); };
  p.corrigirConfiguracaoData = [this] { CorrigirConfiguracaoDataWindows(); };
  p.executarKemCriaArq = [this] { ExecutarKemCriaArq(); };
  p.configurarPastas = [this] { return ConfigurarPastas(); };
  p.verificarComponentePervasive = [this] { return VerificarComponentePervasive(); };
  p.configurarBarraProgressoTotal = [this] { return ConfigurarBarraProgressoTotal(); };
  p.apagarExecutaveisReestruturacao = [this] { return ApagarExecutaveisReestruturacaoKem(); };
  p.atualizacao = {
      {"Preparando atualização...", [this] { return ExecutarWindowsServerShellChangeUserInstall(); }},
      {"", [this] { return InstalarTypeLibInformation(); }},
      {"", [this] { return VerificarUsuarioAdmin(); }},
      {"", [this] { return InstalarAtualizarComponentesPervasive(); }},
      {"", [this] { return FinalizarServicos(); }},
      {"", [this] { return FinalizarProcessos(); }},
      {"", [this] { return InstalarAtualizarComponentesNet(); }},
      {"", [this] { return InstalarAtualizarComponentes(); }},
      {"", [this] { return InicializarProcessos(); }},
      {"", [this] { return InstalarCPlusPlusRedistributables(); }},
      {"", [this] { return InstalarSqlNativeClient(); }},
      {"Instalando Impressora Virtual...", [this] { return InstalarImpressoraVirtual(); }},
  };
  p.sairModoInstalacao = [this] { ExecutarWindowsServerShellChangeUserExecute(); };
  return p;
}

// ---- start -------------------------------------------------------------------------------

bool frmInicial::Inicializar(std::shared_ptr<clsNKemRyxLogErr> v_objLogErr) {
  return Rotina("Inicializar", [&] {
    util_ = std::make_unique<clsNKemRyxUtil>(ambiente_, links_);
    log_ = std::make_unique<clsNKemRyxLog>(*ambiente_.arquivos, *ambiente_.relogio);
    logErr_ = std::move(v_objLogErr);
    apresentacao_ = std::make_unique<clsApresentacao>(*ambiente_.visao, *ambiente_.shell, logErr_.get());
    coordenacao_ = std::make_unique<clsCoordenacaoAtualizacao>(ContextoCoordenacao{ambiente_, *util_, *this, sessaoTerminal_});
    regComp_ = std::make_unique<clsNKemRegComp>(ambiente_);
    contexto_ = std::make_unique<ContextoInstalacao>(ambiente_, *util_, log_.get(), *logErr_, *regComp_, *this);
    processos_ = std::make_unique<clsControleProcessos>(*contexto_);
    instalador_ = std::make_unique<clsInstaladorComponentes>(
        *contexto_, [this](const std::string& programa) { return PararServicoResidente(programa); });
    preRequisitos_ = std::make_unique<clsPreRequisitos>(*contexto_, *processos_, instalador_->Net());
    administrador_ = std::make_unique<clsUsuarioAdministrador>(*contexto_, instalador_->Net(), *preRequisitos_);
    CarregarLinks();
    if (!ConfigurarLog()) return false;
    for (const auto* linha : {&plano_.verificarBackUpEmExecucao, &plano_.executarVerificacoesTerminalService,
                              &plano_.configurarPastas, &plano_.verificarKemEmExecucao})
      if (*linha && !(*linha)()) return false;
    return true;
  });
}

// ---- the main sequence -------------------------------------------------------------------

void frmInicial::Form_Activate() {
  Rotina("Form_Activate", [&] {
    ExecutarSequenciaPrincipal();
    return true;
  });
  FaseFinal();
}

void frmInicial::ExecutarSequenciaPrincipal() {
  if (plano_.lerVersaoBtrieve) {
    ExibirMensagem("Verificando versão do banco de dados...");
    plano_.lerVersaoBtrieve();
    ExibirMensagem("");
  }
  bool precisaAtualizar = false;
  if (!RealizarValidacoesIniciais(precisaAtualizar)) return;
  if (!precisaAtualizar) return;  // the application manager has already been started
  ExecutarAtualizacao();
}

void frmInicial::ExecutarAtualizacao() {
  for (const Etapa& etapa : plano_.atualizacao) {
    if (!etapa.texto.empty()) ExibirMensagem(etapa.texto);
    if (etapa.rotina && !etapa.rotina()) return;
  }
  if (log_->LogsGravados() == 0) log_->GravarAlerta(kAvisoSemAtualizacao);
  ExibirMensagem("Finalizando atualização...");
  if (logErr_->LogsGravados() >= 1 || !plano_.atualizarSelvComp) return;
  if (!plano_.atualizarSelvComp()) return;
  if (plano_.desbloquear && !plano_.desbloquear()) return;
  if (plano_.executarKemCriaArq) plano_.executarKemCriaArq();
}

// Opens the inconsistency report when it holds entries, then closes the window.
void frmInicial::FaseFinal() {
  Rotina("Form_Activate", [&] {
    if (logErr_ && logErr_->LogsGravados() >= 1) {
      logErr_->FecharLog();
      ambiente_.shell->AbrirDocumento(ambiente_.visao->Janela(), logErr_->Arquivo());
    }
    return true;
  });
  ambiente_.visao->Fechar();
}

bool frmInicial::RealizarValidacoesIniciais(bool& v_bPrecisaAtualizar) {
  return Rotina("RealizarValidacoesIniciais", [&] {
    if (plano_.verificarVersoes && !plano_.verificarVersoes()) return false;
    ExibirMensagem("Verificando componentes...");
    if (plano_.verificarPrecisaAtualizar && !plano_.verificarPrecisaAtualizar()) return false;
    if (plano_.corrigirConfiguracaoData) plano_.corrigirConfiguracaoData();
    if (plano_.verificarComponentePervasive && !plano_.verificarComponentePervasive()) return false;
    if (plano_.configurarBarraProgressoTotal && !plano_.configurarBarraProgressoTotal()) return false;
    ExibirMensagem("");
    if (!precisaAtualizar_) {
      ExibirMensagem("Iniciando sistema...");
      if (plano_.executarKemCriaArq) plano_.executarKemCriaArq();
    } else {
      ExibirMensagem("Preparando atualização");
      if (plano_.obterBloqueio && !plano_.obterBloqueio()) return false;
      // Another session of this computer may have finished the update between the first read
      // of the record and the lock: read it again under the lock, and start the manager when
      // there is nothing left to do.
      if (plano_.verificarPrecisaAtualizar && !plano_.verificarPrecisaAtualizar()) return false;
      if (!precisaAtualizar_) {
        if (plano_.desbloquear && !plano_.desbloquear()) return false;
        ExibirMensagem("Iniciando sistema...");
        if (plano_.executarKemCriaArq) plano_.executarKemCriaArq();
      }
    }
    if (plano_.apagarExecutaveisReestruturacao && !plano_.apagarExecutaveisReestruturacao()) return false;
    v_bPrecisaAtualizar = precisaAtualizar_;
    return true;
  });
}

// ---- window events -----------------------------------------------------------------------

void frmInicial::Form_QueryUnload() {
  if (fechado_) return;
  fechado_ = true;
  // The window is closing: a report left behind or an install mode left on is no reason to
  // keep it, and no box may stop the close.
  try {
    if (util_) ApagarArquivosLog();
  } catch (...) {
  }
  try {
    if (plano_.sairModoInstalacao) plano_.sairModoInstalacao();
  } catch (...) {
  }
  administrador_.reset();
  preRequisitos_.reset();
  instalador_.reset();
  processos_.reset();
  contexto_.reset();
  util_.reset();
  log_.reset();
  regComp_.reset();
  if (coordenacao_) coordenacao_->Liberar();  // closing the lock file ends the lock
  apresentacao_ = std::make_unique<clsApresentacao>(*ambiente_.visao, *ambiente_.shell, nullptr);
  logErr_.reset();
}

void frmInicial::Form_Resize(int largura, int altura) { ambiente_.visao->AjustarBordas(largura, altura); }

void frmInicial::tmrSleep_Timer() {
  ambiente_.visao->ProcessarEventos();
  ambiente_.visao->HabilitarTemporizador(false);
  tempoDecorrido_ = true;
}

void frmInicial::Aguardar() {
  ambiente_.visao->HabilitarTemporizador(true);
  tempoDecorrido_ = false;
  while (!tempoDecorrido_ && !fechado_) ambiente_.visao->ProcessarEventos();
}

void frmInicial::ExibirMensagem(const std::string& v_sTexto) { ambiente_.visao->MostrarPasso(v_sTexto); }

void frmInicial::AdicionarProgresso() {
  IVisao& v = *ambiente_.visao;
  if (v.Progresso() < v.MaximoProgresso()) v.DefinirProgresso(v.Progresso() + 1);
}

void frmInicial::DefinirMaximoProgresso(int v_lMaximo) { ambiente_.visao->DefinirFaixaProgresso(0, v_lMaximo); }

int frmInicial::CaixaMensagem(const std::string& v_sTexto, const std::string& v_sTitulo, BotoesCaixa v_enBotoes,
                              IconeCaixa v_enIcone) {
  return ambiente_.visao->CaixaMensagem(v_sTexto, v_sTitulo, v_enBotoes, v_enIcone);
}

// ---- error presentation ------------------------------------------------------------------

void frmInicial::ExibirErroGenerico(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                    const std::string& v_sRotina) {
  apresentacao_->ExibirErroGenericoJanela(v_lNumero, v_sDescricao, v_sRotina);
}

int frmInicial::ExibirMensagemInformacao(const std::string& v_sTexto, const std::string& v_sTitulo) {
  return apresentacao_->ExibirMensagemInformacao(v_sTexto, v_sTitulo);
}

void frmInicial::GravarLog(const std::string& v_sMensagem, std::int32_t v_lNumero, const std::string& v_sDescricao,
                           const std::string& v_sChave) {
  try {
    if (logErr_) logErr_->GravarLog(v_sMensagem, "", v_lNumero, v_sDescricao, v_sChave, "");
  } catch (...) {
    // The report keeps its own error; the routine that wrote the entry goes on.
  }
}

void frmInicial::GravarLog(const std::string& v_sAcao, std::int32_t v_lNumero, const std::string& v_sDescricao) {
  try {
    if (log_) log_->GravarLog(v_sAcao, v_lNumero, v_sDescricao);
  } catch (...) {
    // The report keeps its own error; the routine that wrote the row goes on.
  }
}

void frmInicial::ExibirMensagemPermissaoNegada(const std::string& v_sArquivo, std::int32_t v_lNumero,
                                               const std::string& v_sDescricao, VariantePermissao v_enVariante) {
  const std::string conselho = v_enVariante == VariantePermissao::Tavoran
                                   ? " Finalize todas as rotinas Tavoran e tente novamente."
                                   : " Finalize todas as rotinas do Tavoran e do Office e tente novamente.";
  GravarLog("Não foi possível excluir o arquivo '" + v_sArquivo + "'." + kQuebra +
                "Um ou mais processos em execução estão utilizando este componente." + conselho,
            v_lNumero, v_sDescricao, "");
}

void frmInicial::CarregarLinks() { CarregarLinksAjuda(*util_, links_); }

// ---- report files ------------------------------------------------------------------------

bool frmInicial::ConfigurarLog() { return ConfigurarLogAtualizacaoComponentes() && ConfigurarLogAtualizacaoErros(); }

bool frmInicial::CriarPastaSeAusente(const std::string& pasta) {
  if (!util_->PastaExiste(pasta)) LancarSeFalhou(ambiente_.arquivos->CriarPasta(pasta));
  return true;
}

std::string frmInicial::NomeArquivoRelatorio(const std::string& pasta) {
  return pasta + "\\" + util_->RetornarNomeComputador() + " (" +
         FormatarCarimboArquivo(ambiente_.relogio->Agora()) + ").HTML";
}

bool frmInicial::ConfigurarLogAtualizacaoComponentes() {
  return Rotina("ConfigurarLogAtualizacaoComponentes", [&] {
    const std::string dirT = util_->DirT();
    if (!util_->PastaExiste(dirT) && !MontarDirT(dirT)) return false;
    std::string pasta = dirT + "\\Logs";
    CriarPastaSeAusente(pasta);
    pasta += "\\RYX";
    CriarPastaSeAusente(pasta);
    log_->Arquivo(NomeArquivoRelatorio(pasta));
    return true;
  });
}

bool frmInicial::ConfigurarLogAtualizacaoErros() {
  return Rotina("ConfigurarLogAtualizacaoErros", [&] {
    std::string pasta = util_->DirT() + "\\Logs";
    CriarPastaSeAusente(pasta);
    pasta += "\\RYX";
    CriarPastaSeAusente(pasta);
    pasta += "\\Erros";
    CriarPastaSeAusente(pasta);
    logErr_->Arquivo(NomeArquivoRelatorio(pasta));
    return true;
  });
}

// Keeps the five newest update reports of this computer.
bool frmInicial::ApagarArquivosLog() {
  return Rotina("ApagarArquivosLog", [&] {
    const std::string pasta = util_->DirT() + "\\Logs\\RYX";
    std::vector<std::string> nomes;
    for (const EntradaPasta& e :
         ambiente_.arquivos->Listar(pasta + "\\" + util_->RetornarNomeComputador() + " (*).HTML"))
      if (!e.pasta) nomes.push_back(e.nome);
    if (nomes.size() <= 5) return true;
    if (!util_->OrdenarArrayString(nomes)) {
      ExibirErroGenerico(util_->ErroNumero(), util_->ErroDescricao(), "ApagarArquivosLog");
      return false;
    }
    for (std::size_t i = 0; i + 5 < nomes.size(); ++i) LancarSeFalhou(ambiente_.arquivos->Excluir(pasta + "\\" + nomes[i]));
    return true;
  });
}

// ---- start-up validations and launch -----------------------------------------------------

bool frmInicial::VerificarBackUpEmExecucao() {
  return Rotina("VerificarBackUpEmExecucao", [&] {
    const std::string marcador = util_->DirT() + "\\Tavoran.bk";
    if (!util_->ArquivoExiste(marcador)) return true;
    if (util_->ExcluirArquivo(marcador)) return true;  // nobody holds it: a stale marker
    ExibirMensagemInformacao(std::string("VerificarBackUpEmExecucao - ") +
                             "Não será possível acessar o Gerenciador de Aplicativos Tavoran. No momento está sendo "
                             "executada a Cópia de Arquivos, " +
                             " entre em contato com o administrador da rede para obter maiores informações.");
    return false;
  });
}

bool frmInicial::VerificarKemEmExecucao() {
  return Rotina("VerificarKemEmExecucao", [&] {
    bool emExecucao = false;
    if (!util_->VerificarKemEmExecucao(ambiente_.visao->Janela(), emExecucao)) {
      ExibirErroGenerico(util_->ErroNumero(), "Falha ao verificar se instancia do KEM em execução.",
                         "VerificarKemEmExecucao");
      return false;
    }
    if (!emExecucao) return true;
    ExibirMensagemInformacao(
        std::string("Não será possível acessar o Gerenciador de Aplicativos Tavoran. O mesmo já está aberto.") +
        kQuebra + kQuebra +
        "Verifique na sua barra de tarefas se a janela do sistema encontra-se minimizada. Caso não encontre, "
        "verifique se o executável Tavoran2.exe está em processamento no gerenciador de tarefas do Windows e "
        "finalize o processo.");
    return false;
  });
}

// Maps the drive of a lost main directory again from the registered network path.
bool frmInicial::MontarDirT(const std::string& v_sPasta) {
  return Rotina("MontarDirT", [&] {
    const std::string unc = Aparar(util_->UNC());
    const std::string mensagem = "A pasta: " + v_sPasta + " não foi encontrada." + kQuebra +
                                 "Entre em contato com seu administrador de rede para verificar se o mapeamento "
                                 "está correto.";
    const std::size_t marca = ProcurarSemCaixa(unc, "\\Tavoran.win");
    if (unc.empty() || IguaisSemCaixa(unc, Aparar(v_sPasta)) || marca == std::string::npos ||
        !util_->MapearDirT(unc.substr(0, marca), v_sPasta.substr(0, 2))) {
      ExibirMensagemInformacao(mensagem, "Acesso");
      return false;
    }
    return true;
  });
}

void frmInicial::CorrigirConfiguracaoDataWindows() {
  Rotina("CorrigirConfiguracaoDataWindows", [&] {
    bool alterado = false;
    if (!util_->CorrigirConfiguracaoDataWindows(alterado)) {
      ExibirErroGenerico(util_->ErroNumero(),
                         "Falha ao verificar configuração de formatação de data do Windows: " + util_->ErroDescricao(),
                         "CorrigirConfiguracaoDataWindows");
      return false;
    }
    if (alterado) GravarLog("Corrigir configuração de formatação de data do Windows.", 0, "");
    return true;
  });
}

// Starts the application manager through its starter on the share; nothing is awaited.
void frmInicial::ExecutarKemCriaArq() {
  Rotina("ExecutarKemCriaArq", [&] {
    const std::string linha = util_->DirT() + "\\KemCriaArq.exe 418207," + ambiente_.sistema->PastaPrograma() +
                              "\\TAVORAN.EXE";
    std::uint32_t id = 0;
    LancarSeFalhou(ambiente_.shell->IniciarPrograma(linha, EstiloJanela::NormalComFoco, id));
    return true;
  });
}

}  // namespace tavoran

namespace tavoran {

bool frmInicial::LerVersaoBtrieve() {
  Rotina("LerVersaoBtrieve", [&] {
    clsTavBtr20 acesso(*ambiente_.btrieve, *ambiente_.arquivos);
    versaoBanco_ = acesso.VersaoBtrieve();
    return true;
  });
  return true;
}

// Finds out whether the server, the network route or the engine's ports keep the engine
// out of reach, and writes one inconsistency entry whose key selects the help article.
void frmInicial::VerificarPvsw(std::int32_t v_lErroNumero, const std::string& v_sErroDescricao) {
  Rotina("VerificarPvsw", [&] {
    DiagnosticarConexao(v_lErroNumero, v_sErroDescricao);
    return true;
  });
  ExibirMensagem("");
}

void frmInicial::DiagnosticarConexao(std::int32_t numero, const std::string& descricao) {
  clsNVerificaPvsw verificacao(ambiente_);
  auto falhou = [&] { ExibirErroGenerico(verificacao.ErroNumero(), verificacao.ErroDescricao(), "VerificarPvsw"); };
  std::string servidor;
  if (!verificacao.RetornarNomeServidor(util_->DirT(), servidor)) return falhou();
  if (Aparar(servidor).empty()) {
    GravarLog("Não foi possível iniciar o sistema e nem determinar o endereço do servidor para verificação.", numero,
              descricao, "SEMLINK");
    return;
  }
  ExibirMensagem("Testando comunicação com servidor");
  bool comunica = false;
  if (!verificacao.VerificarComunicacaoServidor(servidor, comunica)) return falhou();
  if (!comunica) {
    GravarLog("Existe uma falha de comunicação de rede com o seu servidor.", numero,
              "Falha ao se conectar com o servidor: " + servidor + ".", "REDE");
    return;
  }
  ExibirMensagem("Testando portas do banco");
  std::string portasFalhas;
  if (!verificacao.VerificarPortasPervasive(servidor, portasFalhas)) return falhou();
  if (!Aparar(portasFalhas).empty()) {
    GravarLog("Falha ao conectar com as portas do banco de dados no servidor.", numero,
              "Falha ao se conectar com a(s) porta(s): " + portasFalhas + ".", "PORTA");
    return;
  }
  GravarLog(
      "A comunicação com o servidor e as portas do banco de dados foi realizada com sucesso, mas não foi possível "
      "iniciar o sistema.",
      numero, descricao, "SEMLINK");
}

// The start-up programs against the versions the shared version file expects.
bool frmInicial::VerificarVersoes() {
  const bool ok = Rotina("VerificarVersoes", [&] {
    ExibirMensagem("Verificando versões das rotinas iniciais...");
    clsNKemRyxVersoes versoes(ambiente_, links_);
    bool mensagemExibida = false;
    const bool verificado = versoes.VerificarVersoes(mensagemExibida);
    if (!verificado && !mensagemExibida) RegistrarFalhaVersoes(versoes.ErroNumero(), versoes.ErroDescricao());
    return verificado;
  });
  ExibirMensagem("");
  return ok;
}

void frmInicial::RegistrarFalhaVersoes(std::int32_t numero, const std::string& descricao) {
  switch (numero) {
    case 107720:
      return GravarLog("Não foi possível executar o KEM.", numero, descricao, "");
    case 3012:
    case 3103:
      return VerificarPvsw(numero, descricao);
    case 107719:
      return GravarLog("A unidade de mapeamento não está acessível.", numero, descricao, "");
    case 107721:
      return GravarLog("Rotina não encontrada, após a atualização ou Exclusão da rotina devido a antivírus", numero,
                       descricao, "");
    default:
      return GravarLog("Falha ao tentar verificar versões de arquivo.", numero, descricao, "");
  }
}

}  // namespace tavoran

namespace tavoran {

// ---- component installation ----------------------------------------------------------------

ContextoInstalacao& frmInicial::Contexto() {
  contexto_->versaoBtrieve = versaoBanco_;
  contexto_->forcarAtualizacao = atualizacaoForcada_;
  return *contexto_;
}

clsInstaladorComponentes& frmInicial::Instalador() {
  Contexto();
  return *instalador_;
}

bool frmInicial::ConfigurarPastas() {
  return Rotina("ConfigurarPastas", [&] { return Instalador().ConfigurarPastas(); });
}

bool frmInicial::ConfigurarBarraProgressoTotal() {
  return Rotina("ConfigurarBarraProgressoTotal", [&] { return Instalador().ConfigurarBarraProgressoTotal(); });
}

// The engine's companion library, needed from engine version 8.6 on.
bool frmInicial::VerificarComponentePervasive() {
  return Rotina("VerificarComponentePervasive", [&] {
    constexpr const char* kBiblioteca = "vbdti80.dll";
    if (ValorNumerico(versaoBanco_) < 8.6) return true;
    const std::string sistema = Contexto().pastas.PastaSistema;
    if (util_->ArquivoExiste(sistema + "\\" + kBiblioteca)) return true;
    const std::string origem = util_->DirT() + "\\KORA\\COMPONENTES\\" + kBiblioteca;
    if (!util_->ArquivoExiste(origem)) {
      GravarLog(std::string("Componente ") + kBiblioteca + " não foi localizado para realização do acesso ao sistema.",
                0, "Componente não foi localizado", "ERRO_VBDTI80");
      return false;
    }
    if (Instalador().Operacoes().InstalarAtualizarComponenteBiblioteca(origem, sistema + "\\" + kBiblioteca, false))
      return true;
    ExibirMensagemInformacao(std::string("VerificarComponentePervasive - ") + "Falha ao copiar o componente " +
                             kBiblioteca + " para a pasta do sistema operacional (" + sistema + ")." + kQuebra +
                             "Execute o aplicativo Tavoran como administrador.");
    return false;
  });
}

bool frmInicial::ApagarExecutaveisReestruturacaoKem() {
  return Rotina("ApagarExecutaveisReestruturacaoKem",
                [&] { return Instalador().Executaveis().ApagarExecutaveisReestruturacaoKem(); });
}

bool frmInicial::InstalarTypeLibInformation() {
  return Rotina("InstalarTypeLibInformation", [&] { return Instalador().ActiveX().InstalarTypeLibInformation(); });
}

bool frmInicial::InstalarAtualizarComponentesPervasive() {
  return Rotina("InstalarAtualizarComponentesPervasive",
                [&] { return Instalador().InstalarAtualizarComponentesPervasive(); });
}

bool frmInicial::InstalarAtualizarComponentesNet() {
  return Rotina("InstalarAtualizarComponentesNet", [&] { return Instalador().Net().InstalarAtualizarComponentesNet(); });
}

bool frmInicial::InstalarAtualizarComponentes() {
  return Rotina("InstalarAtualizarComponentes", [&] { return Instalador().InstalarAtualizarComponentes(); });
}

// ---- the update's surroundings: resident programs, installers, administrator rights --------

bool frmInicial::FinalizarServicos() {
  return Rotina("FinalizarServicos", [&] { return processos_->FinalizarServicos(); });
}

bool frmInicial::PararServicoResidente(const std::string& v_sPrograma) {
  return Rotina("PararServicoResidente", [&] { return processos_->PararServicoResidente(v_sPrograma); });
}

bool frmInicial::FinalizarProcessos() {
  return Rotina("FinalizarProcessos", [&] { return processos_->FinalizarProcessos(); });
}

bool frmInicial::InicializarProcessos() {
  return Rotina("InicializarProcessos", [&] { return processos_->InicializarProcessos(); });
}

bool frmInicial::ExecutarWindowsServerShellChangeUserInstall() {
  return Rotina("ExecutarWindowsServerShellChangeUserInstall",
                [&] { return preRequisitos_->ExecutarWindowsServerShellChangeUserInstall(sessaoTerminal_); });
}

// Also when the window closes after a failed start, before the installers exist.
bool frmInicial::ExecutarWindowsServerShellChangeUserExecute() {
  return Rotina("ExecutarWindowsServerShellChangeUserExecute",
                [&] { return !preRequisitos_ || preRequisitos_->ExecutarWindowsServerShellChangeUserExecute(); });
}

bool frmInicial::InstalarCPlusPlusRedistributables() {
  return Rotina("InstalarCPlusPlusRedistributables",
                [&] { return preRequisitos_->InstalarCPlusPlusRedistributables(); });
}

bool frmInicial::InstalarSqlNativeClient() {
  return Rotina("InstalarSqlNativeClient", [&] { return preRequisitos_->InstalarSqlNativeClient(); });
}

bool frmInicial::InstalarImpressoraVirtual() {
  return Rotina("InstalarImpressoraVirtual", [&] { return preRequisitos_->InstalarImpressoraVirtual(); });
}

bool frmInicial::VerificarUsuarioAdmin() {
  return Rotina("VerificarUsuarioAdmin", [&] { return administrador_->VerificarUsuarioAdmin(adminHerdado_); });
}

}  // namespace tavoran
