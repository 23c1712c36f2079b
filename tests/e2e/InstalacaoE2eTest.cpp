// Component installation on the test workstation: COM libraries built for the tests (each
// with its type library, registering it and a class key), a library of Wine's own, plain
// libraries and executables in the share, installed into the real system folder of the
// Wine prefix by TAVORAN.EXE and checked in the file system and the registry afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Texto.h"
#include "tests/e2e/EstacaoTeste.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Linhas = std::vector<std::string>;

const std::string kGuidA = "{5A1E0001-7A40-4C2B-9E10-000000000001}";
const std::string kGuidB = "{5A1E0002-7A40-4C2B-9E10-000000000002}";
const std::string kGuidC = "{5A1E0003-7A40-4C2B-9E10-000000000003}";
// The test components, by their name in the share.
const char* const kNomes[] = {"TAVORAN.CORE.DLL", "TAVORAN.CORE.tlb", "TAVCOMA.DLL",  "TAVCOMB.OCX",  "TAVCOMC.DLL",  "TAVPLANA.DLL", "TAVPROG.EXE",
                              "TAVSCRIPT.OCX", "TAVTRAVA.DLL", "TAVFALHA.DLL", "TAVTIPOS.TLB", "TAVCORTADA.DLL"};
const char* const kComponentesCom[] = {"ComA", "ComB", "ComC", "ComD", "ComTrava", "ComFalha"};

// A library of Wine's own with a type library, of this program's architecture.
std::string BibliotecaDoWine(const std::string& nome) {
#ifdef _WIN64
  return "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\" + nome;
#else
  return "Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows\\" + nome;
#endif
}

void DefinirData(const std::string& arquivo, WORD ano) {
  HANDLE h = CreateFileA(arquivo.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  SYSTEMTIME st{};
  st.wYear = ano, st.wMonth = 6, st.wDay = 1, st.wHour = 12;
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
}

class InstalacaoE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    estacao.Preparar();
    // The short date as the program wants it, so that no correction row joins the report.
    SetLocaleInfoA(GetSystemDefaultLCID(), LOCALE_SSHORTDATE, "dd/MM/yyyy");
    // Nothing of an earlier case on the workstation: files gone, registrations removed.
    for (const char* nome : kComponentesCom) EstacaoTeste::Registrar(EstacaoTeste::ComponenteCom(nome), false);
    for (const std::string& guid : {kGuidA, kGuidB, kGuidC}) EstacaoTeste::EsquecerTypeLib(guid);
    for (const char* nome : kNomes) {
      SetFileAttributesA(Sistema(nome).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(Sistema(nome).c_str());
      DeleteFileA((Sistema(nome) + ".tavnovo").c_str());
    }
  }

  static std::string Sistema(const std::string& nome) { return EstacaoTeste::PastaSistema() + "\\" + nome; }
  // The path as the program names it: the system folder upper-cased.
  static std::string Destino(const std::string& nome) { return Maiusculas(Sistema(nome)); }
  std::string Componentes() const { return estacao.DirT() + "\\KORA\\COMPONENTES"; }
  void NoCompartilhamento(const std::string& origem, const std::string& nome) {
    ASSERT_TRUE(CopyFileA(origem.c_str(), (Componentes() + "\\" + nome).c_str(), FALSE)) << origem;
  }
  void NaEstacao(const std::string& origem, const std::string& nome, bool registrar = true) {
    ASSERT_TRUE(CopyFileA(origem.c_str(), Sistema(nome).c_str(), FALSE)) << origem;
    if (registrar) {
      ASSERT_TRUE(EstacaoTeste::Registrar(Sistema(nome)));
    }
  }
  // The share every installation case starts from.
  void CompartilhamentoCompleto() {
    NoCompartilhamento(EstacaoTeste::ComponenteCom("ComA"), "TAVCOMA.DLL");
    NoCompartilhamento(EstacaoTeste::ComponenteCom("ComB"), "TAVCOMB.OCX");
    NoCompartilhamento(PastaAjudantes() + "\\ComponenteV2_10.dll", "TAVPLANA.DLL");
    NoCompartilhamento(PastaAjudantes() + "\\ProgramaV1.exe", "TAVPROG.EXE");
    NoCompartilhamento(BibliotecaDoWine("msscript.ocx"), "TAVSCRIPT.OCX");
  }

  // Runs a start to its end with no box; the rows of its update report, "OK <action>" or
  // "ERRO <action> | <error>", sorted (the share lists its files in no fixed order).
  Linhas Executar() {
    ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
    EXPECT_TRUE(tavoran.EsperarFim(120000));
    for (const auto& caixa : tavoran.caixasVistas) ADD_FAILURE() << "box: " << caixa.texto;
    return estacao.LinhasDoRelatorio();
  }
  std::string Inconsistencias() {
    const std::string html = estacao.RelatorioDeInconsistencias();
    const std::string pasta = estacao.DirT() + "\\Logs\\RYX\\Erros";
    for (const std::string& nome : estacao.Arquivos(pasta)) DeleteFileA((pasta + "\\" + nome).c_str());
    return html;
  }
  std::string Estacao() {
    std::string saida;
    estacao.Tavadmin("estacoes " + estacao.DirT(), &saida);
    return saida;
  }
  void EsquecerEstacao() { estacao.Tavadmin("remover " + estacao.DirT() + " " + estacao.NomeComputador()); }

  EstacaoTeste estacao;
};

