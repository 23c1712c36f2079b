// The fleet page's pieces that need no share: report names, the chart's days and bars,
// the links' addresses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/tavadmin/EnderecoPagina.h"
#include "tools/tavadmin/GraficoAtualizacoes.h"
#include "tools/tavadmin/LeitorFrota.h"

namespace tavoran::tavadmin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(PaginaPainel, ReportNamesGiveComputerAndStampAndOthersAreRefused) {
  std::string computador, carimbo;
  ASSERT_TRUE(LerNomeRelatorio("PC (A) (2026-12-08_09-05-07).html", computador, carimbo));
  EXPECT_EQ(computador, "PC (A)");
  EXPECT_EQ(carimbo, "2026-12-08_09-05-07");
  for (const char* nome : {"WS07.HTML", " (2026-12-08_09-05-07).HTML", "WS07 (2026-12-08 09-05-07).HTML",
                           "WS07 (2026-12-08_09-05-07).HTML.bak", "WS07(2026-12-08_09-05-07).HTML", ").HTML"})
    EXPECT_FALSE(LerNomeRelatorio(nome, computador, carimbo)) << nome;
}

TEST(PaginaPainel, ChartDaysCrossMonthsYearsAndLeapDays) {
  const auto dias = UltimosDias({2028, 3, 1}, kDiasGrafico);
  ASSERT_EQ(dias.size(), 30u);
  EXPECT_EQ(dias.front(), "2028-02-01");
  EXPECT_EQ(dias[28], "2028-02-29");
  EXPECT_THAT(UltimosDias({2027, 1, 2}, 3), ElementsAre("2026-12-31", "2027-01-01", "2027-01-02"));
}

TEST(PaginaPainel, BarsScaleToTheBusiestDayAndASingleUpdateStillShows) {
  const std::string svg =
      GraficoAtualizacoes({{"2026-12-08", 400}, {"2026-12-07", 1}, {"2026-11-08", 999}}, {2026, 12, 8});
  EXPECT_THAT(svg, HasSubstr("height='120'><title>2026-12-08: 400 atualizações</title>"));
  EXPECT_THAT(svg, HasSubstr("height='2'><title>2026-12-07: 1 atualização</title>"));
  EXPECT_THAT(svg, Not(HasSubstr("2026-11-08")));  // 31 days back: outside the chart
  EXPECT_THAT(svg, HasSubstr(">400</text>"));
}

TEST(PaginaPainel, AddressesOfReportFolders) {
  EXPECT_EQ(UrlArquivo("P:/SUITE"), "file:///P:/SUITE");
  EXPECT_EQ(UrlArquivo("//servidor/tavoran/Logs"), "file://servidor/tavoran/Logs");
  EXPECT_EQ(UrlArquivo("/srv/share a"), "file:///srv/share%20a");
  EXPECT_EQ(CodificarUrl("Logs/RYX/JOÃO (1).HTML"), "Logs/RYX/JO%C3%83O%20%281%29.HTML");
  EXPECT_EQ(EnderecoPastaParaPagina("/srv/suite/painel.html", "/srv/suite"), "");
  EXPECT_EQ(EnderecoPastaParaPagina("/srv/suite/painel.html", "/srv/suite/"), "");
  EXPECT_EQ(EnderecoPastaParaPagina("/home/adm/painel.html", "/srv/suite"), "../../srv/suite/");
  EXPECT_EQ(EnderecoPastaParaPagina("\\srv\\suite\\sub\\p.html", "\\srv\\suite"), "../");
}

}  // namespace
}  // namespace tavoran::tavadmin
