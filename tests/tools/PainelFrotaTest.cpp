// tavadmin painel over a real share: the status file and the lock files through the record
// classes and the native engine, the report files on disk.
#ifdef TAV_MOTOR_EMBUTIDO

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "engine/MotorBtrieve.h"
#include "platform/Texto.h"
#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"
#include "tests/fakes/Falsos.h"
#include "tests/reports/Golden.h"
#include "tools/tavadmin/ArquivosFerramenta.h"
#include "tools/tavadmin/CaminhosBtrieve.h"
#include "tools/tavadmin/ComandosTavadmin.h"

namespace tavoran::tavadmin {
namespace {

namespace fs = std::filesystem;
namespace Op = OperacaoBtrieve;
using ::testing::HasSubstr;

class PainelFrota : public ::testing::Test {
 protected:
  PainelFrota() : btrieve(std::make_unique<MotorBtrieve>()) {
    char modelo[] = "/tmp/tav-painel-XXXXXX";
    pasta = mkdtemp(modelo);
    fs::create_directories(pasta + "/Logs/RYX/Erros");
    relogio.agora = {2026, 12, 8, 9, 30, 0};
  }
  ~PainelFrota() override { fs::remove_all(pasta); }

  void GravarEstacoes(std::initializer_list<std::array<const char*, 6>> estacoes) {
    clsSelVcomp status(btrieve, arquivos);
    status.Diretorio(pasta);
    ASSERT_TRUE(status.Criar()) << status.ErroDescricao();
    ASSERT_TRUE(status.Abrir(Op::kModoNormal, "")) << status.ErroDescricao();
    for (const auto& e : estacoes) {
      status.AdicionarNovo();
      status.Maquina(e[0]);
      status.Status(e[1]);
      status.Data(e[2]);
      status.Hora(e[3]);
      status.Usuario(e[4]);
      status.ForcarAtualizaComponentes(e[5]);
      ASSERT_TRUE(status.Gravar()) << status.ErroDescricao();
    }
  }
  void CriarArquivos(std::initializer_list<const char*> relativos) {
    for (const char* r : relativos) std::ofstream(pasta + "/" + r) << "<html></html>\r\n";
  }
  std::unique_ptr<clsRyxMaqBloqueio> Bloqueio(const std::string& maquina) {
    auto b = std::make_unique<clsRyxMaqBloqueio>(btrieve, arquivos);
    b->Diretorio(pasta);
    b->MaquinaNome(maquina);
    return b;
  }
  int Painel(const std::string& pagina) {
    saida.str("");
    erros.str("");
    Contexto c{btrieve, arquivos, saida, erros};
    c.relogio = &relogio;
    return Executar({"painel", pasta, pagina}, c);
  }
  std::string Ler(const std::string& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary);
    std::ostringstream bytes;
    bytes << entrada.rdbuf();
    return bytes.str();
  }

