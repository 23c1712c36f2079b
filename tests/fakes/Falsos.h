#pragma once
// In-memory fakes of every platform facility, with fault injection, and an
// environment made of them. Tests keep the raw pointers to steer the fakes.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Ambiente.h"

namespace tavoran::testes {

// ---- registry ----------------------------------------------------------------------------
class RegistroFalso : public IRegistro {
 public:
  struct Valor {
    std::uint32_t tipo = kRegSz;
    std::string dados;
  };
  // Key path (case-insensitive) -> value name (case-insensitive) -> value.
  std::map<std::string, std::map<std::string, Valor>> chaves;
  std::uint32_t falhaCriar = 0, falhaGravar = 0, falhaFechar = 0;  // injected Windows codes

  // Keys of HKEY_LOCAL_MACHINE are stored by their path; keys of the other roots carry the
  // root's name first ("HKCR\\TYPELIB\\..."), so that the roots stay apart.
  void DefinirTexto(const std::string& chave, const std::string& nome, const std::string& texto,
                    RaizRegistro raiz = RaizRegistro::LocalMachine);
  void DefinirDword(const std::string& chave, const std::string& nome, std::uint32_t valor,
                    RaizRegistro raiz = RaizRegistro::LocalMachine);
  const Valor* Ler(const std::string& chave, const std::string& nome,
                   RaizRegistro raiz = RaizRegistro::LocalMachine) const;
  bool ExisteChave(const std::string& chave, RaizRegistro raiz = RaizRegistro::LocalMachine) const;
  void ExcluirChave(const std::string& chave, RaizRegistro raiz = RaizRegistro::LocalMachine);

  Falha Abrir(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) override;
  Falha Criar(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) override;
  static std::string Normalizar(const std::string& caminho, RaizRegistro raiz = RaizRegistro::LocalMachine);
};

// ---- files -------------------------------------------------------------------------------
class ArquivosFalsos : public IArquivos {
 public:
  struct Arquivo {
    std::string bytes;
    bool oculto = false;
    bool emUso = false;  // open by another process: cannot be deleted or overwritten
    bool temVersao = false;
    VersaoFixa versao;
    DataHora modificado;
  };
  std::map<std::string, Arquivo> arquivos;  // normalised path -> file
  std::set<std::string> pastas;             // normalised paths
  std::set<std::string> somenteLeitura;     // folders where nothing can be created
  // A copy from this source stops midway (the share dropped): the destination keeps a part.
  std::set<std::string> copiaInterrompida;
  // Copies into this folder fail as on a full disk, leaving a part of the file.
  std::set<std::string> discoCheio;
  std::map<std::string, std::string> nomesOriginais;  // normalised -> path as created
  std::map<std::string, int> listagens;                // normalised pattern -> lookups of it
  std::function<void(const std::string&)> aoListar;    // after each lookup, with its pattern

  void CriarArquivo(const std::string& caminho, const std::string& bytes = "", bool oculto = false);
  void CriarPastas(const std::string& caminho);  // with every parent
  void DefinirVersao(const std::string& caminho, const std::string& versao);  // "a.b.c.d"
  bool ExisteArquivo(const std::string& caminho) const;
  bool ExistePasta(const std::string& caminho) const;
  std::string Conteudo(const std::string& caminho) const;
  static std::string Normalizar(const std::string& caminho);

  std::vector<EntradaPasta> Listar(const std::string& padrao) override;
  Falha CriarPasta(const std::string& pasta) override;
  Falha Copiar(const std::string& origem, const std::string& destino) override;
  Falha Excluir(const std::string& arquivo) override;
  Falha Mover(const std::string& origem, const std::string& destino) override;
  bool LerVersao(const std::string& arquivo, VersaoFixa& versao) override;
  bool LerDataModificacao(const std::string& arquivo, DataHora& data) override;
  Falha AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) override;
  Falha LerTudo(const std::string& arquivo, std::string& bytes) override;

 private:
  bool PodeCriarEm(const std::string& normalizado) const;
};

// ---- shell and windows -------------------------------------------------------------------
class ShellFalso : public IShell {
 public:
  struct Abertura {
    IdJanela dono;
    std::string documento;
  };
  struct Inicio {
    std::string linha;
    EstiloJanela estilo;
  };
  struct Execucao {
    std::string arquivo, parametros;
    EstiloJanela estilo;
  };
  std::vector<Abertura> abertos;
  std::vector<Inicio> iniciados;  // every command line started, kept or not, in order
  std::vector<Execucao> executados;  // Executar and ExecutarProcesso, in order
  std::intptr_t resultadoAbrir = 42;  // the shell's answers (above 32: success)
  std::intptr_t resultadoExecutar = 42;
  Falha falhaIniciar;
  Falha falhaExecutarProcesso;
  // How many checks a started process stays running for (0 by default).
  std::function<int(const std::string&)> duracao;
  std::function<void(const std::string&)> aoIniciar;  // runs for every started command