TEST_F(InstalacaoE2eTest, NewWorkstationGetsEveryComponentCopiedAndRegistered) {
  CompartilhamentoCompleto();
  const Linhas linhas = Executar();
  EXPECT_EQ(linhas, (Linhas{
                        "OK Instalar Executavel '" + Destino("TAVPROG.EXE") + "'.",
                        "OK Instalar componente ActiveX '" + Destino("TAVCOMA.DLL") + "'.",
                        "OK Instalar componente ActiveX '" + Destino("TAVCOMB.OCX") + "'.",
                        "OK Instalar componente ActiveX '" + Destino("TAVSCRIPT.OCX") + "'.",
                        "OK Instalar componente de biblioteca '" + Destino("TAVPLANA.DLL") + "'.",
                    }));
  EXPECT_EQ(Inconsistencias(), "");
  for (const char* nome : {"TAVCOMA.DLL", "TAVCOMB.OCX", "TAVPLANA.DLL", "TAVPROG.EXE", "TAVSCRIPT.OCX"}) {
    EXPECT_EQ(LerArquivo(Sistema(nome)), LerArquivo(Componentes() + "\\" + nome)) << nome;
    EXPECT_FALSE(Existe(Sistema(nome) + ".tavnovo")) << nome;
  }
  // The COM libraries registered themselves: type library and class key naming the copy.
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidA));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidB));
  EXPECT_TRUE(IguaisSemCaixa(EstacaoTeste::ServidorDaClasse(kGuidA), Sistema("TAVCOMA.DLL")));
  EXPECT_TRUE(IguaisSemCaixa(EstacaoTeste::ServidorDaClasse(kGuidB), Sistema("TAVCOMB.OCX")));
  // The plain library went to RegAsm, with the command line of a .NET registration.
  EXPECT_THAT(estacao.Comandos(), HasSubstr("REGASM.EXE /tlb:" + Maiusculas(Sistema("TAVPLANA")) + ".tlb " +
                                            Destino("TAVPLANA.DLL") + " /codebase"));
  EXPECT_THAT(Estacao(), HasSubstr(estacao.NomeComputador()));  // recorded: no inconsistency
}

TEST_F(InstalacaoE2eTest, CurrentComponentsAreLeftAloneAndAnUnregisteredOneIsRegisteredAgain) {
  CompartilhamentoCompleto();
  Executar();
  Inconsistencias();
  EsquecerEstacao();
  EXPECT_EQ(Executar(), (Linhas{}));  // only the notice that nothing needed an update
  EsquecerEstacao();
  ASSERT_TRUE(EstacaoTeste::Registrar(Sistema("TAVCOMB.OCX"), false));
  ASSERT_FALSE(EstacaoTeste::TypeLibRegistrada(kGuidB));
  EXPECT_EQ(Executar(), (Linhas{"OK Registrar componente ActiveX '" + Destino("TAVCOMB.OCX") + "'."}));
  EXPECT_EQ(Inconsistencias(), "");
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidB));
}

