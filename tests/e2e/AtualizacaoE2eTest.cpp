// The first complete run on the test workstation: version verification, the update
// decision, the lock file and the recording of the workstation, with the real engine.
#include <winsock2.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "btrieve/clsTavBtr20.h"
#include "platform/win32/ArquivosWin32.h"
#include "platform/win32/BtrieveWin32.h"
#include "records/clsRyxMaqBloqueio.h"
#include "tests/e2e/EstacaoTeste.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

const std::string kInicio = "Não será possível abrir o Gerenciador de Aplicativos Tavoran.\r\n\r\n";
const std::string kFim = "Ao clicar em OK será exibido o procedimento para correção desta situação.";

class AtualizacaoE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { estacao.Preparar(); }
  std::string Programa() const { return estacao.DirT() + "\\TAVORAN.EXE"; }
  std::string LinhaKemCriaArq() const {
    return "KemCriaArq.exe|" + estacao.DirT() + "\\KemCriaArq.exe 418207," + estacao.DirT() + "\\TAVORAN.EXE\r\n";
  }
  std::string Comandos(const std::string& esperado) {
    for (int i = 0; i < 100 && estacao.Comandos().find(esperado) == std::string::npos; ++i) Sleep(100);
    return estacao.Comandos();
  }
  // The workstation's line of the status file, as tavadmin lists it.
  std::string Estacao() {
    std::string saida;
    estacao.Tavadmin("estacoes " + estacao.DirT(), &saida);
    const auto p = saida.find(estacao.NomeComputador());
    if (p == std::string::npos) return "";
    return saida.substr(p, saida.find_first_of("\r\n", p) - p);
  }
  // Runs to a clean end, answering the single box expected on the way; returns its text.
  std::string UmaCaixa() {
    ExecucaoTavoran tavoran(Programa(), "");
    const auto caixa = tavoran.EsperarCaixa();
    if (!caixa) return "";
    ExecucaoTavoran::Responder(*caixa);
    EXPECT_TRUE(tavoran.EsperarFim());
    EXPECT_EQ(tavoran.CodigoSaida(), 0u);
    return caixa->texto;
  }

  EstacaoTeste estacao;
  win32::ArquivosWin32 arquivos;
  std::unique_ptr<IBtrieve> btrieve = CriarBtrieveWin32(PastaDoTeste() + "\\wbtrv32.dll");
};

TEST_F(AtualizacaoE2eTest, MissingVersionFileShowsItsBoxAndOpensTheArticleOnOk) {
  DeleteFileA((estacao.DirT() + "\\KEMVERSAO.BTR").c_str());
  EXPECT_EQ(UmaCaixa(), kInicio + "107719 - O arquivo '" + estacao.DirT() + "\\KEMVERSAO.BTR' não foi encontrado.\r\n\r\n" + kFim);
  EXPECT_THAT(Comandos("C17"), ::testing::HasSubstr("NavegadorFalso.exe|"));
  EXPECT_THAT(estacao.Comandos(), ::testing::HasSubstr("https://ajuda.tavoran.com.br/artigos/C17"));
  EXPECT_THAT(estacao.Comandos(), ::testing::Not(::testing::HasSubstr("KemCriaArq.exe|")));
}

TEST_F(AtualizacaoE2eTest, OutdatedProgramIsListedWithItsExpectedVersion) {
  estacao.InstalarVersoes("1.0.0.1");
  EXPECT_EQ(UmaCaixa(), kInicio + "107720 - O(s) seguinte(s) arquivo(s) está(ão) desatualizado(s):\r\n\r\n" +
                            "TAVORAN2.EXE - Versão Esperada: 1.0.0.1\r\n\r\n" + kFim);
  EXPECT_THAT(Comandos("C18"), ::testing::HasSubstr("https://ajuda.tavoran.com.br/artigos/C18"));
}

TEST_F(AtualizacaoE2eTest, MissingProgramWinsOverAnOutdatedOne) {
  estacao.InstalarVersoes("1.0.0.1");
  DeleteFileA((estacao.DirT() + "\\KEM\\KEMGRAVAARQUIVOWSE.EXE").c_str());
  EXPECT_EQ(UmaCaixa(), kInicio + "107721 - O(s) seguinte(s) arquivo(s) não foi(ram) encontrado(s):\r\n\r\n" +
                            estacao.DirT() + "\\KEM\\KEMGRAVAARQUIVOWSE.EXE\r\n\r\n" + kFim);
}

