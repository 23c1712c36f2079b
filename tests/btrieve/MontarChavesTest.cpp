#include "btrieve/MontarChaves.h"

#include <gtest/gtest.h>

namespace tavoran {
namespace {

struct Segmento {
  int posicao, tamanho, flags, tipo;
};

Segmento SegmentoDe(const std::string& e, int s) {
  const std::size_t i = static_cast<std::size_t>(s) * 16;
  return {LerInteiro16(e, i), LerInteiro16(e, i + 2), LerInteiro16(e, i + 4), static_cast<unsigned char>(e[i + 10])};
}

std::int32_t Montar(const std::string& definicao, std::string& e) {
  Falha f;
  return MontarChaves(definicao, e, f);
}

void EsperarSegmento(const std::string& e, int s, Segmento esperado) {
  const Segmento real = SegmentoDe(e, s);
  EXPECT_EQ(real.posicao, esperado.posicao) << "segmento " << s;
  EXPECT_EQ(real.tamanho, esperado.tamanho) << "segmento " << s;
  EXPECT_EQ(real.flags, esperado.flags) << "segmento " << s;
  EXPECT_EQ(real.tipo, esperado.tipo) << "segmento " << s;
}

TEST(MontarChaves, WorkedExamplesGiveTheirKeysAndSegments) {
  std::string e;
  EXPECT_EQ(Montar("/1/30/F/", e), 1);
  EsperarSegmento(e, 0, {1, 30, 0, 0});
  EXPECT_EQ(Montar("/1/60/MF/", e), 1);
  EsperarSegmento(e, 0, {1, 60, 2, 0});
  EXPECT_EQ(Montar("/1/14/DF/79/64/DMS/1/14/DMF/", e), 2);
  EsperarSegmento(e, 0, {1, 14, 1, 0});
  EsperarSegmento(e, 1, {79, 64, 19, ' '});
  EsperarSegmento(e, 2, {1, 14, 3, 0});
  EsperarSegmento(e, 3, {0, 0, 0, ' '});
  EXPECT_EQ(Montar("/5/4/AF/", e), 1);
  EsperarSegmento(e, 0, {5, 4, 256, 15});
}

TEST(MontarChaves, UnusedEntriesKeepTheirBlankPattern) {
  std::string e;
  Montar("/1/30/F/", e);
  ASSERT_EQ(e.size(), 1904u);
  const std::string vazia = std::string(10, '\0') + std::string(6, ' ');
  for (int s = 1; s < 119; ++s) ASSERT_EQ(e.substr(static_cast<std::size_t>(s) * 16, 16), vazia) << s;
  EXPECT_EQ(e.substr(0, 16), std::string("\x01\x00\x1e\x00\x00\x00\x00\x00\x00\x00\x00     ", 16));
}

TEST(MontarChaves, FlagLettersFollowTheirReadingOrder) {
  std::string e;
  EXPECT_EQ(Montar("/1/10/DAF/", e), 1);  // the autoincrement replaces the D
  EsperarSegmento(e, 0, {1, 10, 256, 15});
  EXPECT_EQ(Montar("/1/10/AS/20/5/F/", e), 1);  // the mark waits for the next F
  EsperarSegmento(e, 0, {1, 10, 16, ' '});
  EsperarSegmento(e, 1, {20, 5, 256, 15});
  EXPECT_EQ(Montar("/1/10/DXF/", e), 0);  // reading stops at the unknown letter
  EsperarSegmento(e, 0, {1, 10, 1, ' '});
  EXPECT_EQ(LerNumeroSegmentos("/1/10/DXF/"), 1);
}

TEST(MontarChaves, WithoutClosingSlashTheLastSegmentIsNotBuilt) {
  std::string e;
  EXPECT_EQ(Montar("/1/30/F", e), 0);
  EsperarSegmento(e, 0, {1, 30, 0, ' '});  // position and length read, flags never
  EXPECT_EQ(LerNumeroSegmentos("/1/30/F"), 1);
}

TEST(MontarChaves, BadNumbersAndA120thSegmentFailWith9999) {
  std::string e;
  Falha f;
  EXPECT_EQ(MontarChaves("/1/x/F/", e, f), 9999);
  EXPECT_EQ(f.numero, 13);
  EXPECT_EQ(f.descricao.rfind("Erro inesperado ao montar chaves: ", 0), 0u);
  EXPECT_EQ(Montar("/1/32768/F/", e), 9999);
  EXPECT_EQ(Montar("/-32768/32767/F/", e), 1);
  std::string definicao = "/";
  for (int i = 0; i < 119; ++i) definicao += "1/1/F/";
  EXPECT_EQ(Montar(definicao, e), 119);
  EXPECT_EQ(Montar(definicao + "1/1/F/", e), 9999);
}

TEST(MontarChaves, FileSpecificationHeaderHoldsRecordPageAndKeys) {
  std::string e;
  Montar("/1/30/F/", e);
  const std::string arquivo = MontarEspecificacaoArquivo(256, 4096, 1, e);
  ASSERT_EQ(arquivo.size(), 1920u);
  EXPECT_EQ(arquivo.substr(0, 16), std::string("\x00\x01\x00\x10\x01\x00", 6) + std::string(10, '\0'));
  EXPECT_EQ(arquivo.substr(16), e);
}

}  // namespace
}  // namespace tavoran
