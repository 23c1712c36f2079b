// The update's surroundings on the test workstation: a real Windows service of the suite
// stopped before the update and started again after it, resident programs and the suite's
// processes ended, the application manager of another user refusing the update, and the
// vendors' installers run from the share and waited for. Wine runs every program elevated,
// so the update always goes on past the administrator check here.
#include <windows.h>
#include <tlhelp32.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "platform/Texto.h"
#include "tests/e2e/EstacaoTeste.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kServico = "TAVMANAGER";
const std::string kRecusa =
    "Os componentes desta máquina estão pendentes de atualização.\r\n\r\nPortanto, não será possível realizar o "
    "procedimento, pois identificamos que outros usuários estão utilizando o sistema.\r\n\r\nPara execução deste "
    "procedimento será necessário que nenhum usuário esteja utilizando o sistema via Terminal Service.";

// Ids of the running processes whose file name is nome.
std::vector<DWORD> Processos(const std::string& nome) {
  std::vector<DWORD> ids;
  HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32First(foto, &e); ok; ok = Process32Next(foto, &e))
    if (IguaisSemCaixa(e.szExeFile, nome)) ids.push_back(e.th32ProcessID);
  CloseHandle(foto);
  return ids;
}

void EncerrarTodos(const std::string& nome) {
  for (DWORD id : Processos(nome)) {
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (h == nullptr) continue;
    TerminateProcess(h, 9);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}

// Runs a command line to its end; its exit code.
DWORD Comando(const std::string& linha) {
  std::string l = linha;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, l.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return GetLastError();
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD codigo = 1;
  GetExitCodeProcess(pi.hProcess, &codigo);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return codigo;
}

// A stand-in program started by the test, ended with the handle its start gave (which keeps
// the right to end even a program that refuses everybody else).
class ProgramaIniciado {
 public:
  ProgramaIniciado(const std::string& programa, const std::string& argumentos = "") {
    std::string linha = "\"" + programa + "\" " + argumentos;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    CloseHandle(pi.hThread);
    processo_ = pi.hProcess;
  }
  ProgramaIniciado(const ProgramaIniciado&) = delete;
  ProgramaIniciado& operator=(const ProgramaIniciado&) = delete;
  ~ProgramaIniciado() {
    if (processo_ == nullptr) return;
    TerminateProcess(processo_, 9);
    WaitForSingleObject(processo_, 5000);
    CloseHandle(processo_);
  }
  bool EmExecucao() const { return processo_ != nullptr && WaitForSingleObject(processo_, 0) == WAIT_TIMEOUT; }

 private:
  HANDLE processo_ = nullptr;
};

// The service TAVMANAGER registered with sc create and running; stopped and deleted at the end.
class ServicoTeste {
 public:
  ServicoTeste() {
    Remover();
    DeleteFileA(Registro().c_str());
    Comando("sc create " + std::string(kServico) + " binPath= \"" + Programa() + "\"");
    gerenciador_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    servico_ = OpenServiceA(gerenciador_, kServico, SERVICE_ALL_ACCESS);
    if (servico_ != nullptr) StartServiceA(servico_, 0, nullptr);
  }
  ServicoTeste(const ServicoTeste&) = delete;
  ServicoTeste& operator=(const ServicoTeste&) = delete;
  ~ServicoTeste() {
    if (servico_ != nullptr) CloseServiceHandle(servico_);
    if (gerenciador_ != nullptr) CloseServiceHandle(gerenciador_);
    Remover();
  }
  static std::string Programa() { return PastaAjudantes() + "\\TAVMANAGER.exe"; }
  // What the service recorded: "inicio <id>" and "parada <id>" lines.
  static std::string Registro() { return Programa() + ".txt"; }
  DWORD Situacao() const {
    SERVICE_STATUS s{};
    return servico_ != nullptr && QueryServiceStatus(servico_, &s) ? s.dwCurrentState : 0;
  }
  // Waits, bounded, for the service to reach a state; true when it did.
  bool Esperar(DWORD situacao) const {
    for (int i = 0; i < 300 && Situacao() != situacao; ++i) Sleep(50);
    return Situacao() == situacao;
  }

 private:
  static void Remover() {
    Comando("sc stop " + std::string(kServico));
    for (int i = 0; i < 100 && !Processos("TAVMANAGER.exe").empty(); ++i) Sleep(50);
    Comando("sc delete " + std::string(kServico));
  }
  SC_HANDLE gerenciador_ = nullptr;
  SC_HANDLE servico_ = nullptr;
};

// The shell's "open" of a package runs this msiexec with the package and the parameters, as
// Windows's association has it; the prefix's own association comes back at the end.
class AssociacaoMsi {
 public:
  explicit AssociacaoMsi(const std::string& msiexec) {
    char valor[1024] = {};
    LONG tamanho = sizeof valor;
    if (RegQueryValueA(HKEY_LOCAL_MACHINE, kChave, valor, &tamanho) == ERROR_SUCCESS) anterior_ = valor;
    Gravar("\"" + msiexec + "\" /i \"%1\" %*");
  }
  AssociacaoMsi(const AssociacaoMsi&) = delete;
  AssociacaoMsi& operator=(const AssociacaoMsi&) = delete;
  ~AssociacaoMsi() { Gravar(anterior_); }

 private:
  static void Gravar(const std::string& comando) {
    for (REGSAM visao : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      HKEY h;
      if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kChave, 0, nullptr, 0, KEY_WRITE | visao, nullptr, &h, nullptr) !=
          ERROR_SUCCESS)
        continue;
      RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(comando.c_str()),
                     static_cast<DWORD>(comando.size() + 1));
      RegCloseKey(h);
    }
  }
  static constexpr const char* kChave = "Software\\Classes\\Msi.Package\\shell\\Open\\command";
  std::string anterior_;
};

