#include <gtest/gtest.h>

#include "checks/clsNKemRyxUtil.h"
#include "tests/fakes/Falsos.h"

namespace tavoran::testes {
namespace {

constexpr RaizRegistro kHklm = RaizRegistro::LocalMachine;
constexpr const char* kChaveDirT = "SOFTWARE\\Tavoran\\DIR_T";

class Utilitarios : public ::testing::Test {
 protected:
  AmbienteFalso f;
  LinksAjuda links;
  clsNKemRyxUtil util{f.ambiente, links};
};

// ---- registry ----------------------------------------------------------------------------
TEST_F(Utilitarios, RegistryTextAndDwordRoundTrip) {
  EXPECT_TRUE(util.EscreverString(kHklm, "SOFTWARE\\Teste\\Nova", "Nome", "Ação <&> \"x\""));
  EXPECT_EQ(util.LerStringRegistro(kHklm, "SOFTWARE\\Teste\\Nova", "Nome"), "Ação <&> \"x\"");
  EXPECT_EQ(f.registro->Ler("SOFTWARE\\Teste\\Nova", "Nome")->tipo, kRegSz);
  f.registro->DefinirDword("SOFTWARE\\Net", "Release", 0x00080FE1u);
  EXPECT_EQ(util.LerDWordRegistro(kHklm, "SOFTWARE\\Net", "Release"), 0x00080FE1u);
}

TEST_F(Utilitarios, RegistryValuesOfTheWrongTypeOrMissingReadEmptyWithoutError) {
  f.registro->DefinirDword("SOFTWARE\\K", "D", 7);
  f.registro->DefinirTexto("SOFTWARE\\K", "S", "7");
  f.registro->chaves["SOFTWARE\\K"]["E"] = {2, "%windir%"};  // REG_EXPAND_SZ
  EXPECT_EQ(util.LerStringRegistro(kHklm, "SOFTWARE\\K", "D"), "");
  EXPECT_EQ(util.LerStringRegistro(kHklm, "SOFTWARE\\K", "E"), "");
  EXPECT_EQ(util.LerDWordRegistro(kHklm, "SOFTWARE\\K", "S"), 0u);
  EXPECT_EQ(util.LerStringRegistro(kHklm, "SOFTWARE\\K", "Falta"), "");
  EXPECT_EQ(util.LerDWordRegistro(kHklm, "SOFTWARE\\Falta", "D"), 0u);
  EXPECT_EQ(util.ErroNumero(), 0);
  f.registro->DefinirTexto("SOFTWARE\\K", "N", std::string("antes\0depois", 12));
  EXPECT_EQ(util.LerStringRegistro(kHklm, "SOFTWARE\\K", "N"), "antes");
}

TEST_F(Utilitarios, RegistryWriteFailuresCarryTheWindowsCodeAndStep) {
  f.registro->falhaCriar = 5;
  EXPECT_FALSE(util.EscreverString(kHklm, "SOFTWARE\\X", "v", "t"));
  EXPECT_EQ(util.ErroNumero(), 5);
  EXPECT_EQ(util.ErroDescricao(), "Erro ao criar chave no registro. (Rotina: EscreverString)");
  f.registro->falhaCriar = 0;
  f.registro->falhaGravar = 1010;
  EXPECT_FALSE(util.EscreverString(kHklm, "SOFTWARE\\X", "v", "t"));
  EXPECT_EQ(util.ErroDescricao(), "Erro ao escrever no registro (Rotina: EscreverString)");
  f.registro->falhaGravar = 0;
  f.registro->falhaFechar = 6;
  EXPECT_FALSE(util.EscreverString(kHklm, "SOFTWARE\\X", "v", "t"));
  EXPECT_EQ(util.ErroNumero(), 6);
  EXPECT_EQ(util.ErroDescricao(), "Erro ao fechar chave do registro (Rotina: EscreverString)");
}

TEST_F(Utilitarios, MainDirectoryIsCachedOnceFoundAndReadAgainWhileBlank) {
  EXPECT_EQ(util.DirT(), "");
  EXPECT_EQ(util.ErroNumero(), 0);
  f.registro->DefinirTexto(kChaveDirT, "", "P:\\Tavoran.win");
  f.registro->DefinirTexto(kChaveDirT, "UNC", "\\\\servidor\\dados\\Tavoran.win");
  EXPECT_EQ(util.DirT(), "P:\\Tavoran.win");
  EXPECT_EQ(util.UNC(), "\\\\servidor\\dados\\Tavoran.win");
  f.registro->DefinirTexto(kChaveDirT, "", "Q:\\Outro");
  EXPECT_EQ(util.DirT(), "P:\\Tavoran.win");
}

TEST_F(Utilitarios, EngineFolderIsTheFirstNonBlankOfTheThreeProducts) {
  const std::string base = "SOFTWARE\\Pervasive Software\\Products\\Pervasive.SQL ";
  std::string pasta = "x";
  EXPECT_FALSE(util.RetornarPastaPervasive(pasta));
  EXPECT_EQ(pasta, "");
  EXPECT_EQ(util.ErroNumero(), 106584);
  EXPECT_EQ(util.ErroDescricao(), "Não foi possível localizar a pasta de instalação do Pervasive 8.60.");
  f.registro->DefinirTexto(base + "Client\\InstallInfo", "InstallDir", "  ");
  f.registro->DefinirTexto(base + "NT Server\\InstallInfo", "InstallDir", "C:\\PVSW\\");
  EXPECT_TRUE(util.RetornarPastaPervasive(pasta));
  EXPECT_EQ(pasta, "C:\\PVSW\\");
  f.registro->DefinirTexto(base + "Workgroup\\InstallInfo", "InstallDir", "D:\\WG");
  EXPECT_TRUE(util.RetornarPastaPervasive(pasta));
  EXPECT_EQ(pasta, "D:\\WG");
  EXPECT_EQ(util.ErroNumero(), 0);
}

// ---- names -------------------------------------------------------------------------------
TEST_F(Utilitarios, ComputerNameStopsAtTheFirstBlankOrNulAndFallsBackToMono) {
  EXPECT_EQ(util.RetornarNomeComputador(), "ESTACAO01");
  f.sistema->computador = "ESTAÇÃO 02";
  EXPECT_EQ(util.RetornarNomeComputador(), "ESTAÇÃO");
  f.sistema->falhaComputador = true;
  EXPECT_EQ(util.RetornarNomeComputador(), "MONO");
}

TEST_F(Utilitarios, LoginComesFromWindowsThenFromTheTerminalClientLibrary) {
  f.sistema->usuario = "joão";
  EXPECT_EQ(util.RetornarLogin(), "joão");
  f.sistema->usuario = "";
  f.sistema->loginWindows = std::string(" maria\0", 7);
  EXPECT_EQ(util.RetornarLogin(), "maria");
  f.sistema->loginWindows = "";
  EXPECT_EQ(util.RetornarLogin(), "");
}

TEST_F(Utilitarios, FileNameOfAPath) {
  EXPECT_EQ(util.RetornarNomeArquivo("C:/A/B/Prog.Exe", true), "Prog");
  EXPECT_EQ(util.RetornarNomeArquivo("C:\\A\\B\\Prog.Exe", false), "Prog.Exe");
  EXPECT_EQ(util.RetornarNomeArquivo("  lib.tar.gz ", true), "lib.tar");
  EXPECT_EQ(util.RetornarNomeArquivo("C:\\A\\SemExtensao", true), "SemExtensao");
  EXPECT_EQ(util.RetornarNomeArquivo("C:\\A\\", true), "");
  const std::string comSequencia =
      std::string("C:\\KORA\\x.ocx") + std::string("\x11\x0F\x08\x00\x03\x00", 6) + "\\lixo";
  EXPECT_EQ(util.RetornarNomeArquivo(comSequencia, false), "x.ocx");
  // Only the whole sequence cuts.
  const std::string parcial = std::string("C:\\y.dll") + std::string("\x11\x0F\x08\x00", 4);
  EXPECT_EQ(util.RetornarNomeArquivo(parcial, true), "y");
}

TEST_F(Utilitarios, OperatingSystemCaptionAndVersionAreTrimmed) {
  f.sistema->nomeSo = " Microsoft Windows 11 Pro ";
  std::string nome, versao;
  EXPECT_TRUE(util.RetornarNomeSistemaOperacional(nome));
  EXPECT_TRUE(util.RetornarVersaoSistemaOperacional(versao));
  EXPECT_EQ(nome, "Microsoft Windows 11 Pro");
  EXPECT_EQ(versao, "10.0.19045");
  f.sistema->falhaSo = true;
  EXPECT_FALSE(util.RetornarVersaoSistemaOperacional(versao));
  EXPECT_EQ(versao, "");
  EXPECT_NE(util.ErroNumero(), 0);
}

// ---- files -------------------------------------------------------------------------------
TEST_F(Utilitarios, VersionResourceWordsAreSignedSixteenBitNumbers) {
  f.arquivos->CriarArquivo("C:\\W\\a.dll");
  f.arquivos->arquivos.at(ArquivosFalsos::Normalizar("C:\\W\\a.dll")).temVersao = true;
  f.arquivos->arquivos.at(ArquivosFalsos::Normalizar("C:\\W\\a.dll")).versao = {0x0002000Au, 0xFFFF8000u};
  DataHora data;
  std::string versao;
  EXPECT_TRUE(util.RetornarArquivoInfo("C:\\W\\a.dll", data, versao));
  EXPECT_EQ(versao, "2.10.-1.-32768");
  EXPECT_EQ(data, (DataHora{2026, 1, 2, 3, 4, 5}));
}

TEST_F(Utilitarios, AFileWithoutVersionKeepsAnEmptyVersionAndAMissingFileFails) {
  f.arquivos->CriarArquivo("C:\\W\\leia.txt");
  DataHora data;
  std::string versao = "x";
  EXPECT_TRUE(util.RetornarArquivoInfo("C:\\W\\leia.txt", data, versao));
  EXPECT_EQ(versao, "");
  EXPECT_FALSE(util.RetornarArquivoInfo("C:\\W\\falta.dll", data, versao));
  EXPECT_TRUE(data.Vazia());
  EXPECT_EQ(util.ErroNumero(), 53);
}

TEST_F(Utilitarios, AMissingWindowsLibraryFolderOpensItsHelpArticle) {
  LinksAjuda comLink;
  comLink.Definir("C20", "https://ajuda/c20");
  clsNKemRyxUtil u(f.ambiente, comLink);
  DataHora data;
  std::string versao;
  EXPECT_FALSE(u.RetornarArquivoInfo("P:\\Tavoran.win\\KORA\\WINDOWSLIBRARY\\x.dll", data, versao));
  ASSERT_EQ(f.shell->abertos.size(), 1u);
  EXPECT_EQ(f.shell->abertos[0].documento, "https://ajuda/c20");
  EXPECT_NE(u.ErroNumero(), 0);

  f.arquivos->CriarArquivo("P:\\Tavoran.win\\KORA\\WINDOWSLIBRARY\\x.dll");
  EXPECT_TRUE(u.RetornarArquivoInfo("P:\\Tavoran.win\\KORA\\WINDOWSLIBRARY\\x.dll", data, versao));
  // At the very start of the path the word is not the library folder.
  EXPECT_FALSE(u.RetornarArquivoInfo("WINDOWSLIBRARY\\y.dll", data, versao));
  EXPECT_EQ(f.shell->abertos.size(), 1u);
}

TEST_F(Utilitarios, FileAndFolderLookupsSeeHiddenEntriesAndTellFilesFromFolders) {
  f.arquivos->CriarArquivo("P:\\T\\oculto.dat", "", true);
  f.arquivos->CriarPastas("P:\\T\\Sub");
  EXPECT_TRUE(util.ArquivoExiste("P:\\T\\oculto.dat"));
  EXPECT_FALSE(util.ArquivoExiste("P:\\T\\Sub"));
  EXPECT_FALSE(util.ArquivoExiste(""));
  EXPECT_TRUE(util.PastaExiste("P:\\T\\Sub"));
  EXPECT_TRUE(util.PastaExiste("P:\\T\\Sub\\"));
  EXPECT_TRUE(util.PastaExiste("P:\\"));
  EXPECT_FALSE(util.PastaExiste("P:\\T\\oculto.dat"));
  EXPECT_FALSE(util.PastaExiste("P:\\T\\Nada"));
  EXPECT_FALSE(util.PastaExiste("Q:"));
}

TEST_F(Utilitarios, CopyAndDeleteReportTheFileSystemsError) {
  f.arquivos->CriarArquivo("C:\\o\\a.dll", "bytes");
  f.arquivos->CriarPastas("C:\\d");
  EXPECT_TRUE(util.CopiarArquivo("C:\\o\\a.dll", "C:\\d\\a.dll"));
  EXPECT_EQ(f.arquivos->Conteudo("C:\\d\\a.dll"), "bytes");
  f.arquivos->arquivos.at(ArquivosFalsos::Normalizar("C:\\d\\a.dll")).emUso = true;
  EXPECT_FALSE(util.CopiarArquivo("C:\\o\\a.dll", "C:\\d\\a.dll"));
  EXPECT_EQ(util.ErroNumero(), 70);
  EXPECT_EQ(util.ErroDescricao(), "Permissão negada (Rotina: CopiarArquivo)");
  EXPECT_FALSE(util.ExcluirArquivo("C:\\d\\a.dll"));
  EXPECT_EQ(util.ErroNumero(), 70);
  EXPECT_TRUE(f.arquivos->ExisteArquivo("C:\\d\\a.dll"));
  EXPECT_TRUE(util.ExcluirArquivo("C:\\o\\a.dll"));
  EXPECT_FALSE(f.arquivos->ExisteArquivo("C:\\o\\a.dll"));
  EXPECT_TRUE(util.ExcluirArquivo("C:\\o\\a.dll"));  // already gone
  EXPECT_EQ(util.ErroNumero(), 0);
}

// ---- Windows folders ---------------------------------------------------------------------
TEST_F(Utilitarios, SystemFolderPrefersSysWow64OverSystem32InTheCsidlWalk) {
  auto& c = f.pastasEspeciais->caminhos;
  c[36] = "C:\\Windows";
  c[37] = "C:\\Windows\\system32";
  c[41] = "C:\\Windows\\SysWOW64";
  EXPECT_EQ(util.RetornarPastaWindowsSystem(), "C:\\Windows\\SysWOW64");
  c.erase(41);
  EXPECT_EQ(util.RetornarPastaWindowsSystem(), "C:\\Windows\\system32");
  c[2] = "C:\\Users\\x\\system32 atalhos";  // the first match of the walk wins
  EXPECT_EQ(util.RetornarPastaWindowsSystem(), "C:\\Users\\x\\system32 atalhos");
  c[101] = "C:\\Fora\\SysWOW64";  // beyond the walk
  EXPECT_EQ(util.RetornarPastaWindowsSystem(), "C:\\Users\\x\\system32 atalhos");
  EXPECT_EQ(util.ErroNumero(), 0);
  EXPECT_EQ(util.RetornarPastaWindows(), "C:\\Windows");
  c.clear();
  EXPECT_EQ(util.RetornarPastaWindowsSystem(), "");
  EXPECT_EQ(util.ErroNumero(), 76);
}

TEST_F(Utilitarios, SpecialFolderFailuresNameTheFailingCall) {
  EXPECT_EQ(util.RetornarPastaEspecial(5), "");
  EXPECT_EQ(util.ErroNumero(), 106610);
  EXPECT_EQ(util.ErroDescricao(), "Falha executar API 'SHGetSpecialFolderLocation'. (Rotina: RetornarPastaEspecial)");
  f.pastasEspeciais->caminhos[5] = "C:\\Docs";
  f.pastasEspeciais->falhaCaminho.insert(5);
  EXPECT_EQ(util.RetornarPastaEspecial(5), "");
  EXPECT_EQ(util.ErroNumero(), 106611);
  EXPECT_EQ(util.ErroDescricao(), "Falha executar API 'SHGetPathFromIDList'. (Rotina: RetornarPastaEspecial)");
  f.pastasEspeciais->falhaCaminho.clear();
  f.pastasEspeciais->caminhos[5] = std::string("C:\\Docs\0lixo", 12);
  EXPECT_EQ(util.RetornarPastaEspecial(5), "C:\\Docs");
}

// ---- regional settings -------------------------------------------------------------------
TEST_F(Utilitarios, ShortDateIsForcedAndBroadcastOnlyWhenItDiffers) {
  bool alterado = true;
  EXPECT_TRUE(util.CorrigirConfiguracaoDataWindows(alterado));
  EXPECT_FALSE(alterado);
  EXPECT_EQ(f.janelas->difusoes, 0);
  f.regional->itens[kLocaleDataCurta] = "M/d/yyyy";
  EXPECT_TRUE(util.CorrigirConfiguracaoDataWindows(alterado));
  EXPECT_TRUE(alterado);
  EXPECT_EQ(f.regional->itens[kLocaleDataCurta], "dd/MM/yyyy");
  EXPECT_EQ(f.janelas->difusoes, 1);
}

TEST_F(Utilitarios, ShortDateFailures) {
  bool alterado = true;
  f.regional->idLocale = 0;
  EXPECT_FALSE(util.CorrigirConfiguracaoDataWindows(alterado));
  EXPECT_EQ(util.ErroNumero(), 107094);
  f.regional->idLocale = 1046;
  f.regional->itens[kLocaleDataCurta] = "d/M/yy";
  f.regional->falhaGravacao = true;
  EXPECT_FALSE(util.CorrigirConfiguracaoDataWindows(alterado));
  EXPECT_FALSE(alterado);
  EXPECT_EQ(util.ErroNumero(), 107091);
  EXPECT_EQ(f.janelas->difusoes, 0);
  f.regional->itens[kLocaleDataCurta] = "";
  EXPECT_FALSE(util.CorrigirConfiguracaoDataWindows(alterado));
  EXPECT_EQ(util.ErroNumero(), 0);
}

TEST_F(Utilitarios, RegionalSettingReadFailures) {
  f.regional->itens[14] = "Ç";
  EXPECT_EQ(util.RetornarConfigRegionalUsuario(1046, 14), "Ç");
  f.regional->falhaLeitura = true;
  EXPECT_EQ(util.RetornarConfigRegionalUsuario(1046, 14), "");
  EXPECT_EQ(util.ErroNumero(), 107093);
  f.regional->falhaTamanho = true;
  EXPECT_EQ(util.RetornarConfigRegionalUsuario(1046, 14), "");
  EXPECT_EQ(util.ErroNumero(), 107092);
  EXPECT_EQ(util.ErroDescricao(),
            "Falha imprevista ao ler informações locais do usuário. (Rotina: RetornarConfigRegionalUsuario)");
}

// ---- sorting, windows, versions ----------------------------------------------------------
TEST_F(Utilitarios, SortIsOrdinalAndCaseSensitive) {
  std::vector<std::string> nomes{"b", "B", "a", "á", "A (2026-01-02)", "A (2025-12-31)", ""};
  EXPECT_TRUE(util.OrdenarArrayString(nomes));
  EXPECT_EQ(nomes, (std::vector<std::string>{"", "A (2025-12-31)", "A (2026-01-02)", "B", "a", "b", "á"}));
  std::vector<std::string> vazio;
  EXPECT_TRUE(util.OrdenarArrayString(vazio));
}

TEST_F(Utilitarios, ManagerWindowIsFoundByTheFirst43LowerCaseCharacters) {
  bool emExecucao = true;
  f.janelas->titulos = {"Tavoran - Atualização", "Gerenciador de Aplicativos Tavoran"};
  EXPECT_TRUE(util.VerificarKemEmExecucao(1, emExecucao));
  EXPECT_FALSE(emExecucao);
  f.janelas->titulos.push_back("GERENCIADOR DE APLICATIVOS TAVORAN - VERSÃO 10.2.0");
  EXPECT_TRUE(util.VerificarKemEmExecucao(1, emExecucao));
  EXPECT_TRUE(emExecucao);
  f.janelas->titulos = {" Gerenciador de Aplicativos Tavoran - Versão"};
  EXPECT_TRUE(util.VerificarKemEmExecucao(1, emExecucao));
  EXPECT_FALSE(emExecucao);
  f.janelas->lancar = true;
  EXPECT_FALSE(util.VerificarKemEmExecucao(1, emExecucao));
  EXPECT_EQ(util.ErroNumero(), 5);
  EXPECT_EQ(util.ErroDescricao(), "Chamada de procedimento ou argumento inválido (Rotina: VerificarKemEmExecucao)");
}

TEST_F(Utilitarios, GreaterVersionComparesPartsAsNumbers) {
  auto maior = [&](const std::string& a, const std::string& b) {
    std::string m = "lixo";
    EXPECT_TRUE(util.RetornarVersaoMaior(a, b, m)) << a << " x " << b;
    return m;
  };
  EXPECT_EQ(maior("2.1.0", "2.10.0"), "2.10.0");
  EXPECT_EQ(maior("2.10.0", "2.9.0"), "2.10.0");
  EXPECT_EQ(maior("3.0", "3.0"), "");
  EXPECT_EQ(maior("3.0", "3.00"), "");
  EXPECT_EQ(maior("1.2", ""), "");
  EXPECT_EQ(maior("1.2", "   "), "");
  EXPECT_EQ(maior("", "1.0"), "1.0");
  EXPECT_EQ(maior("1.2", "1.2.5"), "");  // B's extra parts are ignored
  EXPECT_EQ(maior("1.3.0", "1.2"), "1.3.0");
  EXPECT_EQ(maior("1.2a.0", "1.2.0"), "");
  EXPECT_EQ(maior("1.x", "1.1"), "1.1");
  EXPECT_EQ(maior("6.-1.0.0", "6.0.0.0"), "6.0.0.0");
}

TEST_F(Utilitarios, GreaterVersionFailsWhenBHasFewerPartsAndTheSharedOnesAreEqual) {
  std::string m = "lixo";
  EXPECT_FALSE(util.RetornarVersaoMaior("2.1.0", "2.1", m));
  EXPECT_EQ(m, "");
  EXPECT_NE(util.ErroNumero(), 0);
  EXPECT_NE(util.ErroDescricao().find("(Rotina: RetornarVersaoMaior)"), std::string::npos);
}

// ---- drives, whitelist, processes, services -----------------------------------------------
TEST_F(Utilitarios, DriveMappingAcceptsTheAlreadyMappedResults) {
  for (std::uint32_t r : {0u, 85u, 1202u, 67u}) {
    f.unidades->resultado = r;
    EXPECT_TRUE(util.MapearDirT("\\\\srv\\dados", "P:")) << r;
  }
  for (std::uint32_t r : {5u, 53u, 1219u}) {
    f.unidades->resultado = r;
    EXPECT_FALSE(util.MapearDirT("\\\\srv\\dados", "P:")) << r;
    EXPECT_EQ(util.ErroNumero(), 0);
  }
  EXPECT_EQ(f.unidades->mapeamentos.back().remoto, "\\\\srv\\dados");
  EXPECT_EQ(f.unidades->mapeamentos.back().local, "P:");
}

TEST_F(Utilitarios, WhitelistIsAPlainSubstringTestOfTheUpperCaseName) {
  f.registro->DefinirTexto(kChaveDirT, "", "P:\\Tavoran.win");
  bool listado = true;
  EXPECT_FALSE(util.VerificarComponenteTavoran("c:\\x\\abc.dll", listado));
  EXPECT_FALSE(listado);
  EXPECT_EQ(util.ErroNumero(), 110635);
  EXPECT_EQ(util.ErroDescricao(),
            "Arquivo de controle de componentes não encontrado (Rotina: VerificarComponenteTavoran)");
  f.arquivos->CriarArquivo("P:\\Tavoran.win\\KORA\\Componentes\\componentes.whitelist",
                           "TAVXABC.DLLX\r\nA\xC7\xC3O.OCX\r\n");
  EXPECT_TRUE(util.VerificarComponenteTavoran("c:\\x\\abc.dll", listado));
  EXPECT_TRUE(listado);
  EXPECT_TRUE(util.VerificarComponenteTavoran("c:\\x\\ação.ocx", listado));
  EXPECT_TRUE(listado);
  EXPECT_TRUE(util.VerificarComponenteTavoran("c:\\x\\outro.dll", listado));
  EXPECT_FALSE(listado);
  EXPECT_TRUE(util.VerificarComponenteTavoran("c:\\x\\", listado));
  EXPECT_FALSE(listado);
}

TEST_F(Utilitarios, ProcessTestFindsTheFirstNameContainingTheTextInAnyCase) {
  f.processos->lista = {{1, "explorer.exe", "", 1}, {2, " TavAlerta.EXE ", "", 1}, {3, "tavale2.exe", "", 1}};
  bool emExecucao = false;
  std::string nome;
  EXPECT_TRUE(util.VerificarProcessoInicializado("TAVALE", emExecucao, nome));
  EXPECT_TRUE(emExecucao);
  EXPECT_EQ(nome, "tavalerta.exe");
  EXPECT_TRUE(util.VerificarProcessoInicializado("sqlservr", emExecucao, nome));
  EXPECT_FALSE(emExecucao);
  EXPECT_EQ(nome, "");
}

TEST_F(Utilitarios, ServiceStartTriesScThenNetWithTheShortName) {
  bool emExecucao = true;
  EXPECT_TRUE(util.IniciarServico("TavManagerSvc", "TavManager.exe", emExecucao));
  EXPECT_FALSE(emExecucao);
  ASSERT_EQ(f.shell->iniciados.size(), 2u);
  EXPECT_EQ(f.shell->iniciados[0].linha, "sc start TavManagerSvc");
  EXPECT_EQ(f.shell->iniciados[1].linha, "net start TAVMANAGER");
  EXPECT_EQ(f.shell->iniciados[1].estilo, EstiloJanela::Oculta);
  EXPECT_GE(f.visao->eventosProcessados, 2);

  // net start brings up the program: the second test looks for its first six characters.
  f.shell->iniciados.clear();
  f.shell->aoIniciar = [&](const std::string& linha) {
    if (linha.rfind("net start", 0) == 0) f.processos->lista = {{9, "TavMan.exe", "", 1}};
  };
  EXPECT_TRUE(util.IniciarServico("TavManagerSvc", "TavManager.exe", emExecucao));
  EXPECT_TRUE(emExecucao);

  // Running after sc start: net start is not tried.
  f.shell->iniciados.clear();
  f.processos->lista = {{9, "tavmanagersvc.exe", "", 1}};
  EXPECT_TRUE(util.IniciarServico("TavManagerSvc", "TavManager.exe", emExecucao));
  EXPECT_TRUE(emExecucao);
  EXPECT_EQ(f.shell->iniciados.size(), 1u);
}

// ---- default-data file -------------------------------------------------------------------
TEST_F(Utilitarios, HelpLinksComeFromTheItemsOfTheDefaultDataFile) {
  f.registro->DefinirTexto(kChaveDirT, "", "P:\\Tavoran.win");
  f.arquivos->CriarArquivo("P:\\Tavoran.win\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config",
                           "<?xml version=\"1.0\"?>\r\n<Config>\r\n"
                           "  <Item id=\"C1\" value=\"https://ajuda/c1?a=1&amp;b=2\"/>\r\n"
                           "  <Item id=\"C3\" value=\"https://ajuda/c3\"/>\r\n</Config>\r\n");
  EXPECT_TRUE(util.CarregarObjXml());
  EXPECT_EQ(util.RetornarLinkPadraoTavoran("C3"), "https://ajuda/c3");
  EXPECT_EQ(util.RetornarLinkPadraoTavoran("C2"), "");
  util.FinalizarComponenteChiilkat();
  EXPECT_EQ(util.RetornarLinkPadraoTavoran("C3"), "");
}

TEST_F(Utilitarios, AMissingOrMalformedDefaultDataFileGivesEmptyLinks) {
  f.registro->DefinirTexto(kChaveDirT, "", "P:\\Tavoran.win");
  EXPECT_TRUE(util.CarregarObjXml());
  EXPECT_EQ(util.RetornarLinkPadraoTavoran("C1"), "");
  f.arquivos->CriarArquivo("P:\\Tavoran.win\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config",
                           "<Config><Item id=\"C1\" value=\"x\"");
  EXPECT_TRUE(util.CarregarObjXml());
  EXPECT_EQ(util.RetornarLinkPadraoTavoran("C1"), "");
  f.xml->falhaCriar = {429, "O componente ActiveX não pode criar o objeto"};
  EXPECT_FALSE(util.CarregarObjXml());
  EXPECT_EQ(util.ErroNumero(), 429);
  EXPECT_EQ(util.RetornarLinkPadraoTavoran("C1"), "");
}

}  // namespace
}  // namespace tavoran::testes
