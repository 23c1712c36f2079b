// The real terminal-session and drive queries under Wine.
#include <gtest/gtest.h>

#include "platform/win32/ConsultaUnidadesWin32.h"
#include "platform/win32/SessaoTerminalWin32.h"

namespace tavoran {
namespace {

TEST(SessaoTerminalWin32, ConsoleRunIsNoRemoteSession) {
  std::string nome = "antes";
  const bool ok = CriarSessaoTerminalWin32()->NomeClienteSessao(nome);
  // Wine has no terminal services: the query fails or answers an empty client name.
  if (ok) {
    EXPECT_EQ(nome, "");
  }
}

TEST(ConsultaUnidadesWin32, SystemDriveIsFixedAndNotMapped) {
  auto unidades = CriarConsultaUnidadesWin32();
  EXPECT_EQ(unidades->Tipo('C'), TipoUnidade::Fixa);
  EXPECT_EQ(unidades->Tipo('c'), TipoUnidade::Fixa);
  std::string compartilhamento;
  EXPECT_FALSE(unidades->NomeCompartilhamento('C', compartilhamento));
}

TEST(ConsultaUnidadesWin32, UnusedLetterDoesNotExist) {
  auto unidades = CriarConsultaUnidadesWin32();
  EXPECT_EQ(unidades->Tipo('Q'), TipoUnidade::Inexistente);
}

}  // namespace
}  // namespace tavoran