class ProcessosE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    estacao.Preparar();
    SetLocaleInfoA(GetSystemDefaultLCID(), LOCALE_SSHORTDATE, "dd/MM/yyyy");
    CreateDirectoryA(Instaladores().c_str(), nullptr);
    CreateDirectoryA((estacao.DirT() + "\\Gerenciador").c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* nome :
         {"Impressora Virtual.exe", "TAVALERTAS.EXE", "TAVORAN2.EXE", "TavRelat.exe", "CLIREMOTE.EXE"})
      EncerrarTodos(nome);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Tavoran Printer", KEY_WOW64_32KEY, 0);
  }

  std::string Instaladores() const { return estacao.DirT() + "\\KORA\\Instaladores"; }
  // A copy of a stand-in under the name of the program it stands for.
  std::string Copia(const std::string& ajudante, const std::string& destino) {
    EXPECT_TRUE(CopyFileA((PastaAjudantes() + "\\" + ajudante).c_str(), destino.c_str(), FALSE)) << destino;
    return destino;
  }
  std::string Gerenciador(const std::string& nome = "TAVORAN2.EXE") {
    return Copia("ProgramaResidente.exe", estacao.DirT() + "\\Gerenciador\\" + nome);
  }
  // Waits until every stand-in started by the test has recorded its start.
  void EsperarInicios(std::size_t quantos) {
    for (int i = 0; i < 200 && Linhas().size() < quantos; ++i) Sleep(50);
    ASSERT_GE(Linhas().size(), quantos);
  }
  std::vector<std::string> Linhas() const {
    std::vector<std::string> linhas;
    std::istringstream texto(estacao.Comandos());
    for (std::string l; std::getline(texto, l);) linhas.push_back(l.substr(0, l.find('\r')));
    return linhas;
  }
  // The lines of the stand-ins that TAVORAN.EXE started, from the first one on.
  std::vector<std::string> LinhasDesde(std::size_t primeira) const {
    const auto l = Linhas();
    return primeira < l.size() ? std::vector<std::string>(l.begin() + primeira, l.end()) : std::vector<std::string>{};
  }
  std::string LinhaKemCriaArq() const {
    return "KemCriaArq.exe|" + estacao.DirT() + "\\KemCriaArq.exe 418207," + estacao.DirT() + "\\TAVORAN.EXE";
  }
  bool Registrada() {
    std::string saida;
    estacao.Tavadmin("estacoes " + estacao.DirT(), &saida);
    return saida.find(estacao.NomeComputador()) != std::string::npos;
  }
  // Runs a start to its end, answering every question with No; the boxes it met.
  std::vector<CaixaNaTela> Executar(DWORD limiteMs = 180000) {
    ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
    std::vector<CaixaNaTela> caixas;
    const ULONGLONG fim = GetTickCount64() + limiteMs;
    while (GetTickCount64() < fim) {
      const auto caixa = tavoran.EsperarCaixa(1000);
      if (caixa) {
        caixas.push_back(*caixa);
        ExecucaoTavoran::Responder(*caixa, caixa->botoes.size() == 2 ? IDNO : IDOK);
      } else if (tavoran.EsperarFim(0)) {
        break;
      }
    }
    EXPECT_TRUE(tavoran.EsperarFim(0)) << "TAVORAN.EXE did not end";
    EXPECT_EQ(tavoran.CodigoSaida(), 0u);
    return caixas;
  }

  EstacaoTeste estacao;
};

