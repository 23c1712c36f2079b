#include "platform/win32/BtrieveWin32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tavoran {
namespace {

std::int16_t Versao(IBtrieve& btrieve) {
  std::string bloco(128, ' '), dados(5, '\0'), chave(255, ' ');
  std::uint32_t tamanho = 5;
  return btrieve.Chamar(26, bloco.data(), dados.data(), &tamanho, chave.data(), 255, 0);
}

TEST(BtrieveWin32, MissingLibraryAnswersEngineUnreachable) {
  auto btrieve = CriarBtrieveWin32("tav_nao_existe_wbtrv32.dll");
  EXPECT_EQ(Versao(*btrieve), kStatusMotorInacessivel);
  EXPECT_EQ(Versao(*btrieve), kStatusMotorInacessivel);
}

TEST(BtrieveWin32, LibraryWithoutTheEntryPointAnswersEngineUnreachable) {
  auto btrieve = CriarBtrieveWin32("kernel32.dll");
  EXPECT_EQ(Versao(*btrieve), kStatusMotorInacessivel);
}

// Through the project's wbtrv32.dll beside the test program, when the build made one.
TEST(BtrieveWin32, ReachesTheEngineOfTheLibraryFoundByName) {
  auto btrieve = CriarBtrieveWin32();
  std::string bloco(128, ' '), dados(5, '\0'), chave(255, ' ');
  std::uint32_t tamanho = 5;
  const std::int16_t status = btrieve->Chamar(26, bloco.data(), dados.data(), &tamanho, chave.data(), 255, 0);
  if (status == kStatusMotorInacessivel) GTEST_SKIP() << "wbtrv32.dll ausente";
  ASSERT_EQ(status, 0);
  EXPECT_NE(dados[0], '\0');  // a major version

  std::string nome = "tav_btrieve_win32_teste.btr";
  std::string especificacao(1920, '\0');
  especificacao[0] = 16, especificacao[3] = 4, especificacao[4] = 1;  // 16-byte records, page 1024, one key
  especificacao[16] = 1, especificacao[18] = 4;                        // key 0: position 1, length 4
  std::uint32_t tamanhoEspec = 1920;
  ASSERT_EQ(btrieve->Chamar(14, bloco.data(), especificacao.data(), &tamanhoEspec, nome.data(),
                            static_cast<std::uint8_t>(nome.size()), 0),
            0);
  std::string nomeAbrir = nome + '\0', dono(256, ' '), outro(128, ' ');
  std::uint32_t tamanhoDono = 255;
  const auto tamanhoNome = static_cast<std::uint8_t>(nomeAbrir.size());
  ASSERT_EQ(btrieve->Chamar(0, bloco.data(), dono.data(), &tamanhoDono, nomeAbrir.data(), tamanhoNome, -4), 0);
  EXPECT_EQ(btrieve->Chamar(0, outro.data(), dono.data(), &tamanhoDono, nomeAbrir.data(), tamanhoNome, 0), 88);
  std::string vazio(255, '\0');
  std::uint32_t tamanhoVazio = 255;
  EXPECT_EQ(btrieve->Chamar(1, bloco.data(), vazio.data(), &tamanhoVazio, chave.data(), 255, 0), 0);
  std::remove(nome.c_str());
}

}  // namespace
}  // namespace tavoran