TEST_F(InstalacaoE2eTest, OlderIsReplacedNewerKeptAndEqualVersionsGoByDate) {
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComA"), "TAVCOMA.DLL");       // 1.0.0.10
  NaEstacao(EstacaoTeste::ComponenteCom("ComA_9"), "TAVCOMA.DLL");               // older: replaced
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComB"), "TAVCOMB.OCX");
  NaEstacao(EstacaoTeste::ComponenteCom("ComB"), "TAVCOMB.OCX");                 // same version, newer source
  DefinirData(Componentes() + "\\TAVCOMB.OCX", 2026);
  DefinirData(Sistema("TAVCOMB.OCX"), 2020);
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComC"), "TAVCOMC.DLL");
  NaEstacao(EstacaoTeste::ComponenteCom("ComC"), "TAVCOMC.DLL");                 // same version, older source
  DefinirData(Componentes() + "\\TAVCOMC.DLL", 2020);
  DefinirData(Sistema("TAVCOMC.DLL"), 2026);
  NoCompartilhamento(PastaAjudantes() + "\\ProgramaV1.exe", "TAVPROG.EXE");      // 1.0.65535.3
  NaEstacao(PastaAjudantes() + "\\ComponenteV2_10.dll", "TAVPROG.EXE", false);  // 2.10.0.7: newer, kept
  const std::string novo = LerArquivo(Sistema("TAVPROG.EXE"));
  EXPECT_EQ(Executar(), (Linhas{"OK Atualizar componente ActiveX '" + Destino("TAVCOMA.DLL") + "'.",
                                "OK Atualizar componente ActiveX '" + Destino("TAVCOMB.OCX") + "'."}));
  EXPECT_EQ(Inconsistencias(), "");
  EXPECT_EQ(LerArquivo(Sistema("TAVCOMA.DLL")), LerArquivo(EstacaoTeste::ComponenteCom("ComA")));
  EXPECT_EQ(LerArquivo(Sistema("TAVPROG.EXE")), novo);
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidA));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidB));
}

// Held open by another program that lets others read it but not replace it.
TEST_F(InstalacaoE2eTest, ComponentInUseIsReportedWhenWhitelistedSkippedSilentlyOtherwiseAndStaysAsItWas) {
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComA"), "TAVCOMA.DLL");
  NaEstacao(EstacaoTeste::ComponenteCom("ComA_9"), "TAVCOMA.DLL");
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComB"), "TAVCOMB.OCX");
  NaEstacao(EstacaoTeste::ComponenteCom("ComB"), "TAVCOMB.OCX");
  DefinirData(Componentes() + "\\TAVCOMB.OCX", 2026);
  DefinirData(Sistema("TAVCOMB.OCX"), 2020);
  GravarArquivo(Componentes() + "\\componentes.whitelist", "TAVCOMA.DLL\r\nTAVOUTRO.DLL\r\n");
  const std::string antigoA = LerArquivo(Sistema("TAVCOMA.DLL")), antigoB = LerArquivo(Sistema("TAVCOMB.OCX"));
  {
    EstacaoTeste::ArquivoPreso a(Sistema("TAVCOMA.DLL"), FILE_SHARE_READ), b(Sistema("TAVCOMB.OCX"), FILE_SHARE_READ);
    ASSERT_TRUE(a.Preso() && b.Preso());
    const Linhas linhas = Executar();
    EXPECT_THAT(linhas, ::testing::Contains(HasSubstr("ERRO Atualizar componente ActiveX '" + Destino("TAVCOMA.DLL") +
                                                      "'. | 70 - Falha ao excluir arquivo '" + Destino("TAVCOMA.DLL"))));
    EXPECT_THAT(linhas, Not(::testing::Contains(HasSubstr("TAVCOMB.OCX"))));
  }
  const std::string html = Inconsistencias();
  EXPECT_THAT(html, HasSubstr("Não foi possível excluir o arquivo '" + Destino("TAVCOMA.DLL") +
                              "'.\r\nUm ou mais processos em execução estão utilizando este componente. Finalize "
                              "todas as rotinas Tavoran e tente novamente."));
  EXPECT_THAT(html, Not(HasSubstr("TAVCOMB.OCX")));
  EXPECT_EQ(LerArquivo(Sistema("TAVCOMA.DLL")), antigoA);
  EXPECT_EQ(LerArquivo(Sistema("TAVCOMB.OCX")), antigoB);
  EXPECT_FALSE(Existe(Sistema("TAVCOMA.DLL") + ".tavnovo"));
  // Both stay registered: a component that could not be replaced is registered again.
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidA));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidB));
  EXPECT_THAT(Estacao(), Not(HasSubstr(estacao.NomeComputador())));  // an inconsistency: not recorded
}