// The service is stopped by its first command although it needs a moment, and started again
// by the update; the resident program that is not a service is ended and stays ended.
TEST_F(ProcessosE2eTest, ResidentServiceIsStoppedAndStartedAgainAndAResidentProgramStaysEnded) {
  ServicoTeste servico;
  ASSERT_TRUE(servico.Esperar(SERVICE_RUNNING));
  PastaTemporaria pasta("tav-residente");
  ProgramaIniciado alertas(Copia("ProgramaResidente.exe", pasta / "TAVALERTAS.EXE"));
  EsperarInicios(1);

  EXPECT_THAT(Executar(), ::testing::IsEmpty());

  EXPECT_TRUE(servico.Esperar(SERVICE_RUNNING));
  std::istringstream registro(LerArquivo(ServicoTeste::Registro()));
  std::string evento[3], id[3];
  for (int i = 0; i < 3; ++i) registro >> evento[i] >> id[i];
  EXPECT_EQ(evento[0] + evento[1] + evento[2], "inicioparadainicio");
  EXPECT_EQ(id[0], id[1]);
  EXPECT_NE(id[2], id[0]);  // a new process of the service
  EXPECT_FALSE(alertas.EmExecucao());
  EXPECT_TRUE(Processos("TAVALERTAS.EXE").empty());
  EXPECT_THAT(estacao.Comandos(), HasSubstr(LinhaKemCriaArq()));
  EXPECT_TRUE(Registrada());
}

// A program that cannot be ended leads to the question, once when the services stop and once
// in the .NET step; No lets the update go on to its end.
TEST_F(ProcessosE2eTest, ProgramThatRefusesToEndIsAskedAboutAndNoLetsTheUpdateGoOn) {
  PastaTemporaria pasta("tav-teimoso");
  ProgramaIniciado teimoso(Copia("ProgramaResidente.exe", pasta / "TAVINTEGCNPJ.EXE"), "--teimoso");
  EsperarInicios(1);

  const auto caixas = Executar();

  ASSERT_EQ(caixas.size(), 2u);
  for (const auto& caixa : caixas) {
    EXPECT_EQ(caixa.titulo, "Atenção");
    EXPECT_EQ(caixa.texto, "Não foi possível finalizar o serviço 'TAVINTEGCNPJ', deseja tentar novamente?");
  }
  EXPECT_TRUE(teimoso.EmExecucao());
  EXPECT_THAT(estacao.Comandos(), HasSubstr(LinhaKemCriaArq()));
  EXPECT_TRUE(Registrada());
}

TEST_F(ProcessosE2eTest, TwoApplicationManagersRefuseTheUpdate) {
  const std::string gerenciador = Gerenciador();
  ProgramaIniciado primeiro(gerenciador), segundo(gerenciador);
  EsperarInicios(2);

  const auto caixas = Executar();

  ASSERT_EQ(caixas.size(), 1u);
  EXPECT_EQ(caixas[0].titulo, "Tavoran - Atenção");
  EXPECT_EQ(caixas[0].texto, kRecusa);
  EXPECT_TRUE(primeiro.EmExecucao());
  EXPECT_TRUE(segundo.EmExecucao());
  EXPECT_THAT(estacao.Comandos(), Not(HasSubstr("KemCriaArq.exe|")));
  EXPECT_FALSE(Registrada());
}

// One manager in this session: every program run from the suite's tree ends, except this
// program and the remote-access client.
TEST_F(ProcessosE2eTest, OneManagerInThisSessionEndsTheSuitesPrograms) {
  ProgramaIniciado gerenciador(Gerenciador()), relatorios(Gerenciador("TavRelat.exe")),
      remoto(Gerenciador("CLIREMOTE.EXE"));
  EsperarInicios(3);

  EXPECT_THAT(Executar(), ::testing::IsEmpty());

  EXPECT_FALSE(gerenciador.EmExecucao());
  EXPECT_FALSE(relatorios.EmExecucao());
  EXPECT_TRUE(remoto.EmExecucao());
  EXPECT_TRUE(Registrada());
}

