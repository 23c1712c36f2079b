#include "btrieve/clsTavBtrErros.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavoran {
namespace {

struct Evento {
  std::int32_t numero;
  std::string descricao;
};

TEST(clsTavBtrErros, TableHas155MessagesWithTheirExactTexts) {
  int encontrados = 0;
  for (std::int32_t c = 0; c < 200; ++c) encontrados += !clsTavBtrErros::PreencherDescricao(c).empty();
  for (std::int32_t c = 100000; c < 100100; ++c) encontrados += !clsTavBtrErros::PreencherDescricao(c).empty();
  EXPECT_EQ(encontrados, 155);
  EXPECT_EQ(clsTavBtrErros::PreencherDescricao(88), "A aplicação encontrou um erro de modo incompatível.");
  EXPECT_EQ(clsTavBtrErros::PreencherDescricao(92), "A trasação da tabela esté cheia.");
  EXPECT_EQ(clsTavBtrErros::PreencherDescricao(178), "Base de dados não localizada no diretório especificado.");
  EXPECT_EQ(clsTavBtrErros::PreencherDescricao(100076),
            "O tamanho do nome do proprietário não pode ser maior que 8 caracteres.");
}

TEST(clsTavBtrErros, SharedSentencesOfTheOwnCodes) {
  for (auto [a, b] : std::vector<std::pair<int, int>>{
           {100063, 100071}, {100064, 100075}, {100067, 100073}, {100068, 100074}, {100077, 100078}})
    EXPECT_EQ(clsTavBtrErros::PreencherDescricao(a), clsTavBtrErros::PreencherDescricao(b)) << a;
}

TEST(clsTavBtrErros, UnknownCodesAreUndocumentedAndReturnFalse) {
  clsTavBtrErros erros;
  for (int c : {17, 36, 70, 75, 108, 117, 179, 100062, 100079}) {
    EXPECT_FALSE(erros.LocalizarErro(c)) << c;
    EXPECT_EQ(erros.Numero(), c);
    EXPECT_EQ(erros.Descricao(), "Erro não documentado.");
  }
}

TEST(clsTavBtrErros, LocalizarErroAlwaysRaisesItsEventLast) {
  clsTavBtrErros erros;
  std::vector<Evento> eventos;
  erros.OnLocalizaErro = [&](std::int32_t n, const std::string& d) {
    eventos.push_back({n, d});
    EXPECT_EQ(erros.Numero(), n);  // already stored when the event comes
  };
  EXPECT_TRUE(erros.LocalizarErro(84));
  EXPECT_TRUE(erros.LocalizarErro(0));
  EXPECT_EQ(erros.Numero(), 0);
  EXPECT_EQ(erros.Descricao(), "");
  ASSERT_EQ(eventos.size(), 2u);
  EXPECT_EQ(eventos[0].descricao, "O Registro ou Página está bloqueado.");
  EXPECT_EQ(eventos[1].numero, 0);
  EXPECT_EQ(eventos[1].descricao, "");
}

TEST(clsTavBtrErros, AdicionarErroKeepsOnlyPositiveNumbersWithText) {
  clsTavBtrErros erros;
  bool evento = false;
  erros.OnErro = erros.OnLocalizaErro = [&](std::int32_t, const std::string&) { evento = true; };
  erros.AdicionarErro(0, "texto");
  erros.AdicionarErro(5, "  ");
  erros.AdicionarErro(-3, "texto");
  EXPECT_EQ(erros.Numero(), 0);
  erros.AdicionarErro(53, "Erro inesperado ao abrir arquivo: Arquivo não encontrado");
  EXPECT_EQ(erros.Numero(), 53);
  EXPECT_EQ(erros.Descricao(), "Erro inesperado ao abrir arquivo: Arquivo não encontrado");
  EXPECT_FALSE(evento);
}

}  // namespace
}  // namespace tavoran