// Foreign bytes in the record files: the engine answers a status, the start stops with its box.
TEST_F(AtualizacaoE2eTest, DamagedVersionFileIsShownWithTheEnginesStatus) {
  GravarArquivo(estacao.DirT() + "\\KEMVERSAO.BTR", std::string(6000, '\x5A'));
  const std::string sufixo = " - Falha na leitura do arquivo '" + estacao.DirT() + "\\KEMVERSAO.BTR'.\r\n\r\n" + kFim;
  EXPECT_THAT(UmaCaixa(), ::testing::AnyOf(kInicio + "Erro 2" + sufixo, kInicio + "Erro 30" + sufixo));
  EXPECT_THAT(estacao.Comandos(), ::testing::Not(::testing::HasSubstr("KemCriaArq.exe|")));
}

TEST_F(AtualizacaoE2eTest, DamagedStatusFileGetsTheGenericErrorAndNoUpdate) {
  GravarArquivo(estacao.DirT() + "\\SELVCOMP.BTR", std::string(6000, '\x5A'));
  const std::string caixa = UmaCaixa();
  EXPECT_THAT(caixa, ::testing::StartsWith("Falha imprevista na rotina VerificarPrecisaAtualizarComponentes"));
  EXPECT_THAT(caixa, ::testing::HasSubstr("Erro ao abrir arquivo 'SELVCOMP.BTR': "));
  EXPECT_EQ(estacao.Comandos(), "");
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));
}

TEST_F(AtualizacaoE2eTest, FirstStartUpdatesUnderTheLockRecordsTheWorkstationAndStartsTheManager) {
  ExecucaoTavoran tavoran(Programa(), "");
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_TRUE(tavoran.caixasVistas.empty());
  EXPECT_EQ(Comandos(LinhaKemCriaArq()), LinhaKemCriaArq());
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));  // closed and deleted
  const std::string linha = Estacao();
  EXPECT_THAT(linha, ::testing::HasSubstr(" 1 "));
  EXPECT_THAT(linha, ::testing::EndsWith("0"));
  // The update report holds the notice of an update that had nothing to do.
  const auto relatorios = estacao.Arquivos(estacao.DirT() + "\\Logs\\RYX");
  ASSERT_EQ(relatorios.size(), 1u);
}

TEST_F(AtualizacaoE2eTest, CurrentRecordStartsTheManagerWithoutAnyUpdate) {
  ASSERT_EQ(estacao.Tavadmin("gravar-estacao " + estacao.DirT() + " " + estacao.NomeComputador() +
                             " 1 20261101 08:00:00 joao 0"),
            0);
  ExecucaoTavoran tavoran(Programa(), "");
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_TRUE(tavoran.caixasVistas.empty());
  EXPECT_EQ(Comandos(LinhaKemCriaArq()), LinhaKemCriaArq());
  EXPECT_TRUE(estacao.Arquivos(estacao.DirT() + "\\Logs\\RYX").empty());  // no update report
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));
}

TEST_F(AtualizacaoE2eTest, ForcedRecordEndsWithItsFlagClearedAndTheRestKept) {
  ASSERT_EQ(estacao.Tavadmin("gravar-estacao " + estacao.DirT() + " " + estacao.NomeComputador() +
                             " 1 20250101 07:00:00 joao 1"),
            0);
  ExecucaoTavoran tavoran(Programa(), "");
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_EQ(Comandos(LinhaKemCriaArq()), LinhaKemCriaArq());
  const std::string linha = Estacao();
  EXPECT_THAT(linha, ::testing::HasSubstr("20250101"));
  EXPECT_THAT(linha, ::testing::HasSubstr("07:00:00"));
  EXPECT_THAT(linha, ::testing::HasSubstr("joao"));
  EXPECT_THAT(linha, ::testing::EndsWith("0"));
}

TEST_F(AtualizacaoE2eTest, LockHeldByAnotherProcessRefusesTheStart) {
  clsRyxMaqBloqueio outro(*btrieve, arquivos);
  outro.Diretorio(estacao.DirT());
  outro.MaquinaNome(estacao.NomeComputador());
  ASSERT_TRUE(outro.Criar()) << outro.ErroDescricao();
  ASSERT_TRUE(outro.Abrir(OperacaoBtrieve::kModoExclusivo, "")) << outro.ErroDescricao();
  EXPECT_EQ(UmaCaixa(),
            "ExecutarVerificacoesTerminalService - A atualização de componentes se encontra em execução por outra "
            "estação via Terminal Service.\r\nTente novamente mais tarde.");
  EXPECT_EQ(estacao.Comandos(), "");
  EXPECT_EQ(Estacao(), "");  // not recorded
}

