// The suite's resident programs stopped before an update and started again after it, and the
// SQL Server instance of the suite's configuration, on a workstation of fakes whose processes
// come and go as commands start.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

using Lista = std::vector<std::string>;

constexpr const char* kPerguntaIntegracao =
    "Não foi possível iniciar o serviço 'Tavoran Serviço de Integração', deseja tentar novamente?";
constexpr const char* kConfiguracaoSql = "P:\\Tavoran.win\\Kem\\DefXML\\TavoranConfig.xml";

class ServicosProcessos : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(c.Inicializar());
    c.f.shell->aoIniciar = [this](const std::string& linha) {
      const auto e = efeitos.find(linha);
      if (e != efeitos.end()) pendentes.push_back(e->second);
    };
    c.f.processos->aoListar = [this] {
      for (auto& p : pendentes)
        if (p.listagens > 0 && --p.listagens == 0) p.mudanca();
    };
  }

  // Once the command has started, the change happens just before the given snapshot after it
  // (1: the first check already sees it).
  void AoComando(const std::string& comando, int listagens, std::function<void()> mudanca) {
    efeitos[comando] = {listagens, std::move(mudanca)};
  }
  std::function<void()> Termina(const std::string& nome) {
    return [this, nome] { c.f.processos->Remover(nome); };
  }
  std::function<void()> Inicia(const std::string& nome) {
    return [this, nome] { c.f.processos->Adicionar(nome); };
  }

  Lista Comandos() const {
    Lista linhas;
    for (const auto& i : c.f.shell->iniciados) {
      EXPECT_EQ(i.estilo, EstiloJanela::Oculta) << i.linha;
      linhas.push_back(i.linha);
    }
    return linhas;
  }
  long Quantas(const std::string& linha) const {
    const Lista l = Comandos();
    return std::count(l.begin(), l.end(), linha);
  }
  void EsperarUmaPergunta(std::size_t i, const std::string& texto) const {
    ASSERT_LT(i, c.f.visao->caixas.size());
    const auto& caixa = c.f.visao->caixas[i];
    EXPECT_EQ(caixa.texto, texto);
    EXPECT_EQ(caixa.titulo, "Atenção");
    EXPECT_EQ(caixa.botoes, BotoesCaixa::SimNao);
    EXPECT_EQ(caixa.icone, IconeCaixa::Pergunta);
  }

  struct Efeito {
    int listagens = 0;
    std::function<void()> mudanca;
  };
  Cenario c;
  std::map<std::string, Efeito> efeitos;
  std::vector<Efeito> pendentes;
};

// A service that needs a few checks to stop or to start is not escalated: no kill, no question.
TEST_F(ServicosProcessos, SlowServiceStopsAndStartsOnItsFirstCommandAndOnlyServicesThatRanStartAgain) {
  c.f.processos->Adicionar("TAVALERTAS.EXE", "C:\\Tavoran\\TAVALERTAS.EXE");
  c.f.processos->Adicionar("TAVMANAGER.EXE", "C:\\Tavoran\\TAVMANAGER.EXE");
  AoComando("net stop TAVALERTAS", 1, Termina("TAVALERTAS.EXE"));
  AoComando("net stop TAVMANAGER", 6, Termina("TAVMANAGER.EXE"));
  AoComando("sc start TAVMANAGER", 4, Inicia("TAVMANAGER.EXE"));

  EXPECT_TRUE(c.janela->FinalizarServicos());
  EXPECT_TRUE(c.janela->InicializarProcessos());

  EXPECT_EQ(Comandos(), (Lista{"net stop TAVALERTAS", "net stop TAVMANAGER", "sc start TAVMANAGER"}));
  EXPECT_TRUE(c.f.processos->terminados.empty());
  EXPECT_TRUE(c.f.visao->caixas.empty());
  const Lista& t = c.f.visao->textos;
  EXPECT_EQ(Lista(t.end() - 4, t.end()), (Lista{"Finalizando Serviços", "", "Inicializando Serviços", ""}));
}

// Each means is tried in turn; a program that survives all of them leads to the question, and
// No lets the update go on.
TEST_F(ServicosProcessos, ProgramThatNeverStopsIsAskedAboutAndNoLetsTheUpdateGoOn) {
  c.f.processos->Adicionar("TAVALERTAS.EXE", "C:\\Tavoran\\TAVALERTAS.EXE");  // ends when terminated
  const auto teimoso = c.f.processos->Adicionar("TAVINTEGCNPJ.EXE", "C:\\Tavoran\\TAVINTEGCNPJ.EXE");
  c.f.processos->recusamTerminar.insert(teimoso);
  c.f.visao->respostas = {kBotaoSim, kBotaoNao};

  EXPECT_TRUE(c.janela->FinalizarServicos());

  const Lista rodada{"net stop TAVINTEGCNPJ", "sc stop TAVINTEGCNPJ", "taskkill -f -im tavintegcnpj.exe"};
  Lista esperados{"net stop TAVALERTAS", "sc stop TAVALERTAS"};
  esperados.insert(esperados.end(), rodada.begin(), rodada.end());
  esperados.insert(esperados.end(), rodada.begin(), rodada.end());
  EXPECT_EQ(Comandos(), esperados);
  EXPECT_EQ(c.f.processos->terminados.size(), 1u);  // TAVALERTAS, by the third means
  ASSERT_EQ(c.f.visao->caixas.size(), 2u);
  EsperarUmaPergunta(0, "Não foi possível finalizar o serviço 'TAVINTEGCNPJ', deseja tentar novamente?");
}