// Each installer ends before the next starts (its "fim" line comes first); the package goes
// through the shell's association with its parameters; a missing runtime is skipped.
TEST_F(ProcessosE2eTest, InstallersRunInOrderAndEachIsAwaited) {
  PastaTemporaria pasta("tav-msiexec");
  const std::string msiexec = Copia("InstaladorFalso.exe", pasta / "msiexec.exe");
  AssociacaoMsi associacao(msiexec);
  Copia("InstaladorFalso.exe", Instaladores() + "\\vcredist_x86_2013.exe");
  Copia("InstaladorFalso.exe", Instaladores() + "\\Impressora Virtual.exe");
  GravarArquivo(Instaladores() + "\\sqlncli64.msi", "pacote de 64 bits");
  GravarArquivo(Instaladores() + "\\sqlncli32.msi", "pacote de 32 bits");

  EXPECT_THAT(Executar(), ::testing::IsEmpty());

  const std::string dirT = estacao.DirT();
  EXPECT_EQ(LinhasDesde(0),
            (std::vector<std::string>{
                "vcredist_x86_2013.exe|" + dirT + "\\kora\\instaladores\\vcredist_x86_2013.exe /q /norestart",
                "vcredist_x86_2013.exe|fim",
                "msiexec.exe|\"" + msiexec + "\" /i \"" + dirT +
                    "\\Kora\\Instaladores\\sqlncli64.msi\" /qn IACCEPTSQLNCLILICENSETERMS=YES",
                "msiexec.exe|fim",
                "Impressora Virtual.exe|\"" + dirT + "\\kora\\instaladores\\Impressora Virtual.exe\"",
                "Impressora Virtual.exe|fim",
                LinhaKemCriaArq(),
            }));
  EXPECT_TRUE(Registrada());
}

