// A damaged tree: every Get Next and Step Next advances or answers 2, and the verifier
// checks the internal pages against the leaves, on files damaged as a faulty disk might.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/Bytes.h"
#include "tests/engine/Auxiliar.h"

namespace tavoran::testes {
namespace {

using motor::Le16;
using motor::Le32;

// 64-byte records; key 0 unique (10 bytes) and key 2 unique over the last 8, zero-padded,
// so that text order is number order.
std::string Reg(int k) {
  char cauda[9];
  std::snprintf(cauda, sizeof cauda, "%08d", k);
  return Campo(Rotulo("K", k), 10) + Campo(Rotulo("G", k % 9), 5) + Campo("", 41) + cauda;
}

class ArvoreDanificada : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("ARVORE.DAT");

  void SetUp() override {
    ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(64, 1024, 3, {{1, 10, 0}, {11, 5, 1 | 2}, {57, 8, 0}})), 0);
    ArquivoTeste a;
    ASSERT_EQ(a.Abrir(nome), 0);
    ASSERT_EQ(a.Chamar(19), 0);
    for (int i = 0; i < 3000; ++i) ASSERT_EQ(a.Inserir(Reg(i * 7919 % 3000)), 0);
    ASSERT_EQ(a.Chamar(20), 0);
    ASSERT_EQ(a.Fechar(), 0);
    ASSERT_EQ(TavMotorVerificar(nome.c_str()), 0);
  }
};

// A record file's bytes, to damage its trees as a faulty disk might.
class Danificar {
 public:
  explicit Danificar(std::string nome) : nome_(std::move(nome)) {
    std::ifstream f(nome_, std::ios::binary);
    b_.assign(std::istreambuf_iterator<char>(f), {});
    P_ = Le32(b_.data() + 12);
  }
  ~Danificar() {
    std::ofstream f(nome_, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(b_.data()), static_cast<std::streamsize>(b_.size()));
  }
  std::uint8_t* Pagina(std::uint32_t n) { return b_.data() + static_cast<std::size_t>(n) * P_; }
  // Key -1 is the data tree.
  std::uint32_t Raiz(int chave) { return Le32(b_.data() + (chave < 0 ? 72 : 96 + 8 * chave)); }
  // The leaves from the leftmost one along their next links.
  std::vector<std::uint32_t> Folhas(int chave) {
    std::uint32_t p = Raiz(chave);
    while (Pagina(p)[0] == 2) p = Le32(Pagina(p) + 8);
    std::vector<std::uint32_t> folhas;
    for (; p != 0 && folhas.size() < 10000; p = Le32(Pagina(p) + 8)) folhas.push_back(p);
    return folhas;
  }

 private:
  std::string nome_;
  std::vector<std::uint8_t> b_;
  std::uint32_t P_ = 0;
};

// Get First and Next on key 2, or Step First and Next: every record after the first strictly
// beyond the one before, until a status other than 0, which it answers (-1: no advance).
int PercorrerAvancando(ArquivoTeste& a, bool passo) {
  std::string anterior;
  int st = passo ? a.Chamar(33) : a.Ler(12, "", 2);
  for (int i = 0; st == 0 && i < 5000; ++i) {
    std::string atual = a.Chave(8);
    if (passo) {
      a.tamanho = 4;
      if (a.Chamar(22) != 0) return -2;
      atual = std::to_string(1000000000u + Le32(a.dados.data()));
    }
    if (atual <= anterior) return -1;
    anterior = atual;
    a.tamanho = static_cast<std::uint32_t>(a.dados.size());
    st = passo ? a.Chamar(24) : a.Ler(6, "", 2);
  }
  return st;
}

TEST_F(ArvoreDanificada, CadaProximoAvancaOuResponde2) {
  struct Caso {
    const char* arquivo;
    std::function<void(Danificar&)> dano;
    int chave2, passo;  // the walks' last statuses
  };
  const Caso casos[] = {
      {"CICLO.DAT",
       [](Danificar& d) {
         auto f = d.Folhas(2);
         motor::Grava32(d.Pagina(f[2]) + 8, f[0]);  // a leaf's next link back to the first
       },
       2, 9},
      {"CICLODADOS.DAT",
       [](Danificar& d) {
         auto f = d.Folhas(-1);
         motor::Grava32(d.Pagina(f[3]) + 8, f[1]);
       },
       9, 2},
      {"OUTRAARVORE.DAT",
       [](Danificar& d) {
         // A data leaf's next link into a leaf of key 2, which the walk on key 2 reads first.
         motor::Grava32(d.Pagina(d.Folhas(-1)[1]) + 8, d.Folhas(2)[0]);
       },
       9, 2},
      {"REPETIDA.DAT",
       [](Danificar& d) {
         std::uint8_t* folha = d.Pagina(d.Folhas(2)[0]);
         std::memcpy(folha + 16 + 6 * 12, folha + 16 + 5 * 12, 12);  // entry 6 repeats entry 5
       },
       9, 9},
  };
  for (const Caso& c : casos) {
    const std::string arquivo = pasta.Arquivo(c.arquivo);
    std::filesystem::copy_file(nome, arquivo);
    {
      Danificar d(arquivo);
      c.dano(d);
    }
    ArquivoTeste b;
    ASSERT_EQ(b.Abrir(arquivo), 0);
    EXPECT_EQ(PercorrerAvancando(b, false), c.chave2) << c.arquivo;
    EXPECT_EQ(PercorrerAvancando(b, true), c.passo) << c.arquivo;
    EXPECT_EQ(TavMotorVerificar(arquivo.c_str()), 2) << c.arquivo;
  }
}

// Damage in an internal page that the walks along the leaves never see.
TEST_F(ArvoreDanificada, VerificadorConfereAsPaginasInternasComAsFolhas) {
  const std::string separadores = pasta.Arquivo("SEPARADORES.DAT"), filhos = pasta.Arquivo("FILHOS.DAT");
  std::filesystem::copy_file(nome, separadores);
  std::filesystem::copy_file(nome, filhos);
  constexpr std::size_t kEntrada = 4 + 8 + 4;  // child, key 2's value, record id
  {
    Danificar d(separadores);
    std::uint8_t* raiz = d.Pagina(d.Raiz(2));
    ASSERT_EQ(raiz[0], 2);
    ASSERT_GE(Le16(raiz + 2), 3);
    std::uint8_t troca[12];  // the separators of entries 1 and 2 change places, their children not
    std::memcpy(troca, raiz + 16 + kEntrada + 4, 12);
    std::memcpy(raiz + 16 + kEntrada + 4, raiz + 16 + 2 * kEntrada + 4, 12);
    std::memcpy(raiz + 16 + 2 * kEntrada + 4, troca, 12);
  }
  {
    Danificar d(filhos);
    std::uint8_t* raiz = d.Pagina(d.Raiz(2));
    std::uint8_t troca[4];  // the children of entries 1 and 2 change places
    std::memcpy(troca, raiz + 16 + kEntrada, 4);
    std::memcpy(raiz + 16 + kEntrada, raiz + 16 + 2 * kEntrada, 4);
    std::memcpy(raiz + 16 + 2 * kEntrada, troca, 4);
  }
  EXPECT_EQ(TavMotorVerificar(separadores.c_str()), 2);
  EXPECT_EQ(TavMotorVerificar(filhos.c_str()), 2);
}

}  // namespace
}  // namespace tavoran::testes