TEST_F(InstalacaoE2eTest, ForcedUpdateReplacesEveryComponentAndClearsTheFlag) {
  CompartilhamentoCompleto();
  Executar();
  Inconsistencias();
  ASSERT_EQ(estacao.Tavadmin("gravar-estacao " + estacao.DirT() + " " + estacao.NomeComputador() +
                             " 1 20250101 07:00:00 joao 0"),
            0);
  ASSERT_EQ(estacao.Tavadmin("forcar " + estacao.DirT() + " " + estacao.NomeComputador() + " 1"), 0);
  EXPECT_EQ(Executar(), (Linhas{
                            "OK Atualizar Executavel '" + Destino("TAVPROG.EXE") + "'.",
                            "OK Atualizar componente ActiveX '" + Destino("TAVCOMA.DLL") + "'.",
                            "OK Atualizar componente ActiveX '" + Destino("TAVCOMB.OCX") + "'.",
                            "OK Atualizar componente ActiveX '" + Destino("TAVSCRIPT.OCX") + "'.",
                            // once by its own step and once by the components pass
                            "OK Atualizar componente ActiveX '" + Destino("TLBINF32.DLL") + "'.",
                            "OK Atualizar componente ActiveX '" + Destino("TLBINF32.DLL") + "'.",
                            "OK Atualizar componente de biblioteca '" + Destino("TAVPLANA.DLL") + "'.",
                        }));
  EXPECT_EQ(Inconsistencias(), "");
  // The flag is cleared; the date, time and user the record had are kept.
  EXPECT_THAT(Estacao(), ::testing::ContainsRegex(estacao.NomeComputador() + " +1 +20250101 +07:00:00 +joao +0"));
}

// An update that wrote an inconsistency neither records the workstation, nor releases the
// lock explicitly, nor starts the manager, and its report opens in the browser; the next
// start, with the cause gone, updates again and ends cleanly.
TEST_F(InstalacaoE2eTest, UpdateWithAnInconsistencyIsRepeatedByTheNextStart) {
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComA"), "TAVCOMA.DLL");
  NoCompartilhamento(PastaAjudantes() + "\\ProgramaV1.exe", "TAVPROG.EXE");
  {
    EstacaoTeste::ArquivoPreso preso(Componentes() + "\\TAVPROG.EXE");
    ASSERT_TRUE(preso.Preso());
    Executar();
  }
  const std::string erros = Inconsistencias();
  EXPECT_THAT(erros, HasSubstr("Falha ao copiar arquivo '" + Componentes() + "\\TAVPROG.EXE'"));
  for (int i = 0; i < 100 && estacao.Comandos().find("NavegadorFalso.exe|") == std::string::npos; ++i) Sleep(100);
  EXPECT_THAT(estacao.Comandos(), HasSubstr("\\Logs\\RYX\\Erros\\"));  // the report, in the browser
  EXPECT_THAT(estacao.Comandos(), Not(HasSubstr("KemCriaArq.exe|")));
  EXPECT_THAT(Estacao(), Not(HasSubstr(estacao.NomeComputador())));
  EXPECT_TRUE(Existe(estacao.ArquivoBloqueio()));  // left on the share, unlocked

  const Linhas segunda = Executar();
  EXPECT_THAT(segunda, ::testing::Contains("OK Instalar Executavel '" + Destino("TAVPROG.EXE") + "'."));
  EXPECT_EQ(Inconsistencias(), "");
  // The starter records itself once it runs, which may be after the program ended.
  for (int i = 0; i < 100 && estacao.Comandos().find("KemCriaArq.exe|") == std::string::npos; ++i) Sleep(100);
  EXPECT_THAT(estacao.Comandos(), HasSubstr("KemCriaArq.exe|"));
  EXPECT_THAT(Estacao(), HasSubstr(estacao.NomeComputador()));
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));
}

