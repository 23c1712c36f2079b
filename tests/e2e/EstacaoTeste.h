#pragma once
// The end-to-end test workstation: a share on a mapped drive with the program, its
// registry entries, the stand-in browser, and the runs of TAVORAN.EXE that a test starts.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/helpers/AutomacaoUi.h"

namespace tavoran::testes {

// One run of TAVORAN.EXE; killed if still running when the object goes away.
class ExecucaoTavoran {
 public:
  ExecucaoTavoran(const std::string& programa, const std::string& argumentos);
  ExecucaoTavoran(const ExecucaoTavoran&) = delete;
  ExecucaoTavoran& operator=(const ExecucaoTavoran&) = delete;
  ~ExecucaoTavoran();
  bool Iniciada() const { return processo_ != nullptr; }
  DWORD Id() const { return id_; }
  // The next message box, or nothing when none came in time or the program ended.
  std::optional<CaixaNaTela> EsperarCaixa(DWORD limiteMs = 30000);
  // Presses a button of a box of this run and waits for the box to go away.
  static void Responder(const CaixaNaTela& caixa, int botao = IDOK);
  // Waits for the end; false on time-out. Every box met on the way is kept in caixasVistas
  // and answered with OK. After the end, the recording stand-ins it launched (the starter,
  // the browser) have recorded themselves and ended too.
  bool EsperarFim(DWORD limiteMs = 60000);
  DWORD CodigoSaida() const;
  bool JanelaFoiVista() const { return janelaVista_; }
  std::vector<CaixaNaTela> caixasVistas;

 private:
  void Observar();
  bool Terminou();
  HANDLE processo_ = nullptr;
  DWORD id_ = 0;
  bool janelaVista_ = false;
};

class EstacaoTeste {
 public:
  // The share's drive root (mapped by preparar-unidade.sh) and the main directory in it.
  static constexpr const char* kRaiz = "T:";
  static constexpr const char* kDirT = "T:\\Tavoran.win";
  // The same main directory reached through N:, the network drive of \\localhost\tavoran.
  static constexpr const char* kDirTRede = "N:\\Tavoran.win";

  // Empties the share, copies TAVORAN.EXE and the stand-in starter into DirT, writes the
  // registry and registers the stand-in browser. The workstation has the basic libraries,
  // the type-library browser is in the share and installed, and RegAsm is a stand-in.
  void Preparar();
  // The 32-bit system folder the program installs into, and the framework stand-in's folder.
  static std::string PastaSistema();
  static std::string PastaFramework();
  // A test COM library (tests/helpers/com) and whether its registration is in the registry:
  // its type library and its class key naming the file.
  static std::string ComponenteCom(const std::string& nome);
  static bool TypeLibRegistrada(const std::string& guid);
  // Removes a type library's registration from both registry views.
  static void EsquecerTypeLib(const std::string& guid);
  static std::string ServidorDaClasse(const std::string& guid);
  // Runs a library's own registration (or unregistration) in this process.
  static bool Registrar(const std::string& arquivo, bool registrar = true);
  // Only the registry and the environment of this workstation, for a second workstation
  // (another Wine prefix) on a share that is already prepared.
  void PrepararRegistro();
  std::string DirT() const { return kDirT; }
  // Registers the main directory as kDirTRede, as a workstation that maps the share.
  void UsarUnidadeDeRede();
  // The rows of the update reports of this computer, "OK <action>" or "ERRO <action> | <error>",
  // sorted (a share lists its files in no fixed order); the reports are deleted after reading.
  std::vector<std::string> LinhasDoRelatorio() const;
  // The text of the run's only inconsistency report, empty when there is none or several.
  std::string RelatorioDeInconsistencias() const;
  std::string Comandos() const;  // what the stand-ins recorded, lines "name|command line"
  std::string NomeComputador() const;
  std::vector<std::string> Arquivos(const std::string& pasta) const;  // names only

  // A file held open with share mode 0, as a running copy holds it.
  class ArquivoPreso {
   public:
    // With compartilhamento FILE_SHARE_READ others may read and load it, but not replace it.
  explicit ArquivoPreso(const std::string& caminho, DWORD compartilhamento = 0);
    ArquivoPreso(const ArquivoPreso&) = delete;
    ArquivoPreso& operator=(const ArquivoPreso&) = delete;
    ~ArquivoPreso();
    bool Preso() const { return h_ != INVALID_HANDLE_VALUE; }

   private:
    HANDLE h_;
  };

  // A top-level window with a title, as another program's main window.
  class JanelaDeOutroPrograma {
   public:
    explicit JanelaDeOutroPrograma(const std::string& titulo);
    JanelaDeOutroPrograma(const JanelaDeOutroPrograma&) = delete;
    JanelaDeOutroPrograma& operator=(const JanelaDeOutroPrograma&) = delete;
    ~JanelaDeOutroPrograma();

   private:
    HWND h_;
  };

  // Runs the administration tool on the share and waits; its exit code (and output).
  int Tavadmin(const std::string& argumentos, std::string* saida = nullptr) const;
  // The version file from a manifest expecting these versions of the four start-up programs
  // (an empty one is never outdated); the programs are copies of TAVORAN.EXE (1.0.0.0).
  void InstalarVersoes(const std::string& tavoran2 = "1.0.0.0", const std::string& kemGravaArquivo = "1.0.0.0");
  std::string ArquivoBloqueio() const { return DirT() + "\\RYX" + NomeComputador() + ".BLQ"; }

  static std::string ProgramaTavoran();  // TAVORAN.EXE of the build

 private:
  void PrepararComponentes();
};

}  // namespace tavoran::testes
