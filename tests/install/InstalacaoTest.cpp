// The installation routines on a workstation of fakes: the install-or-update decision, a
// replacement whose copy fails, the registration engine's edges, the progress bar, and the
// .NET registration that waits for its type library.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "install/clsInstaladorComponentes.h"
#include "platform/Texto.h"
#include "tests/fakes/EstacaoFalsa.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran::testes {
namespace {

using ::testing::HasSubstr;

constexpr const char* kDirT = "P:\\Tavoran.win";
constexpr const char* kOrigem = "P:\\Tavoran.win\\KORA\\COMPONENTES";

class ProgressoFalso : public IProgresso {
 public:
  void ExibirMensagem(const std::string& t) override { textos.push_back(t); }
  void AdicionarProgresso() override {
    ++passos;
    if (valor < maximo) ++valor;
  }
  void DefinirMaximoProgresso(int m) override { maximo = m; }
  void Aguardar() override {
    ++pausas;
    if (aoAguardar) aoAguardar();
  }
  int CaixaMensagem(const std::string& t, const std::string&, BotoesCaixa, IconeCaixa) override {
    caixas.push_back(t);
    return kBotaoOk;
  }
  void ExibirErroGenerico(std::int32_t n, const std::string& d, const std::string& r) override {
    caixas.push_back(r + ": " + std::to_string(n) + " - " + d);
  }
  std::vector<std::string> textos, caixas;
  int passos = 0, valor = 0, maximo = 0, pausas = 0;
  std::function<void()> aoAguardar;
};

class Instalacao : public ::testing::Test {
 protected:
  Instalacao() {
    PrepararWindows(f);
    f.registro->DefinirTexto("SOFTWARE\\Tavoran\\DIR_T", "", kDirT);
    f.arquivos->CriarPastas(std::string(kDirT) + "\\Logs\\RYX\\Erros");
    log.Arquivo(std::string(kDirT) + "\\Logs\\RYX\\atualizacao.html");
    logErr.Arquivo(std::string(kDirT) + "\\Logs\\RYX\\Erros\\inconsistencias.html");
    EXPECT_TRUE(instalador.ConfigurarPastas());
    contexto.versaoBtrieve = "7.90";
  }
  std::string Atualizacao() const { return DeCp1252(f.arquivos->Conteudo(log.Arquivo())); }
  std::string Inconsistencias() const { return DeCp1252(f.arquivos->Conteudo(logErr.Arquivo())); }
  static std::string Origem(const std::string& nome) { return std::string(kOrigem) + "\\" + nome; }
  static std::string Sistema(const std::string& nome) { return std::string(kSistema) + "\\" + nome; }
  // A plain library (no self-registration) with a version.
  void Biblioteca(const std::string& caminho, const std::string& versao, const std::string& bytes) {
    f.arquivos->CriarArquivo(caminho, bytes);
    f.arquivos->DefinirVersao(caminho, versao);
    f.bibliotecas->bibliotecas[bytes] = {};
  }
  bool Registrada(const std::string& guid) {
    return f.registro->ExisteChave(ComFalso::ChaveTypeLib({guid, 1, 0, 0}), RaizRegistro::ClassesRoot);
  }