TEST_F(ServicosProcessos, NameWithBlanksIsQuotedInEveryCommandAndTheKillCheckUsesTheServicesStart) {
  const auto id = c.f.processos->Adicionar("TAVINTEG CNPJ.EXE", "C:\\Tavoran\\TAVINTEG CNPJ.EXE");
  c.f.processos->recusamTerminar.insert(id);
  AoComando("taskkill -f -im \"tavinteg cnpj.exe\"", 1, Termina("TAVINTEG CNPJ.EXE"));

  EXPECT_TRUE(c.janela->FinalizarServicos());

  EXPECT_EQ(Comandos(), (Lista{"net stop \"TAVINTEG CNPJ\"", "sc stop \"TAVINTEG CNPJ\"",
                               "taskkill -f -im \"tavinteg cnpj.exe\""}));
  EXPECT_TRUE(c.f.visao->caixas.empty());
}

// Ten tries between two questions: each Yes grants ten more, the first No ends the tries.
TEST_F(ServicosProcessos, IntegrationAgentThatNeverStartsIsAskedAboutEveryTenTries) {
  c.f.processos->Adicionar("Zqp.Integration.Agent.exe", "C:\\Zqp\\Zqp.Integration.Agent.exe");
  AoComando("net stop ZQP.INTEGRATION.AGENT", 1, Termina("Zqp.Integration.Agent.exe"));
  ASSERT_TRUE(c.janela->FinalizarServicos());
  c.f.visao->respostas = {kBotaoSim, kBotaoNao};

  EXPECT_TRUE(c.janela->InicializarProcessos());

  EXPECT_EQ(Quantas("sc start \"Tavoran Serviço de Integração\""), 20);
  EXPECT_EQ(Quantas("net start \"Tavoran Serviço de Integração\""), 20);
  ASSERT_EQ(c.f.visao->caixas.size(), 2u);
  EsperarUmaPergunta(0, kPerguntaIntegracao);
  EsperarUmaPergunta(1, kPerguntaIntegracao);
}

// ---- the SQL Server instance ---------------------------------------------------------------

std::string Utf16(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char ch : ascii) bytes += std::string{ch, '\0'};
  return bytes;
}

TEST(InstanciaSql, TheServerLineNamesTheServiceStartedAfterTheUpdate) {
  const std::string linhas = "<?xml version=\"1.0\"?>\r\n<Config>\r\n  <Banco>Tavoran</Banco>\r\n";
  const struct {
    std::string conteudo, servico;
  } casos[] = {
      {linhas + "  <Servidor>SRV01\\SQLEXPRESS</Servidor>\r\n</Config>", "MSSQL$SQLEXPRESS"},
      {linhas + "  <Servidor>SRV01</Servidor>\r\n</Config>", "MSSQL$SRV01"},
      {linhas + "  <Servidor>SRV01:1433</Servidor>\r\n", "MSSQL$SRV01"},
      {linhas + "<Servidor>SRV01\\SQLEXPRESS:1433</Servidor>\n", "MSSQL$SQLEXPRESS"},
      {linhas + "  <Servidor>SRV01\\</Servidor>\r\n", ""},  // an empty instance
      {linhas + "</Config>", ""},                           // no server line
      {Utf16(linhas + "  <Servidor>SRV01\\SQLEXPRESS</Servidor>\r\n"), "MSSQL$SQLEXPRESS"},
      {"\xEF\xBB\xBF<Servidor>SRV01\\TAV 2</Servidor>", "\"MSSQL$TAV 2\""},
      {std::string("\x00\x01\xFE", 3), ""},
  };
  for (const auto& caso : casos) {
    Cenario c;
    ASSERT_TRUE(c.Inicializar());
    c.f.arquivos->CriarArquivo(kConfiguracaoSql, caso.conteudo);
    EXPECT_TRUE(c.janela->InicializarProcessos());
    std::vector<std::string> linhas;
    for (const auto& i : c.f.shell->iniciados) linhas.push_back(i.linha);
    if (caso.servico.empty())
      EXPECT_TRUE(linhas.empty()) << caso.conteudo;
    else
      EXPECT_EQ(linhas, (Lista{"sc start " + caso.servico, "net start " + caso.servico})) << caso.conteudo;
    EXPECT_TRUE(c.f.visao->caixas.empty());
  }
}

}  // namespace
}  // namespace tavoran::testes