  std::string pasta;
  CaminhosBtrieve btrieve;
  ArquivosFerramenta arquivos;
  testes::RelogioFalso relogio;
  std::ostringstream saida, erros;
};

TEST_F(PainelFrota, PageOfAShareMatchesTheGoldenFileAndLeavesTheLocksAsTheyWere) {
  GravarEstacoes({{"WS01", "1", "20261208", "09:05:07", "joão", "0"},
                  {"WS02", "1", "20261120", "14:00:00", "ana <&> 'x'", "1"},
                  {"WS03", "1", "20261130", "07:00:00", "maria", "1"}});
  CriarArquivos({"Logs/RYX/WS01 (2026-12-01_08-00-00).HTML", "Logs/RYX/WS01 (2026-12-08_09-05-07).HTML",
                 "Logs/RYX/ws01 (2026-12-05_10-00-00).html",          // any case
                 "Logs/RYX/WS02 (2026-11-09_10-00-00).HTML",          // the chart's first day
                 "Logs/RYX/WS02 (2026-11-08_23-59-59).HTML",          // a day before the chart
                 "Logs/RYX/Erros/WS02 (2026-11-20_14-00-01).HTML",    //
                 "Logs/RYX/NOVA ESTACAO (2026-12-08_08-00-00).HTML",  // no status record: its update failed
                 "Logs/RYX/Erros/NOVA ESTACAO (2026-12-08_08-00-09).HTML", "Logs/RYX/leia-me.HTML",
                 "Logs/RYX/WS01 (2026-12-09).HTML", "Logs/RYX/Erros/WS03.HTML"});
  auto emUso = Bloqueio("WS02");
  ASSERT_TRUE(emUso->Criar());
  ASSERT_TRUE(emUso->Abrir(Op::kModoExclusivo, "")) << emUso->ErroDescricao();
  ASSERT_TRUE(Bloqueio("ws03")->Criar());

  const std::string pagina = pasta + "/painel.html";
  ASSERT_EQ(Painel(pagina), kSaidaOk) << erros.str();
  EXPECT_THAT(saida.str(), HasSubstr("3 estações, 2 arquivo(s) de bloqueio."));
  const std::string bytes = Ler(pagina);
  EXPECT_EQ(Substituir(bytes, pasta, "@DIRT@"), testes::LerGolden("painel.html"));

  EXPECT_FALSE(Bloqueio("WS02")->Abrir(Op::kModoNormal, ""));    // the update still holds its lock
  EXPECT_TRUE(Bloqueio("WS03")->Abrir(Op::kModoExclusivo, ""));  // the check let the stale one go

  ASSERT_EQ(Painel(pagina), kSaidaOk) << erros.str();
  EXPECT_EQ(Ler(pagina), bytes);  // a second run replaces the page
}

TEST_F(PainelFrota, LinksReachTheReportsFromAPageInAnotherFolder) {
  GravarEstacoes({{"WS01", "1", "20261208", "09:05:07", "joão", "0"}});
  CriarArquivos({"Logs/RYX/WS01 (2026-12-08_09-05-07).HTML"});
  fs::create_directories(pasta + "/saída nova");
  ASSERT_EQ(Painel(pasta + "/saída nova/p.html"), kSaidaOk) << erros.str();
  EXPECT_THAT(Ler(pasta + "/saída nova/p.html"),
              HasSubstr("<a href='../Logs/RYX/WS01%20%282026-12-08_09-05-07%29.HTML'>"));
}

TEST_F(PainelFrota, BadInputFailsWithAMessageAndWritesNoPage) {
  const std::string pagina = pasta + "/painel.html";
  EXPECT_EQ(Painel(pagina), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("SELVCOMP.BTR\" não existe."));

  std::ofstream(pasta + "/SELVCOMP.BTR") << std::string(4096, 'x');
  EXPECT_EQ(Painel(pagina), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("está danificado ou não é um arquivo Btrieve"));
  EXPECT_FALSE(fs::exists(pagina));

  fs::remove(pasta + "/SELVCOMP.BTR");
  GravarEstacoes({{"WS01", "1", "20261208", "09:05:07", "joão", "0"}});
  {
    clsSelVcomp dono(btrieve, arquivos);
    dono.Diretorio(pasta);
    ASSERT_TRUE(dono.Abrir(Op::kModoExclusivo, ""));
    EXPECT_EQ(Painel(pagina), kSaidaFalha);
    EXPECT_THAT(erros.str(), HasSubstr("modo exclusivo por outro processo (status 88)"));
  }
  EXPECT_EQ(Painel(pasta + "/Logs"), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("é uma pasta"));
  EXPECT_TRUE(fs::is_directory(pasta + "/Logs/RYX/Erros"));
  EXPECT_EQ(Painel(pasta + "/nao-existe/painel.html"), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("Não foi possível gravar a página"));
  EXPECT_FALSE(fs::exists(pagina));
}

}  // namespace
}  // namespace tavoran::tavadmin

#endif
