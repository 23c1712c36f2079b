// Power loss: a workload of inserts, updates, deletes, transactions, index changes and
// reopenings runs on a file whose every write, truncation and flush a simulated disk
// records. After each call, the file is rebuilt as a power loss at each moment of that call
// could have left it, sector by sector; every such image must open, verify, and hold exactly
// the records before the call or after it (after it only, once the call's commit was flushed).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "tests/engine/Auxiliar.h"
#include "tests/engine/DiscoSimulado.h"

namespace tavoran::testes {
namespace {

using Modelo = std::map<std::string, std::string>;  // key 0 -> record
constexpr std::size_t kReg = 200;

std::string Registro(int chave, int grupo, int versao) {
  return Campo(Rotulo("C", chave), 10) + Campo(Rotulo("G", grupo), 8) +
         Campo(Rotulo("versao ", versao), kReg - 18);
}

// Rewrites the file in place and then sets its size: truncating it to nothing first makes
// ext4 push the old contents to the disk at every image.
void GravarArquivo(const std::string& nome, const std::vector<std::uint8_t>& bytes) {
  {
    std::fstream f(nome, std::ios::binary | std::ios::in | std::ios::out);
    if (!f.is_open()) f.open(nome, std::ios::binary | std::ios::out);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::filesystem::resize_file(nome, bytes.size());
}

// The records a state holds that an image lacks or holds otherwise (-), and those it adds (+).
std::string Diferencas(const Modelo& estado, const Modelo& imagem) {
  std::string d;
  for (const auto& [k, v] : estado)
    if (!imagem.count(k) || imagem.at(k) != v) d += " -" + v.substr(0, 40);
  for (const auto& [k, v] : imagem)
    if (!estado.count(k)) d += " +" + v.substr(0, 40);
  return d;
}

class QuedaDeEnergia : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("ENERGIA.DAT");
  std::mt19937 rng{2024};
  Modelo modelo;
  ArquivoTeste a;
  int imagens = 0, ruins = 0;
  std::string primeiraFalha;

  void SetUp() override {
    ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(kReg, 4096, 2, {{1, 10, 0}, {11, 8, 1 | 2}})), 0);
  }

  // What an image holds, or why it holds nothing: it must open and verify first.
  static std::string Conteudo(const std::string& arquivo, Modelo* registros) {
    const int verificado = TavMotorVerificar(arquivo.c_str());
    if (verificado != 0) return Rotulo("verify ", verificado);
    ArquivoTeste b;
    if (int st = b.Abrir(arquivo); st != 0) return Rotulo("open ", st);
    int st = b.Ler(12);
    for (; st == 0; st = b.Ler(6)) (*registros)[b.Chave(10)] = b.Registro(kReg);
    b.Fechar();
    return st == 9 ? "" : Rotulo("read ", st);
  }

  bool ImagemBoa(const std::vector<std::uint8_t>& imagem, const std::vector<const Modelo*>& aceitos,
                 const std::string& copia, std::string* motivo) {
    GravarArquivo(copia, imagem);
    Modelo registros;
    *motivo = Conteudo(copia, &registros);
    if (!motivo->empty()) return false;
    for (const Modelo* m : aceitos)
      if (registros == *m) return true;
    *motivo = std::to_string(registros.size()) + " records, neither state:";
    for (const Modelo* m : aceitos) *motivo += " [" + Diferencas(*m, registros) + "]";
    return false;
  }

  void Contar(bool boa, const std::string& onde, const std::string& motivo) {
    ++imagens;
    if (boa) return;
    if (ruins++ == 0) primeiraFalha = onde + ": " + motivo;
  }

  // Power losses in the middle of the recovery of an image, each image of that checked again.
  void ConferirRecuperacao(const std::vector<std::uint8_t>& imagem, const std::vector<const Modelo*>& aceitos) {
    const std::string copia = pasta.Arquivo("RECUPERA.DAT");
    GravarArquivo(copia, imagem);
    std::vector<std::vector<std::uint8_t>> segundas;
    {
      DiscoSimulado recuperacao(copia);
      TavMotorVerificar(copia.c_str());
      for (std::size_t ate = 1; ate <= recuperacao.Eventos(); ++ate) segundas.push_back(recuperacao.Imagem(ate, rng));
    }
    for (const auto& segunda : segundas) {
      std::string motivo;
      Contar(ImagemBoa(segunda, aceitos, pasta.Arquivo("SEGUNDA.DAT"), &motivo), "during recovery", motivo);
    }
  }

  // Runs one call; `depois` is the state it leaves when it answers 0, applied to the model.
  void Passo(DiscoSimulado& disco, const char* descricao, int esperado, const std::function<int()>& chamada,
             const Modelo& depois, int porMomento) {
    const std::size_t inicio = disco.Eventos();
    const Modelo antes = modelo;
    const int st = chamada();
    ASSERT_EQ(st, esperado) << descricao;
    if (st == 0) modelo = depois;
    for (std::size_t ate = inicio + 1; ate <= disco.Eventos(); ++ate) {
      // Once the commit's flush is done, only the new state will do.
      std::vector<const Modelo*> aceitos{&modelo};
      if (disco.Descargas(inicio, ate) == 0 || modelo == antes) aceitos.push_back(&antes);
      for (int i = 0; i < porMomento; ++i) {
        const auto imagem = disco.Imagem(ate, rng);
        std::string motivo;
        Contar(ImagemBoa(imagem, aceitos, pasta.Arquivo("IMAGEM.DAT"), &motivo),
               std::string(descricao) + Rotulo(" event ", ate - inicio), motivo);
        if (imagens % 40 == 0) ConferirRecuperacao(imagem, aceitos);
      }
    }
  }

