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
  long falhaCriar = 0, falhaGravar = 0, falhaFechar = 0;  // injected result codes

  void DefinirTexto(const std::string& chave, const std::string& nome, const std::string& texto);
  void DefinirDword(const std::string& chave, const std::string& nome, std::uint32_t valor);
  const Valor* Ler(const std::string& chave, const std::string& nome) const;

  long Abrir(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) override;
  long Criar(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) override;
  static std::string Normalizar(const std::string& caminho);
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
  std::map<std::string, std::string> nomesOriginais;  // normalised -> path as created

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
  std::vector<Abertura> abertos;
  std::vector<Inicio> iniciados;
  std::intptr_t resultadoAbrir = 42;
  Falha falhaIniciar;
  std::function<void(const std::string&)> aoIniciar;  // runs for every started command

  std::intptr_t AbrirDocumento(IdJanela dono, const std::string& documento) override;
  Falha IniciarPrograma(const std::string& linha, EstiloJanela estilo, std::uint32_t& id) override;
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
  std::vector<InfoProcesso> Listar() override { return lista; }
};

class UnidadesFalsas : public IUnidades {
 public:
  struct Mapeamento {
    std::string remoto, local;
  };
  std::vector<Mapeamento> mapeamentos;
  std::uint32_t resultado = 0;
  std::function<void(const std::string&, const std::string&)> aoMapear;
  std::uint32_t Mapear(const std::string& remoto, const std::string& local) override;
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
};

}  // namespace tavoran::testes