// The source cannot be read when its turn comes (another program holds it): the forced
// replacement fails before the old copy is touched, and the old copy stays as it was.
TEST_F(InstalacaoE2eTest, CopyThatFailsLeavesTheOldComponent) {
  NoCompartilhamento(PastaAjudantes() + "\\ProgramaV1.exe", "TAVPROG.EXE");
  NaEstacao(PastaAjudantes() + "\\ProgramaV1.exe", "TAVPROG.EXE", false);
  GravarArquivo(Sistema("TAVPROG.EXE"), LerArquivo(Sistema("TAVPROG.EXE")) + "copia antiga");
  const std::string antigo = LerArquivo(Sistema("TAVPROG.EXE"));
  ASSERT_EQ(estacao.Tavadmin("gravar-estacao " + estacao.DirT() + " " + estacao.NomeComputador() +
                             " 1 20261101 08:00:00 joao 1"),
            0);
  {
    EstacaoTeste::ArquivoPreso preso(Componentes() + "\\TAVPROG.EXE");
    ASSERT_TRUE(preso.Preso());
    EXPECT_THAT(Executar(), ::testing::Contains("OK Atualizar Executavel '" + Destino("TAVPROG.EXE") + "'."));
  }
  EXPECT_THAT(Inconsistencias(), HasSubstr("Falha ao copiar arquivo '" + Componentes() + "\\TAVPROG.EXE' para '" +
                                           Destino("TAVPROG.EXE") + "': Permissão negada"));
  EXPECT_EQ(LerArquivo(Sistema("TAVPROG.EXE")), antigo);
  EXPECT_FALSE(Existe(Sistema("TAVPROG.EXE") + ".tavnovo"));
}

// Entry points that never return or fault do not take the program with them; files that are
// not libraries stop the ActiveX pass with its entry.
TEST_F(InstalacaoE2eTest, HangingAndFaultingEntryPointsAreOutlivedAndABrokenLibraryStopsThePass) {
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComFalha"), "TAVFALHA.DLL");
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComTrava"), "TAVTRAVA.DLL");
  const Linhas linhas = Executar();
  EXPECT_THAT(linhas, ::testing::Contains("OK Instalar componente ActiveX '" + Destino("TAVFALHA.DLL") + "'."));
  EXPECT_THAT(linhas, ::testing::Contains("OK Instalar componente ActiveX '" + Destino("TAVTRAVA.DLL") + "'."));
  EXPECT_EQ(Inconsistencias(), "");
  EXPECT_THAT(Estacao(), HasSubstr(estacao.NomeComputador()));

  EsquecerEstacao();
  const std::string dll = LerArquivo(EstacaoTeste::ComponenteCom("ComA"));
  GravarArquivo(Componentes() + "\\TAVCORTADA.DLL", dll.substr(0, dll.size() / 3));
  Executar();
  EXPECT_THAT(Inconsistencias(), HasSubstr("Falha ao verificar API de registro do componente"));
  EXPECT_FALSE(Existe(Sistema("TAVCORTADA.DLL")));
}

TEST_F(InstalacaoE2eTest, MissingTypeLibraryBrowserStopsTheStartWithItsBox) {
  DeleteFileA((Componentes() + "\\TLBINF32.DLL").c_str());
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComA"), "TAVCOMA.DLL");
  ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
  const auto caixa = tavoran.EsperarCaixa();
  ASSERT_TRUE(caixa);
  EXPECT_EQ(caixa->texto, "InstalarTypeLibInformation - O arquivo TLBINF32.DLL não foi encontrado na pasta '" +
                              Componentes() + "'.\r\nEntre em contato com o suporte técnico regional.");
  ExecucaoTavoran::Responder(*caixa);
  EXPECT_TRUE(tavoran.EsperarFim());
  EXPECT_FALSE(Existe(Sistema("TAVCOMA.DLL")));
  EXPECT_THAT(estacao.Comandos(), Not(HasSubstr("KemCriaArq.exe|")));
}

TEST_F(InstalacaoE2eTest, MissingBasicLibrariesAreInstalledBeforeTheWindowAndTheRecordGoes) {
  const std::string basicaWindows = Sistema("mscomctl.ocx"), basicaTavoran = Sistema("TavErro.dll");
  DeleteFileA(basicaWindows.c_str());
  DeleteFileA(basicaTavoran.c_str());
  CopyFileA(EstacaoTeste::ComponenteCom("ComB").c_str(), (estacao.DirT() + "\\KORA\\WINDOWSLIBRARY\\mscomctl.ocx").c_str(),
            FALSE);
  NoCompartilhamento(EstacaoTeste::ComponenteCom("ComC"), "TavErro.dll");
  ASSERT_EQ(estacao.Tavadmin("gravar-estacao " + estacao.DirT() + " " + estacao.NomeComputador() +
                             " 1 20261101 08:00:00 joao 0"),
            0);
  Executar();
  EXPECT_EQ(LerArquivo(basicaWindows), LerArquivo(EstacaoTeste::ComponenteCom("ComB")));
  EXPECT_EQ(LerArquivo(basicaTavoran), LerArquivo(EstacaoTeste::ComponenteCom("ComC")));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidB));
  EXPECT_TRUE(EstacaoTeste::TypeLibRegistrada(kGuidC));
  // The record was deleted, so this very start updated and recorded the workstation anew.
  EXPECT_THAT(Estacao(), Not(HasSubstr("20261101")));
  EXPECT_THAT(Estacao(), HasSubstr(estacao.NomeComputador()));
  // Left as the other cases expect it.
  DeleteFileA(basicaWindows.c_str());
  DeleteFileA(basicaTavoran.c_str());
}