  // Inserts, updates and deletes at random, with transactions (ended or aborted), an index
  // created and dropped, and the file closed and opened again now and then.
  void Carga(int passos, int porMomento) {
    DiscoSimulado disco(nome);
    ASSERT_EQ(a.Abrir(nome), 0);
    int versao = 0;
    auto inserir = [&](Modelo* m) {
      const int k = static_cast<int>(rng() % 300);
      const std::string r = Registro(k, k % 7, ++versao);
      const int esperado = m->count(r.substr(0, 10)) ? 5 : 0;
      if (esperado == 0) (*m)[r.substr(0, 10)] = r;
      return std::make_pair(r, esperado);
    };
    for (int i = 0; i < passos && !HasFatalFailure(); ++i) {
      const int sorte = static_cast<int>(rng() % 100);
      Modelo depois = modelo;
      if (sorte < 50 || modelo.empty()) {
        auto [r, esperado] = inserir(&depois);
        Passo(disco, "insert", esperado, [&, r = r] { return a.Inserir(r); }, depois, porMomento);
      } else if (sorte < 80) {
        auto alvo = std::next(modelo.begin(), static_cast<long>(rng() % modelo.size()));
        const std::string chave = alvo->first;
        ASSERT_EQ(a.Ler(5, chave), 0);
        const bool excluir = sorte >= 68;
        const int k = std::stoi(chave.substr(1));
        if (excluir) depois.erase(chave);
        else depois[chave] = Registro(k, static_cast<int>(rng() % 7), ++versao);
        const std::string r = depois.count(chave) ? depois[chave] : "";
        Passo(disco, excluir ? "delete" : "update", 0, [&, r] { return excluir ? a.Excluir() : a.Alterar(r); },
              depois, porMomento);
      } else if (sorte < 90) {
        ASSERT_EQ(a.Chamar(19), 0);
        const int quantos = 2 + static_cast<int>(rng() % 5);
        for (int j = 0; j < quantos; ++j) {
          auto [r, esperado] = inserir(&depois);
          ASSERT_EQ(a.Inserir(r), esperado);
        }
        const bool abortar = rng() % 4 == 0;
        Passo(disco, abortar ? "abort transaction" : "end transaction", 0, [&] { return a.Chamar(abortar ? 21 : 20); },
              abortar ? modelo : depois, porMomento);
      } else if (sorte < 95) {
        Passo(disco, "close", 0, [&] { return a.Fechar(); }, modelo, porMomento);
        Passo(disco, "open", 0, [&] { return a.Abrir(nome); }, modelo, porMomento);
      } else {
        MudarIndice(disco, porMomento);
      }
    }
    a.Fechar();
    std::printf("%d power-loss images checked, %d bad\n", imagens, ruins);
  }

  // Creates key 2 over the record's tail when there is none, else drops it: the header's
  // used part changes length.
  void MudarIndice(DiscoSimulado& disco, int porMomento) {
    a.tamanho = 1920;
    ASSERT_EQ(a.Chamar(15), 0);
    const bool existe = a.dados[4] == 3;
    std::vector<std::uint8_t> espec(1904, ' ');
    auto seg = Especificacao(kReg, 512, 1, {{30, 6, 1}});
    std::memcpy(espec.data(), seg.data() + 16, 16);
    std::uint8_t k = 2 + 128;
    Passo(disco, existe ? "drop index" : "create index", 0, [&] {
      std::uint32_t t = 1904;
      return motor::Chamar(existe ? 32 : 31, a.bloco, espec.data(), &t, &k, 1, 2);
    }, modelo, porMomento);
  }
};

// TAV_QUEDA_PASSOS and TAV_QUEDA_SEMENTE run a longer or another workload.
TEST_F(QuedaDeEnergia, CadaImagemAbreVerificaEGuardaOEstadoAntesOuDepoisDaChamada) {
  AmbienteTemporario sincronizar("TAV_BTRIEVE_SINCRONIZAR", "1");
  const char* passos = std::getenv("TAV_QUEDA_PASSOS");
  const char* semente = std::getenv("TAV_QUEDA_SEMENTE");
  if (semente) rng.seed(static_cast<unsigned>(std::atol(semente)));
  Carga(passos ? std::atoi(passos) : 160, 3);
  EXPECT_GE(imagens, 3000);
  EXPECT_EQ(ruins, 0) << "first: " << primeiraFalha;
}

// The layer itself: with flushing turned off, what a power loss leaves is soon unreadable or
// wrong, and the images show it.
TEST_F(QuedaDeEnergia, SemDescargasAsImagensMostramArquivosEstragados) {
  AmbienteTemporario sincronizar("TAV_BTRIEVE_SINCRONIZAR", "0");
  Carga(40, 2);
  EXPECT_GT(ruins, imagens / 10);
}

}  // namespace
}  // namespace tavoran::testes