  Falha AbrirDocumento(IdJanela dono, const std::string& documento) override;
  Falha Executar(IdJanela dono, const std::string& arquivo, const std::string& parametros,
                 EstiloJanela estilo) override;
  Falha IniciarPrograma(const std::string& linha, EstiloJanela estilo, std::uint32_t& id) override;
  Falha IniciarProcesso(const std::string& linha, EstiloJanela estilo,
                        std::unique_ptr<IProcessoIniciado>& processo) override;
  Falha ExecutarProcesso(const std::string& arquivo, const std::string& parametros, EstiloJanela estilo,
                         std::unique_ptr<IProcessoIniciado>& processo) override;
};

class JanelasFalsas : public IJanelas {
 public:
  std::vector<std::string> titulos;
  int difusoes = 0;
  bool lancar = false;  // the walk raises a run-time error
  std::vector<std::string> TitulosDesde(IdJanela janela) override;
  void DifundirMudancaConfiguracao() override { ++difusoes; }
};

// ---- regional settings, special folders ---------------------------------------------------
class RegionalFalso : public IRegional {
 public:
  std::uint32_t idLocale = 1046;
  std::map<std::uint32_t, std::string> itens{{kLocaleDataCurta, "dd/MM/yyyy"}};
  bool falhaTamanho = false, falhaLeitura = false, falhaGravacao = false;
  std::uint32_t IdLocalePadraoSistema() override { return idLocale; }
  int LerInfo(std::uint32_t idLocale, std::uint32_t item, int tamanho, std::string& texto) override;
  bool GravarInfo(std::uint32_t idLocale, std::uint32_t item, const std::string& texto) override;
};

class PastasEspeciaisFalsas : public IPastasEspeciais {
 public:
  std::map<int, std::string> caminhos;  // CSIDL -> path; a missing one fails its location
  std::set<int> falhaCaminho;           // CSIDLs whose path conversion fails
  ResultadoPastaEspecial Caminho(int csidl, std::string& caminho) override;
};

// ---- system, processes, drives ------------------------------------------------------------
class SistemaFalso : public ISistema {
 public:
  std::string computador = "ESTACAO01";
  bool falhaComputador = false;
  std::string usuario = "joao";
  std::string loginWindows;
  std::string nomeSo = "Microsoft Windows 10 Pro", versaoSo = "10.0.19045";
  bool falhaSo = false;
  std::string linhaComando;
  std::string pastaPrograma = "P:\\Tavoran.win";
  bool outraInstancia = false;

  bool NomeComputador(std::string& buffer) override;
  bool NomeUsuario(std::string& buffer, std::uint32_t& tamanho) override;
  std::string LoginWindows() override { return loginWindows; }
  bool SistemaOperacional(std::string& nome, std::string& versao) override;
  std::string LinhaComando() override { return linhaComando; }
  std::string PastaPrograma() override { return pastaPrograma; }
  bool OutraInstanciaNaSessao() override { return outraInstancia; }
};

class ProcessosFalsos : public IProcessos {
 public:
  std::vector<InfoProcesso> lista;
  std::set<std::uint32_t> recusamTerminar;  // ids that TerminateProcess cannot end
  std::vector<std::uint32_t> terminados;
  bool falhaListar = false;  // the snapshot raises a run-time error
  std::function<void()> aoListar;  // runs before every snapshot: processes that come and go
  std::uint32_t sessaoAtual = 1;
  bool falhaSessao = false;
  std::vector<InfoProcesso> Listar() override;
  Falha Terminar(std::uint32_t id) override;
  bool SessaoAtual(std::uint32_t& sessao) override;
  // A running process with a name, path and session; its id.
  std::uint32_t Adicionar(const std::string& nome, const std::string& caminho = "", std::uint32_t sessao = 1);
  void Remover(const std::string& nome);  // every process of that name ends
};

class UnidadesFalsas : public IUnidades {
 public:
  struct Mapeamento {
    std::string remoto, local;
  };
  std::vector<Mapeamento> mapeamentos;
  std::uint32_t resultado = 0;
  std::function<void(const std::string&, const std::string&)> aoMapear;
  Falha Mapear(const std::string& remoto, const std::string& local) override;
};

// ---- XML ---------------------------------------------------------------------------------
// Reads files of the fake file system with a small parser of "<Item id=... value=...>" elements.
class XmlFalso : public IXml {
 public:
  explicit XmlFalso(ArquivosFalsos& arquivos) : arquivos_(arquivos) {}
  Falha falhaCriar;
  int documentosCriados = 0;
  Falha Criar(std::unique_ptr<IDocumentoXml>& documento) override;

 private:
  ArquivosFalsos& arquivos_;
};

// ---- view --------------------------------------------------------------------------------
// Records every text and box and answers each box from a script (OK by default).
class VisaoFalsa : public IVisao {
 public:
  struct Caixa {
    std::string texto, titulo;
    BotoesCaixa botoes;
    IconeCaixa icone;
  };
  std::vector<std::string> textos;  // every step text, in order
  std::vector<Caixa> caixas;
  std::vector<int> respostas;  // answers in order; OK when exhausted
  IEventosJanela* eventos = nullptr;
  bool carregada = false, mostrada = false, fechada = false, temporizador = false;
  int minimo = 0, maximo = 100, valor = 0, eventosProcessados = 0;
  int larguraBordas = 0, alturaBordas = 0;
  std::function<void(const Caixa&)> aoExibirCaixa;
  std::function<void()> aoProcessarEventos;
  bool emTique = false;

