#include "platform/Texto.h"

#include <gtest/gtest.h>

#include "platform/Erro.h"
#include "platform/ErrosWindows.h"

namespace tavoran {

TEST(Cp1252, AccentedLettersBecomeSingleBytesAndBack) {
  const std::string utf8 = "Relatório de Atualização — Ação € ç";
  const std::string cp = ParaCp1252(utf8);
  EXPECT_EQ(cp, "Relat\xF3rio de Atualiza\xE7\xE3o \x97 A\xE7\xE3o \x80 \xE7");
  EXPECT_EQ(DeCp1252(cp), utf8);
}

TEST(Cp1252, UnmappableCharactersBecomeQuestionMarksAndMalformedBytesSurvive) {
  EXPECT_EQ(ParaCp1252("a\xE4\xB8\x80z"), "a?z");  // U+4E00
  EXPECT_EQ(ParaCp1252("\xC3"), "\xC3");           // truncated sequence
}

TEST(Texto, TrimOnlyTouchesBlanks) {
  EXPECT_EQ(Aparar("  a b \t "), "a b \t");
  EXPECT_EQ(AteNulo(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(SemNulos(std::string("a\0b\0", 4)), "ab");
}

TEST(Texto, CaseMappingCoversPortugueseLetters) {
  EXPECT_EQ(Maiusculas("ação é"), "AÇÃO É");
  EXPECT_EQ(Minusculas("GERENCIADOR VERSÃO"), "gerenciador versão");
  EXPECT_EQ(ProcurarSemCaixa("P:\\TAVORAN.WIN\\x", "\\tavoran.win"), 2u);
}

TEST(Texto, PatternsMatchLikeTheDirectoryLookup) {
  EXPECT_TRUE(CasaPadrao("RYX*.BLQ", "ryxws07.blq"));
  EXPECT_TRUE(CasaPadrao("*.HTML", "WS07 (2026-12-08_09-05-07).HTML"));
  EXPECT_TRUE(CasaPadrao("a*b*c", "axxbxbxc"));  // the first * has to give back characters
  EXPECT_TRUE(CasaPadrao("??X", "abx"));
  EXPECT_TRUE(CasaPadrao("*", ""));
  EXPECT_FALSE(CasaPadrao("RYX*.BLQ", "RYXWS07.BLQ.bak"));
  EXPECT_FALSE(CasaPadrao("a*b", "a"));
  EXPECT_FALSE(CasaPadrao("?", ""));
}

TEST(EstadoErro, RoutineSuffixOnlyWhenRoutineIsNotBlank) {
  EstadoErro e;
  e.Definir(53, "Arquivo não encontrado", "CopiarArquivo");
  EXPECT_EQ(e.Descricao(), "Arquivo não encontrado (Rotina: CopiarArquivo)");
  e.Definir(1, "x", "  ");
  EXPECT_EQ(e.Descricao(), "x");
  e.Limpar();
  EXPECT_EQ(e.Numero(), 0);
  EXPECT_EQ(e.Descricao(), "");
}

TEST(EstadoErro, ProtectedRoutineTurnsExceptionsIntoItsFailure) {
  EstadoErro e;
  EXPECT_FALSE(Protegido(e, "Rotina", false, []() -> bool { throw ErroRuntime(429, "Sem objeto"); }));
  EXPECT_EQ(e.Numero(), 429);
  EXPECT_EQ(e.Descricao(), "Sem objeto (Rotina: Rotina)");
  EXPECT_EQ(Protegido(e, "R", -1, []() -> int { throw std::runtime_error("boom"); }), -1);
  EXPECT_EQ(e.Numero(), 51);
}

TEST(ErrosWindows, CodesMapOntoRunTimeNumbers) {
  EXPECT_EQ(FalhaDeErroWindows(0).numero, 0);
  EXPECT_EQ(FalhaDeErroWindows(2).numero, 53);
  EXPECT_EQ(FalhaDeErroWindows(3).numero, 76);
  EXPECT_EQ(FalhaDeErroWindows(5).numero, 70);
  EXPECT_EQ(FalhaDeErroWindows(32).numero, 70);  // in use by another process
  EXPECT_EQ(FalhaDeErroWindows(183).numero, 75);
  EXPECT_EQ(FalhaDeErroWindows(0x80040154u).numero, 429);
  const Falha desconhecida = FalhaDeErroWindows(9999);
  EXPECT_EQ(desconhecida.numero, 75);
  EXPECT_NE(desconhecida.descricao.find("9999"), std::string::npos);
  EXPECT_EQ(FalhaDeErroWindows(5).descricao, "Permissão negada");
}

}  // namespace tavoran
