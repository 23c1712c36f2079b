// The workstation's copy of the pages: a file nobody changed is read from the copy, and
// anything that changed the file (a commit of another open, a restored file whose header
// looks the same, a damaged copy) sends the reads back to the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/ArquivoSO.h"
#include "engine/Contadores.h"
#include "engine/CopiaLocal.h"
#include "tests/engine/Auxiliar.h"

namespace tavoran::testes {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRegistro = 64;
constexpr int kRegistros = 3000;  // three levels of index pages

std::string Chave(int n) { return Campo(Rotulo("K", 100000 + n), 10); }
std::string Registro(int n, const std::string& valor) { return Campo(Chave(n) + valor, kRegistro); }

struct CopiaLocalTest : ::testing::Test {
  PastaTemporaria pasta;
  // Two folders that do not exist yet: the first copy creates both.
  std::string copias = pasta.Arquivo("local") + motor::ArquivoSO::kSeparador + "Btrieve";
  AmbienteTemporario ambiente{"TAV_BTRIEVE_COPIAS", copias.c_str()};
  std::string arquivo = pasta.Arquivo("SELVCOMP.BTR");

  void SetUp() override {
    ASSERT_EQ(ArquivoTeste::Criar(arquivo, Especificacao(kRegistro, 4096, 1, {{1, 10, 0}})), 0);
    ArquivoTeste a;
    ASSERT_EQ(a.Abrir(arquivo), 0);
    ASSERT_EQ(a.Chamar(19), 0);
    for (int n = 0; n < kRegistros; ++n) ASSERT_EQ(a.Inserir(Registro(n, "original")), 0);
    ASSERT_EQ(a.Chamar(20), 0);
    ASSERT_EQ(a.Fechar(), 0);
  }

  // Opens, reads the records asked for, closes; the values read, and the pages fetched
  // from the file meanwhile.
  std::vector<std::string> Consultar(const std::vector<int>& numeros, std::uint64_t* paginasDoArquivo = nullptr) {
    const std::uint64_t antes = motor::ContadoresMotor().paginasLidas.load();
    ArquivoTeste a;
    std::vector<std::string> valores;
    EXPECT_EQ(a.Abrir(arquivo), 0);
    for (int n : numeros) {
      EXPECT_EQ(a.Ler(5, Chave(n)), 0);
      valores.push_back(a.Registro(kRegistro).substr(10, 10));
    }
    EXPECT_EQ(a.Fechar(), 0);
    if (paginasDoArquivo) *paginasDoArquivo = motor::ContadoresMotor().paginasLidas.load() - antes;
    return valores;
  }

  void Alterar(int n, const std::string& valor) {
    ArquivoTeste a;
    ASSERT_EQ(a.Abrir(arquivo), 0);
    ASSERT_EQ(a.Ler(5, Chave(n)), 0);
    ASSERT_EQ(a.Alterar(Registro(n, valor)), 0);
    ASSERT_EQ(a.Fechar(), 0);
  }

  std::string ArquivoDaCopia() const {
    for (const auto& e : fs::directory_iterator(copias))
      if (e.path().extension() == ".tcl") return e.path().string();
    return {};
  }
};

TEST_F(CopiaLocalTest, AnUnchangedFileIsReadFromTheCopyAndAnyCommitSendsReadsBackToTheFile) {
  std::uint64_t paginas = 0;
  EXPECT_EQ(Consultar({5, 1500, 2999}, &paginas), std::vector<std::string>(3, Campo("original", 10)));
  EXPECT_GT(paginas, 0u);
  ASSERT_FALSE(ArquivoDaCopia().empty());

  // The next run finds every page it needs in the copy.
  EXPECT_EQ(Consultar({5, 1500, 2999}, &paginas), std::vector<std::string>(3, Campo("original", 10)));
  EXPECT_EQ(paginas, 0u);

  // A commit of another open moves the header: the copy no longer serves.
  Alterar(1500, "alterado");
  EXPECT_EQ(Consultar({5, 1500}, &paginas), (std::vector<std::string>{Campo("original", 10), Campo("alterado", 10)}));
  EXPECT_GT(paginas, 0u);

  // A commit while an open works from the copy: its next read finds the new record.
  ArquivoTeste a;
  ASSERT_EQ(a.Abrir(arquivo), 0);
  ASSERT_EQ(a.Ler(5, Chave(5)), 0);
  Alterar(5, "depois");
  ASSERT_EQ(a.Ler(5, Chave(5)), 0);
  EXPECT_EQ(a.Registro(kRegistro).substr(10, 10), Campo("depois", 10));
  ASSERT_EQ(a.Fechar(), 0);
}

TEST_F(CopiaLocalTest, ARestoredFileWithTheSameHeaderIsReadFromTheFile) {
  const std::vector<std::uint8_t> salvo = Bytes(arquivo);
  Alterar(10, "primeiro");
  const std::vector<std::uint8_t> primeiro = Bytes(arquivo);
  EXPECT_EQ(Consultar({10, 20}), (std::vector<std::string>{Campo("primeiro", 10), Campo("original", 10)}));

  // The saved file comes back and takes a different change: the same number of commits,
  // the same shape, the same header bytes, other records.
  Gravar(arquivo, salvo);
  Alterar(20, "segundo");
  const std::vector<std::uint8_t> segundo = Bytes(arquivo);
  ASSERT_TRUE(std::equal(primeiro.begin(), primeiro.begin() + 4096, segundo.begin()));

  std::uint64_t paginas = 0;
  EXPECT_EQ(Consultar({10, 20}, &paginas), (std::vector<std::string>{Campo("original", 10), Campo("segundo", 10)}));
  EXPECT_GT(paginas, 0u);
}

TEST_F(CopiaLocalTest, ADamagedCopyIsIgnored) {
  Consultar({5, 1500, 2999});
  const std::string nome = ArquivoDaCopia();
  std::vector<std::uint8_t> copia = Bytes(nome);
  ASSERT_GT(copia.size(), 4096u);
  copia[copia.size() - 100] ^= 0x55;  // inside the last page kept
  Gravar(nome, copia);
  std::uint64_t paginas = 0;
  EXPECT_EQ(Consultar({5, 1500, 2999}, &paginas), std::vector<std::string>(3, Campo("original", 10)));
  EXPECT_GT(paginas, 0u);

  copia.resize(copia.size() / 2);
  EXPECT_FALSE(motor::DecodificarCopiaLocal(copia).has_value());
  EXPECT_FALSE(motor::DecodificarCopiaLocal({}).has_value());
}

}  // namespace
}  // namespace tavoran::testes
