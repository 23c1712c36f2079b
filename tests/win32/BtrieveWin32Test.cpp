#include "platform/win32/BtrieveWin32.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tavoran