  void Carregar(IEventosJanela& e) override;
  void Mostrar() override { mostrada = true; }
  void Fechar() override;
  void ExecutarLaco() override;  // activation, then closing when not closed yet
  IdJanela Janela() override { return carregada ? 0x1234 : 0; }
  void DefinirTextoProcesso(const std::string& texto) override { textos.push_back(texto); }
  void DefinirFaixaProgresso(int mi, int ma) override { minimo = mi, maximo = ma; }
  void DefinirProgresso(int v) override { valor = v; }
  int Progresso() override { return valor; }
  int MaximoProgresso() override { return maximo; }
  void AjustarBordas(int l, int a) override { larguraBordas = l, alturaBordas = a; }
  void HabilitarTemporizador(bool ligado) override { temporizador = ligado; }
  void ProcessarEventos() override;
  int CaixaMensagem(const std::string& texto, const std::string& titulo, BotoesCaixa botoes,
                    IconeCaixa icone) override;
};

class RelogioFalso : public IRelogio {
 public:
  DataHora agora{2026, 12, 8, 9, 5, 7};
  long long ms = 0;
  DataHora Agora() override { return agora; }
  long long Milissegundos() override { return ms += 10; }
  void Dormir(unsigned milissegundos) override { ms += milissegundos; }
};

// ---- libraries, COM, security ---------------------------------------------------------------
// A library is known by its file's bytes, so that a copy of it is the same library.
class BibliotecasFalsas : public IBibliotecas {
 public:
  struct Biblioteca {
    std::map<std::string, std::function<void()>> funcoes;  // export -> what running it does
    FimExecucao fim = FimExecucao::Retornou;                // how every run ends
  };
  explicit BibliotecasFalsas(ArquivosFalsos& arquivos) : arquivos_(arquivos) {}
  std::map<std::string, Biblioteca> bibliotecas;  // file bytes -> library; other files do not load
  Falha falhaLinha;                               // the worker thread cannot be created
  std::vector<std::string> execucoes;             // "path|export" of every run
  int carregadas = 0;                             // loaded now
  int maximoCarregadas = 0;

  Falha Carregar(const std::string& caminho, std::unique_ptr<IBiblioteca>& biblioteca) override;
  Falha Exporta(const std::string& caminho, const std::string& funcao, bool& exporta) override;

 private:
  ArquivosFalsos& arquivos_;
};

// Type libraries are known by their file's bytes; one is registered when the registry has
// HKCR\TypeLib\<guid>\<major>.<minor> (hexadecimal, as Windows writes it); an object can be
// created when HKCR\<progId>\CLSID exists.
class ComFalso : public ICom {
 public:
  ComFalso(ArquivosFalsos& arquivos, RegistroFalso& registro) : arquivos_(arquivos), registro_(registro) {}
  std::map<std::string, IdTypeLib> typeLibs;  // file bytes -> its type library
  static std::string ChaveTypeLib(const IdTypeLib& id);
  Falha LerTypeLib(const std::string& arquivo, IdTypeLib& id) override;
  Falha TypeLibRegistrada(const IdTypeLib& id, bool& registrada) override;
  Falha CriarObjeto(const std::string& progId) override;

 private:
  ArquivosFalsos& arquivos_;
  RegistroFalso& registro_;
};

class SegurancaFalsa : public ISeguranca {
 public:
  bool elevado = true;
  bool falhaToken = false;
  std::vector<std::string> grupos{"Todos", "Administradores", "Usuários"};
  std::string administradores = "Administradores";
  bool Elevado() override { return elevado; }
  bool GruposDoToken(std::vector<std::string>& nomes) override;
  bool NomeGrupoAdministradores(std::string& nome) override;
};

// An environment of fakes; the pointers stay valid while the environment lives.
struct AmbienteFalso {
  AmbienteFalso();
  Ambiente ambiente;
  RegistroFalso* registro;
  ArquivosFalsos* arquivos;
  ShellFalso* shell;
  JanelasFalsas* janelas;
  RegionalFalso* regional;
  PastasEspeciaisFalsas* pastasEspeciais;
  SistemaFalso* sistema;
  ProcessosFalsos* processos;
  UnidadesFalsas* unidades;
  XmlFalso* xml;
  VisaoFalsa* visao;
  RelogioFalso* relogio;
  class MotorBtrieveFalso* btrieve;  // mirrors every created file into the fake file system
  class SessaoTerminalFalsa* sessaoTerminal;
  class RedeFalsa* rede;
  class ConsultaUnidadesFalsa* consultaUnidades;
  BibliotecasFalsas* bibliotecas;
  ComFalso* com;
  SegurancaFalsa* seguranca;
};

}  // namespace tavoran::testes