  AmbienteFalso f;
  LinksAjuda links;
  clsNKemRyxUtil util{f.ambiente, links};
  clsNKemRyxLog log{*f.ambiente.arquivos, *f.ambiente.relogio};
  clsNKemRyxLogErr logErr{*f.ambiente.arquivos, *f.ambiente.relogio, links};
  clsNKemRegComp regComp{f.ambiente};
  ProgressoFalso progresso;
  ContextoInstalacao contexto{f.ambiente, util, &log, logErr, regComp, progresso};
  clsInstaladorComponentes instalador{contexto, nullptr};
};

TEST_F(Instalacao, UpdateDecisionFollowsVersionsThenDatesAndTheForcedFlag) {
  struct Caso {
    std::string origem, destino;
    int anoOrigem, anoDestino;
    RegraVersao regra;
    bool forcada, esperado;
    std::string arquivo = "a.dll";
  };
  const Caso casos[] = {
      {"1.0.0.10", "1.0.0.0", 2020, 2026, RegraVersao::Janela, false, true},   // larger by number, not text
      {"1.0.0.9", "1.0.0.10", 2026, 2020, RegraVersao::Janela, false, false},
      {"2.0.0.0", "2.0.0.0", 2026, 2020, RegraVersao::Janela, false, true},    // equal: the newer date
      {"2.0.0.0", "2.0.0.0", 2020, 2026, RegraVersao::Janela, false, false},
      {"9.0.0.0", "1.0.0.0", 2020, 2026, RegraVersao::Janela, false, false, "gdiplus.dll"},  // dates only
      {"1.0.0.0", "", 2020, 2026, RegraVersao::Janela, false, true},           // the workstation's has none
      {"", "1.0.0.0", 2020, 2026, RegraVersao::Janela, false, true},           // the share's has none
      {"", "1.0.0.0", 2020, 2026, RegraVersao::Controle, false, false},        // the control leaves it to dates
      {"1.0.0.0", "3.0.0.0", 2020, 2026, RegraVersao::Janela, true, true},     // forced
      {"1.0.0.0", "3.0.0.0", 2020, 2026, RegraVersao::Controle, true, false},  // the control is never forced
  };
  for (const Caso& c : casos) {
    const std::string o = Origem(c.arquivo), d = Sistema(c.arquivo);
    f.arquivos->arquivos.erase(ArquivosFalsos::Normalizar(o));
    f.arquivos->arquivos.erase(ArquivosFalsos::Normalizar(d));
    f.arquivos->CriarArquivo(o, "o");
    f.arquivos->CriarArquivo(d, "d");
    if (!c.origem.empty()) f.arquivos->DefinirVersao(o, c.origem);
    if (!c.destino.empty()) f.arquivos->DefinirVersao(d, c.destino);
    f.arquivos->arquivos[ArquivosFalsos::Normalizar(o)].modificado = {c.anoOrigem, 1, 1, 0, 0, 0};
    f.arquivos->arquivos[ArquivosFalsos::Normalizar(d)].modificado = {c.anoDestino, 1, 1, 0, 0, 0};
    contexto.forcarAtualizacao = c.forcada;
    bool precisa = !c.esperado;
    std::int32_t maior = -1;
    ASSERT_TRUE(instalador.Operacoes().VerificarPrecisaAtualizar(o, d, precisa, maior, c.regra));
    EXPECT_EQ(precisa, c.esperado) << c.origem << " over " << c.destino << " " << c.arquivo;
  }
}

// A copy cut short (the share dropped) or a full disk: the workstation keeps its old file,
// still registered, and nothing is left beside it.
TEST_F(Instalacao, ReplacementWhoseCopyFailsLeavesTheOldComponentByteForByte) {
  Biblioteca(Origem("TAVLIB.DLL"), "2.0.0.0", "MZ-lib-nova");
  Biblioteca(Sistema("TAVLIB.DLL"), "1.0.0.0", "MZ-lib-velha");
  CriarComponenteCom(f, Origem("TAVCOM.OCX"), "2.0.0.0", "{C0}");
  CriarComponenteCom(f, Sistema("TAVCOM.OCX"), "1.0.0.0", "{C0}");
  const std::string velhaCom = f.arquivos->Conteudo(Sistema("TAVCOM.OCX"));
  ASSERT_TRUE(regComp.RegistrarComponente(Sistema("TAVCOM.OCX"), true));
  f.arquivos->copiaInterrompida.insert(ArquivosFalsos::Normalizar(Origem("TAVLIB.DLL")));
  f.arquivos->discoCheio.insert(ArquivosFalsos::Normalizar(kSistema));
  contexto.caminhoRegAsm = "C:\\RegAsm.exe";
  ASSERT_TRUE(instalador.InstalarAtualizarComponentes());
  EXPECT_EQ(f.arquivos->Conteudo(Sistema("TAVLIB.DLL")), "MZ-lib-velha");
  EXPECT_EQ(f.arquivos->Conteudo(Sistema("TAVCOM.OCX")), velhaCom);
  EXPECT_FALSE(f.arquivos->ExisteArquivo(Sistema("TAVLIB.DLL.tavnovo")));
  EXPECT_FALSE(f.arquivos->ExisteArquivo(Sistema("TAVCOM.OCX.tavnovo")));
  EXPECT_TRUE(Registrada("{C0}"));
  const std::string erros = Inconsistencias();
  EXPECT_THAT(erros, HasSubstr("Falha ao copiar arquivo '" + Origem("TAVLIB.DLL") + "' para '" + Sistema("TAVLIB.DLL")));
  EXPECT_THAT(erros, HasSubstr("Falha ao copiar arquivo '" + Origem("TAVCOM.OCX") + "' para '" + Sistema("TAVCOM.OCX")));
}

TEST_F(Instalacao, RegistrationEngineEdges) {
  // RegAsm's command line: paths passed as they are, the type library beside the library.
  regComp.RegAsm("C:\\WINDOWS\\Microsoft.Net\\Framework\\v4.0.30319\\REGASM.EXE");
  f.arquivos->CriarArquivo("C:\\WINDOWS\\SYSTEM32\\A.DLL", "x");
  ASSERT_TRUE(regComp.RegistrarComponenteNet("C:\\WINDOWS\\SYSTEM32\\A.DLL", true));
  ASSERT_TRUE(regComp.RegistrarComponenteNet("C:\\WINDOWS\\SYSTEM32\\A.DLL", false));
  ASSERT_EQ(f.shell->iniciados.size(), 2u);
  EXPECT_EQ(f.shell->iniciados[0].linha,
            "C:\\WINDOWS\\Microsoft.Net\\Framework\\v4.0.30319\\REGASM.EXE /tlb:C:\\WINDOWS\\SYSTEM32\\A.tlb "
            "C:\\WINDOWS\\SYSTEM32\\A.DLL /codebase");
  EXPECT_THAT(f.shell->iniciados[1].linha, HasSubstr("REGASM.EXE /u /tlb:"));
  EXPECT_EQ(f.shell->iniciados[0].estilo, EstiloJanela::Oculta);
  // The failures, each with its number, and no library loaded for a file that is not there.
  EXPECT_FALSE(regComp.RegistrarComponente("", true));
  EXPECT_EQ(regComp.ErroNumero(), 106579);
  EXPECT_FALSE(regComp.RegistrarComponente(Sistema("NADA.DLL"), true));
  EXPECT_EQ(regComp.ErroNumero(), 106580);
  EXPECT_EQ(f.bibliotecas->maximoCarregadas, 0);
  f.arquivos->CriarArquivo(Sistema("TEXTO.DLL"), "não é biblioteca");
  bool possui = true;
  EXPECT_FALSE(regComp.VerificarPossuiApiRegistro(Sistema("TEXTO.DLL"), possui));
  EXPECT_EQ(regComp.ErroNumero(), 106581);
  EXPECT_FALSE(possui);
  Biblioteca(Sistema("PLANA.DLL"), "1.0.0.0", "MZ-plana");
  EXPECT_FALSE(regComp.RegistrarComponente(Sistema("PLANA.DLL"), true));
  EXPECT_EQ(regComp.ErroNumero(), 106582);
  // That library is installed by copying alone: no entry points, no thread, success.
  Biblioteca(Sistema("GdPdfPlug.dll"), "1.0.0.0", "MZ-pdf");
  EXPECT_TRUE(regComp.RegistrarComponente(Sistema("GdPdfPlug.dll"), true));
  EXPECT_TRUE(regComp.RegistrarComponente(Sistema("GdPdfPlug.dll"), false));
  // A worker left running or ended by a fault still counts as registered; a thread that
  // cannot be created does not.
  CriarComponenteCom(f, Sistema("LENTA.OCX"), "1.0.0.0", "{C1}");
  f.bibliotecas->bibliotecas[f.arquivos->Conteudo(Sistema("LENTA.OCX"))].fim = FimExecucao::Abandonada;
  EXPECT_TRUE(regComp.RegistrarComponente(Sistema("LENTA.OCX"), true));
  f.bibliotecas->bibliotecas[f.arquivos->Conteudo(Sistema("LENTA.OCX"))].fim = FimExecucao::Falhou;
  EXPECT_TRUE(regComp.RegistrarComponente(Sistema("LENTA.OCX"), true));
  EXPECT_EQ(regComp.LinhasAbandonadas(), 2);
  f.bibliotecas->falhaLinha = {7, "Memória insuficiente"};
  EXPECT_FALSE(regComp.RegistrarComponente(Sistema("LENTA.OCX"), true));
  EXPECT_EQ(regComp.ErroNumero(), 106583);
  EXPECT_EQ(f.bibliotecas->carregadas, 0);  // every library freed
}

// More files processed than counted (a component passed twice, files added meanwhile): the
// bar stops at its maximum. No component at all: the box, and the start stops.
TEST_F(Instalacao, ProgressTotalCountsEveryFolderAndTheBarNeverPassesIt) {
  EXPECT_FALSE(instalador.ConfigurarBarraProgressoTotal());
  EXPECT_EQ(progresso.caixas,
            (std::vector<std::string>{"Não existem componentes na pasta: " + std::string(kOrigem) +
                                      ", execute o instalador do Tavoran"}));
  CriarComponenteCom(f, Origem("TLBINF32.DLL"), "1.5.0.0", "{C2}");
  CriarComponenteCom(f, Origem("A.OCX"), "1.0.0.0", "{C3}");
  f.arquivos->CriarArquivo(Origem("LEIA-ME.TXT"));
  f.arquivos->CriarArquivo(std::string(kDirT) + "\\KORA\\WINDOWSLIBRARY\\mscomctl.ocx");
  f.arquivos->CriarArquivo(std::string(kDirT) + "\\KORA\\COMPONENTES.NET\\V45\\registrar\\B.dll");
  f.arquivos->CriarArquivo(std::string(kDirT) + "\\KORA\\COMPONENTES.NET\\CEFSHARP\\libcef.dll");
  f.arquivos->CriarArquivo(std::string(kDirT) + "\\KORA\\COMPONENTES.NET\\CEFSHARP\\LOCALES\\pt-BR.pak");
  ASSERT_TRUE(instalador.ConfigurarBarraProgressoTotal());
  EXPECT_EQ(progresso.maximo, 6);
  CriarComponenteCom(f, Origem("TARDIA.OCX"), "1.0.0.0", "{C4}");
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(instalador.InstalarAtualizarComponentes());
  EXPECT_GT(progresso.passos, progresso.maximo);
  EXPECT_EQ(progresso.valor, progresso.maximo);
}

class RegistroNet : public Instalacao {
 protected:
  RegistroNet() {
    for (const char* versao : {"v1.1.4322", "v2.0.50727", "v4.0.30319"})
      f.arquivos->CriarArquivo(std::string("C:\\WINDOWS\\Microsoft.Net\\Framework\\") + versao + "\\RegAsm.exe");
    Biblioteca(std::string(kDirT) + "\\KORA\\COMPONENTES.NET\\Tavoran.Core.dll", "3.0.0.0", "MZ-core-3");
    Biblioteca(Sistema("Tavoran.Core.dll"), "2.0.0.0", "MZ-core-2");
  }
  // RegAsm writes the type library at the n-th look for it (never when 0).
  void TypeLibNaVerificacao(int n) {
    progresso.aoAguardar = [this, n] {
      if (n > 0 && progresso.pausas == n) f.arquivos->CriarArquivo(Sistema("Tavoran.Core.tlb"));
    };
  }
  int ExecucoesRegAsm() const {
    int n = 0;
    for (const auto& i : f.shell->iniciados) n += i.linha.find("REGASM.EXE /tlb:") != std::string::npos;
    return n;
  }
};

TEST_F(RegistroNet, LastFrameworkFolderListedWinsAndAnOldOneKeepsTheOwnLibrariesOut) {
  auto& net = instalador.Net();
  ASSERT_TRUE(net.CarregarRegAsm());
  EXPECT_EQ(contexto.caminhoRegAsm, "C:\\WINDOWS\\Microsoft.Net\\Framework\\v4.0.30319\\REGASM.EXE");
  EXPECT_EQ(contexto.versaoFrameworkRegAsm, 4);
  contexto.versaoFrameworkRegAsm = 2;
  bool pode = true;
  const std::vector<std::string> proprias{"Tavoran.Core.dll"};
  ASSERT_TRUE(net.VerificarComponenteDotNetPodeSerInstalado("TAVORAN.CORE.DLL", proprias, pode));
  EXPECT_FALSE(pode);
  ASSERT_TRUE(net.VerificarComponenteDotNetPodeSerInstalado("OUTRA.DLL", proprias, pode));
  EXPECT_TRUE(pode);
  contexto.versaoFrameworkRegAsm = 4;
  ASSERT_TRUE(net.VerificarComponenteDotNetPodeSerInstalado("TavIntegCnpjAnf.dll", proprias, pode));
  EXPECT_FALSE(pode);
}

TEST_F(RegistroNet, TypeLibraryAtTheFourthLookSucceedsInTheFirstAttempt) {
  TypeLibNaVerificacao(4);
  ASSERT_TRUE(instalador.Net().InstalarAtualizarComponentesPastaBibliotecaNet(
      std::string(kDirT) + "\\KORA\\COMPONENTES.NET", kSistema));
  EXPECT_EQ(ExecucoesRegAsm(), 1);
  EXPECT_EQ(progresso.pausas, 4);
  EXPECT_EQ(Inconsistencias(), "");
  EXPECT_EQ(f.arquivos->Conteudo(Sistema("Tavoran.Core.dll")), "MZ-core-3");
}

TEST_F(RegistroNet, TypeLibraryThatNeverAppearsIsReportedAfterTwoAttempts) {
  TypeLibNaVerificacao(0);
  EXPECT_FALSE(instalador.Net().InstalarAtualizarComponentesPastaBibliotecaNet(
      std::string(kDirT) + "\\KORA\\COMPONENTES.NET", kSistema));
  EXPECT_EQ(ExecucoesRegAsm(), 2);
  EXPECT_EQ(progresso.pausas, 14);
  EXPECT_THAT(Inconsistencias(), HasSubstr("12345 - Não foi possível registrar o componente TAVORAN.CORE.DLL. Verifique "
                                          "se o .NET Framework 3.5 e 4.5 estão corretamente instalados."));
}

// Odd shares and workstations: each gets a clear outcome, never a silent stop.
TEST_F(RegistroNet, VersionFoldersBrowserRuntimeAndTypeLibrariesThatCannotGo) {
  const std::string net = std::string(kDirT) + "\\KORA\\COMPONENTES.NET";
  auto& instalacao = instalador.Net();
  // A version folder whose name is not a number is no framework's: copied without a check.
  Biblioteca(net + "\\VXY\\registrar\\TavXY.dll", "1.0.0.0", "MZ-xy");
  TypeLibNaVerificacao(1);
  progresso.aoAguardar = [this] { f.arquivos->CriarArquivo(Sistema("CompDotNetVelmora\\VXY\\TAVXY.tlb")); };
  ASSERT_TRUE(instalacao.InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoes(net, kSistema));
  EXPECT_TRUE(f.arquivos->ExisteArquivo(Sistema("CompDotNetVelmora\\VXY\\TAVXY.DLL")));
  // An update whose old type library cannot be deleted stops the pass with its entry.
  Biblioteca(net + "\\VXY\\registrar\\TavXY.dll", "2.0.0.0", "MZ-xy-2");
  f.arquivos->arquivos[ArquivosFalsos::Normalizar(Sistema("CompDotNetVelmora\\VXY\\TAVXY.tlb"))].emUso = true;
  EXPECT_FALSE(instalacao.InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoes(net, kSistema));
  EXPECT_THAT(Inconsistencias(), HasSubstr("Atualizar componente de biblioteca '" +
                                           Maiusculas(Sistema("CompDotNetVelmora\\VXY\\TAVXY.tlb")) + "'."));
  EXPECT_EQ(f.arquivos->Conteudo(Sistema("CompDotNetVelmora\\VXY\\TAVXY.DLL")), "MZ-xy");
  // The browser runtime without its languages folder, and a language file held open.
  f.arquivos->CriarArquivo(net + "\\CEFSHARP\\libcef.dll", "cef");
  ASSERT_TRUE(instalacao.InstalarComponentesDotNetCefSharp());
  EXPECT_TRUE(f.arquivos->ExistePasta(Sistema("locales")));
  f.arquivos->CriarArquivo(net + "\\CEFSHARP\\LOCALES\\pt-BR.pak", "novo");
  f.arquivos->DefinirVersao(net + "\\CEFSHARP\\LOCALES\\pt-BR.pak", "2.0.0.0");
  f.arquivos->CriarArquivo(Sistema("locales\\pt-BR.pak"), "velho");
  f.arquivos->DefinirVersao(Sistema("locales\\pt-BR.pak"), "1.0.0.0");
  f.arquivos->arquivos[ArquivosFalsos::Normalizar(Sistema("locales\\pt-BR.pak"))].emUso = true;
  EXPECT_TRUE(instalacao.InstalarComponentesDotNetCefSharp());  // skipped: not one of the suite's own
  EXPECT_EQ(f.arquivos->Conteudo(Sistema("locales\\pt-BR.pak")), "velho");
  // No framework at all: the assemblies are left alone, and the step goes on.
  for (auto a = f.arquivos->arquivos.begin(); a != f.arquivos->arquivos.end();)
    a = a->first.rfind("C:\\WINDOWS\\MICROSOFT.NET", 0) == 0 ? f.arquivos->arquivos.erase(a) : std::next(a);
  std::erase_if(f.arquivos->pastas, [](const std::string& p) { return p.rfind("C:\\WINDOWS\\MICROSOFT.NET", 0) == 0; });
  EXPECT_FALSE(instalacao.CarregarRegAsm());
  EXPECT_TRUE(instalacao.InstalarAtualizarComponentesPastaBibliotecaNet(net, kSistema));
}

}  // namespace
}  // namespace tavoran::testes