TEST_F(AtualizacaoE2eTest, StaleLockFileLeftByAKilledRunDoesNotBlock) {
  {
    clsRyxMaqBloqueio velho(*btrieve, arquivos);
    velho.Diretorio(estacao.DirT());
    velho.MaquinaNome(estacao.NomeComputador());
    ASSERT_TRUE(velho.Criar()) << velho.ErroDescricao();
  }
  ASSERT_TRUE(Existe(estacao.ArquivoBloqueio()));
  ExecucaoTavoran tavoran(Programa(), "");
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_TRUE(tavoran.caixasVistas.empty());
  EXPECT_EQ(Comandos(LinhaKemCriaArq()), LinhaKemCriaArq());
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));
}

}  // namespace
}  // namespace tavoran::testes

namespace tavoran::testes {
namespace {

// A listener on the loopback address, as the engine's port on this computer.
class Escuta {
 public:
  explicit Escuta(unsigned short porta) {
    WSADATA w;
    WSAStartup(MAKEWORD(2, 2), &w);
    s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(porta);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ok_ = bind(s_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(s_, 8) == 0;
  }
  ~Escuta() {
    closesocket(s_);
    WSACleanup();
  }
  bool Ok() const { return ok_; }

 private:
  SOCKET s_;
  bool ok_ = false;
};

class DiagnosticoE2eTest : public AtualizacaoE2eTest {
 protected:
  // Runs a start whose engine cannot be reached (no wbtrv32.dll answers 3012) from dirT and
  // hands back the inconsistency report it left.
  std::string DiagnosticoDe(const std::string& dirT) {
    DeleteFileA((estacao.DirT() + "\\wbtrv32.dll").c_str());
    ExecucaoTavoran tavoran(dirT + "\\TAVORAN.EXE", "");
    EXPECT_TRUE(tavoran.EsperarFim(90000));
    EXPECT_TRUE(tavoran.caixasVistas.empty());
    EXPECT_THAT(estacao.Comandos(), ::testing::Not(::testing::HasSubstr("KemCriaArq.exe|")));
    return estacao.RelatorioDeInconsistencias();
  }
};

TEST_F(DiagnosticoE2eTest, LocalDriveIsDiagnosedAgainstThisComputersPorts) {
  Escuta porta3351(3351);
  ASSERT_TRUE(porta3351.Ok());
  const std::string html = DiagnosticoDe(estacao.DirT());
  EXPECT_THAT(html, ::testing::HasSubstr("3012 - Falha ao se conectar com a(s) porta(s): 1583.</td>"));
  EXPECT_THAT(html, ::testing::HasSubstr("artigos/C11"));  // the article of a closed engine port
}

// N: is the share \\localhost\tavoran: the server is named by the share, resolved and tested.
TEST_F(DiagnosticoE2eTest, MappedShareOfThisHostNamesOnlyTheClosedPort) {
  ASSERT_EQ(GetDriveTypeA("N:\\"), static_cast<UINT>(DRIVE_REMOTE)) << "the test prefix maps N: as a network drive";
  Escuta porta3351(3351);
  ASSERT_TRUE(porta3351.Ok());
  estacao.UsarUnidadeDeRede();
  const std::string html = DiagnosticoDe(EstacaoTeste::kDirTRede);
  EXPECT_THAT(html, ::testing::HasSubstr("Falha ao conectar com as portas do banco de dados no servidor."));
  EXPECT_THAT(html, ::testing::HasSubstr("3012 - Falha ao se conectar com a(s) porta(s): 1583.</td>"));
  EXPECT_THAT(html, ::testing::HasSubstr("artigos/C11"));
}

// Only in a network namespace whose loopback ignores echo requests (servidor-mudo.sh): the
// server of the share does not answer the ping, so its ports are not tested although open.
TEST_F(DiagnosticoE2eTest, SilentServerOfTheShareIsANetworkFault) {
  char marca[8] = {};
  if (GetEnvironmentVariableA("TAV_E2E_SERVIDOR_MUDO", marca, sizeof marca) == 0)
    GTEST_SKIP() << "runs only under tests/e2e/servidor-mudo.sh";
  Escuta porta3351(3351), porta1583(1583);
  ASSERT_TRUE(porta3351.Ok() && porta1583.Ok());
  estacao.UsarUnidadeDeRede();
  const std::string html = DiagnosticoDe(EstacaoTeste::kDirTRede);
  EXPECT_THAT(html, ::testing::HasSubstr("Existe uma falha de comunicação de rede com o seu servidor."));
  EXPECT_THAT(html, ::testing::HasSubstr("3012 - Falha ao se conectar com o servidor: localhost.</td>"));
  EXPECT_THAT(html, ::testing::HasSubstr("artigos/C10"));  // the article of a network fault
  EXPECT_THAT(html, ::testing::Not(::testing::HasSubstr("a(s) porta(s)")));
}

}  // namespace
}  // namespace tavoran::testes