TEST_F(ProcessosE2eTest, ARegisteredPrinterIsNotInstalledAgain) {
  Copia("InstaladorFalso.exe", Instaladores() + "\\Impressora Virtual.exe");
  HKEY chave;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Tavoran Printer", 0, nullptr, 0,
                            KEY_WRITE | KEY_WOW64_32KEY, nullptr, &chave, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(chave, "AppFileName", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\Impressora\\imp.exe"), 23);
  RegCloseKey(chave);

  EXPECT_THAT(Executar(), ::testing::IsEmpty());

  EXPECT_EQ(LinhasDesde(0), (std::vector<std::string>{LinhaKemCriaArq()}));
}

// The wait for the printer's installer is bounded: the run ends with the inconsistency report
// naming the installer, and the workstation is not recorded.
TEST_F(ProcessosE2eTest, APrinterInstallerThatNeverEndsStopsTheWaitWithAReport) {
  Copia("ProgramaResidente.exe", Instaladores() + "\\Impressora Virtual.exe");

  EXPECT_THAT(Executar(240000), ::testing::IsEmpty());

  const std::string relatorio = estacao.RelatorioDeInconsistencias();
  EXPECT_THAT(relatorio, HasSubstr("Não foi possível concluir a instalação da Impressora Virtual."));
  EXPECT_THAT(relatorio, HasSubstr("1460 - O instalador '" + estacao.DirT() +
                                   "\\kora\\instaladores\\Impressora Virtual.exe' não terminou em 2 minutos."));
  EXPECT_FALSE(Processos("Impressora Virtual.exe").empty());
  EXPECT_THAT(estacao.Comandos(), Not(HasSubstr("KemCriaArq.exe|")));
  EXPECT_FALSE(Registrada());
}

// The typical first start of a new workstation, on a share with every kind of component and
// with the suite's service and a resident program running; then the second start.
TEST_F(ProcessosE2eTest, TypicalFirstStartUpdatesEverythingInOrderAndTheNextStartsTheManagerAtOnce) {
  const std::string sistema = EstacaoTeste::PastaSistema(), dirT = estacao.DirT();
  const std::string kora = dirT + "\\KORA\\COMPONENTES", net = dirT + "\\KORA\\COMPONENTES.NET";
  const char* const instalados[] = {"TAVRELATORIOS.DLL", "TAVGRAFICO.OCX", "TAVTEXTO.DLL", "TAVTEXTO.tlb",
                                    "TAVAGENDA.EXE", "TAVORAN.CORE.DLL", "TAVORAN.CORE.tlb", "libcef.dll",
                                    "mscomct2.ocx"};
  for (const char* nome : instalados) DeleteFileA((sistema + "\\" + nome).c_str());
  PastaTemporaria::Remover(sistema + "\\CompDotNetVelmora");
  PastaTemporaria::Remover(sistema + "\\locales");
  for (const char* com : {"ComA", "ComB"}) EstacaoTeste::Registrar(EstacaoTeste::ComponenteCom(com), false);
  // The share: the window's missing library, COM libraries, a plain library, an executable,
  // .NET assemblies with a version folder, the browser runtime, an installer and a retired file.
  Copia("com\\ComC.dll", dirT + "\\KORA\\WINDOWSLIBRARY\\mscomct2.ocx");
  Copia("com\\ComA.dll", kora + "\\TavRelatorios.dll");
  Copia("com\\ComB.dll", kora + "\\TavGrafico.ocx");
  Copia("ComponenteV2_10.dll", kora + "\\TavTexto.dll");
  Copia("ProgramaV1.exe", kora + "\\TavAgenda.exe");
  for (const char* pasta : {"", "\\V40", "\\V40\\copiar", "\\V40\\registrar", "\\CEFSHARP", "\\CEFSHARP\\LOCALES"})
    CreateDirectoryA((net + pasta).c_str(), nullptr);
  Copia("ComponenteV2_10.dll", net + "\\Tavoran.Core.dll");
  Copia("ComponenteV2_10.dll", net + "\\V40\\copiar\\TavNet40.dll");
  Copia("SemVersao.dll", net + "\\CEFSHARP\\libcef.dll");
  Copia("SemVersao.dll", net + "\\CEFSHARP\\LOCALES\\pt-BR.pak");
  Copia("InstaladorFalso.exe", Instaladores() + "\\vcredist_x86_2012.exe");
  Copia("ProgramaV1.exe", dirT + "\\TAVATUALIZA.EXE");
  ServicoTeste servico;
  ASSERT_TRUE(servico.Esperar(SERVICE_RUNNING));
  PastaTemporaria pasta("tav-residente");
  ProgramaIniciado alertas(Copia("ProgramaResidente.exe", pasta / "TAVALERTAS.EXE"));
  EsperarInicios(1);
  const std::size_t antes = Linhas().size();

  EXPECT_THAT(Executar(), ::testing::IsEmpty());

  // 1. The window's library came before the window: it is there and registered.
  EXPECT_EQ(LerArquivo(sistema + "\\mscomct2.ocx"), LerArquivo(PastaAjudantes() + "\\com\\ComC.dll"));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada("{5A1E0003-7A40-4C2B-9E10-000000000003}"));
  // 2 and 3. The retired file went, and every component came, one row each.
  const std::string s = Maiusculas(sistema);
  EXPECT_EQ(estacao.LinhasDoRelatorio(),
            (std::vector<std::string>{
                "OK Apagar executável TAVATUALIZA.EXE.",
                "OK Instalar Executavel '" + s + "\\TAVAGENDA.EXE'.",
                "OK Instalar componente ActiveX '" + s + "\\TAVGRAFICO.OCX'.",
                "OK Instalar componente ActiveX '" + s + "\\TAVRELATORIOS.DLL'.",
                "OK Instalar componente de biblioteca '" + s + "\\CompDotNetVelmora\\V40\\TAVNET40.DLL'.",
                "OK Instalar componente de biblioteca '" + s + "\\TAVORAN.CORE.DLL'.",
                "OK Instalar componente de biblioteca '" + s + "\\TAVTEXTO.DLL'.",
                "OK Instalar componente de biblioteca '" + s + "\\libcef.dll'.",
                "OK Instalar componente de biblioteca '" + s + "\\locales\\pt-BR.pak'.",
            }));
  EXPECT_EQ(estacao.RelatorioDeInconsistencias(), "");
  EXPECT_FALSE(Existe(dirT + "\\TAVATUALIZA.EXE"));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada("{5A1E0001-7A40-4C2B-9E10-000000000001}"));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada("{5A1E0002-7A40-4C2B-9E10-000000000002}"));
  // 4. The service ran again afterwards in a new process; the resident program stays ended.
  EXPECT_TRUE(servico.Esperar(SERVICE_RUNNING));
  EXPECT_FALSE(alertas.EmExecucao());
  // 5 and 6. RegAsm during the components, the installer after them, the starter last.
  const auto linhas = LinhasDesde(antes);
  ASSERT_GE(linhas.size(), 4u);
  EXPECT_THAT(linhas[0], ::testing::StartsWith("RegAsm.exe|"));
  EXPECT_EQ(linhas[linhas.size() - 3], "vcredist_x86_2012.exe|" + dirT + "\\kora\\instaladores\\vcredist_x86_2012.exe /q /norestart");
  EXPECT_EQ(linhas[linhas.size() - 2], "vcredist_x86_2012.exe|fim");
  EXPECT_EQ(linhas.back(), LinhaKemCriaArq());
  EXPECT_TRUE(Registrada());
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));

  // The next start finds the record: the manager at once, no report, nothing else started.
  const std::size_t depois = Linhas().size();
  EXPECT_THAT(Executar(), ::testing::IsEmpty());
  EXPECT_EQ(LinhasDesde(depois), (std::vector<std::string>{LinhaKemCriaArq()}));
  EXPECT_TRUE(estacao.LinhasDoRelatorio().empty());
}

}  // namespace
}  // namespace tavoran::testes