TEST_F(InstalacaoE2eTest, BasicLibraryMissingFromTheShareStopsBeforeTheWindow) {
  DeleteFileA(Sistema("mscomct2.ocx").c_str());
  ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
  const auto caixa = tavoran.EsperarCaixa();
  ASSERT_TRUE(caixa);
  EXPECT_EQ(caixa->texto, "O(s) componente(s): mscomct2.ocx, não foi(ram) localizado(s) para o acesso ao sistema.\r\n"
                          "Clique em OK para verificar os procedimentos para correção do erro.");
  ExecucaoTavoran::Responder(*caixa);
  EXPECT_TRUE(tavoran.EsperarFim());
  EXPECT_FALSE(tavoran.JanelaFoiVista());
  for (int i = 0; i < 100 && estacao.Comandos().find("artigos/C3") == std::string::npos; ++i) Sleep(100);
  EXPECT_THAT(estacao.Comandos(), HasSubstr("NavegadorFalso.exe|"));
  EXPECT_THAT(estacao.Comandos(), HasSubstr("artigos/C3"));
}

// RegAsm writes the type library a moment after it ended (the stand-in's helper copy does), or
// never: the update waits for it on the window's pauses, two RegAsm runs at most.
class RegistroNetE2eTest : public InstalacaoE2eTest {
 protected:
  void SetUp() override {
    InstalacaoE2eTest::SetUp();
    const std::string net = estacao.DirT() + "\\KORA\\COMPONENTES.NET";
    CreateDirectoryA(net.c_str(), nullptr);
    CopyFileA((PastaAjudantes() + "\\ComponenteV2_10.dll").c_str(), (net + "\\Tavoran.Core.dll").c_str(), FALSE);
    NaEstacao(PastaAjudantes() + "\\ComponenteV2_10.dll", "TAVORAN.CORE.DLL", false);
    DefinirData(net + "\\Tavoran.Core.dll", 2026);  // same version, newer: replaced
    DefinirData(Sistema("TAVORAN.CORE.DLL"), 2020);
  }
  void TearDown() override {
    SetEnvironmentVariableA("TAV_REGASM_ATRASO_MS", nullptr);
    SetEnvironmentVariableA("TAV_REGASM_SEM_TLB", nullptr);
  }
  int Registros() const {
    const std::string comandos = estacao.Comandos();
    int n = 0;
    for (std::size_t p = comandos.find("REGASM.EXE /tlb:"); p != std::string::npos;
         p = comandos.find("REGASM.EXE /tlb:", p + 1))
      ++n;
    return n;
  }
};

TEST_F(RegistroNetE2eTest, TypeLibraryWrittenLateIsWaitedForWithinTheFirstAttempt) {
  SetEnvironmentVariableA("TAV_REGASM_ATRASO_MS", "1700");
  EXPECT_THAT(Executar(), ::testing::Contains("OK Atualizar componente de biblioteca '" + Destino("TAVORAN.CORE.DLL") +
                                              "'."));
  EXPECT_EQ(Inconsistencias(), "");
  EXPECT_EQ(Registros(), 1);
  EXPECT_THAT(estacao.Comandos(), HasSubstr("REGASM.EXE /u /tlb:"));  // the old one unregistered first
  EXPECT_TRUE(Existe(Sistema("TAVORAN.CORE.tlb")));
}

TEST_F(RegistroNetE2eTest, TypeLibraryThatNeverComesIsReportedAfterTwoAttempts) {
  SetEnvironmentVariableA("TAV_REGASM_SEM_TLB", "1");
  Executar();
  EXPECT_THAT(Inconsistencias(), HasSubstr("12345 - Não foi possível registrar o componente TAVORAN.CORE.DLL. "
                                           "Verifique se o .NET Framework 3.5 e 4.5 estão corretamente instalados."));
  EXPECT_EQ(Registros(), 2);
  EXPECT_THAT(Estacao(), Not(HasSubstr(estacao.NomeComputador())));
}

}  // namespace
}  // namespace tavoran::testes
