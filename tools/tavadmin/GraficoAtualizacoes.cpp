#include "tools/tavadmin/GraficoAtualizacoes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace tavoran::tavadmin {
namespace {

// Geometry in pixels: a left margin for the scale, one slot per day, the plot above the
// day labels.
constexpr int kMargem = 36, kPasso = 22, kLarguraBarra = 16, kTopo = 10, kAlturaPlot = 120;
constexpr int kBase = kTopo + kAlturaPlot;
constexpr int kLargura = kMargem + kDiasGrafico * kPasso + 8, kAltura = kBase + 30;

std::string Texto(int x, int y, const char* ancora, const std::string& conteudo) {
  char b[96];
  std::snprintf(b, sizeof b, "<text x='%d' y='%d' text-anchor='%s'>", x, y, ancora);
  return b + conteudo + "</text>";
}

std::string Linha(int x1, int y1, int x2, int y2) {
  char b[96];
  std::snprintf(b, sizeof b, "<line x1='%d' y1='%d' x2='%d' y2='%d' stroke='#666666'/>", x1, y1, x2, y2);
  return b;
}

// One bar; its height rounded to the pixel, never below 2 so that a single update shows.
std::string Barra(int indice, int quantidade, int maximo, const std::string& dia) {
  const int altura = std::max(2, (quantidade * kAlturaPlot + maximo / 2) / maximo);
  const int x = kMargem + indice * kPasso + (kPasso - kLarguraBarra) / 2;
  char b[160];
  std::snprintf(b, sizeof b, "<rect class='barra' x='%d' y='%d' width='%d' height='%d'><title>%s: %d %s</title></rect>",
                x, kBase - altura, kLarguraBarra, altura, dia.c_str(), quantidade,
                quantidade == 1 ? "atualização" : "atualizações");
  return b;
}

// "dd/mm" of a "YYYY-MM-DD" day.
std::string DiaMes(const std::string& dia) { return dia.substr(8, 2) + "/" + dia.substr(5, 2); }

}  // namespace

std::vector<std::string> UltimosDias(const DataHora& hoje, int dias) {
  using namespace std::chrono;
  const sys_days ultimo{year{hoje.ano} / month{static_cast<unsigned>(hoje.mes)} / day{static_cast<unsigned>(hoje.dia)}};
  std::vector<std::string> saida;
  for (int i = dias - 1; i >= 0; --i) {
    const year_month_day d{ultimo - days{i}};
    char texto[16];
    std::snprintf(texto, sizeof texto, "%04d-%02u-%02u", static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()));
    saida.push_back(texto);
  }
  return saida;
}

std::string GraficoAtualizacoes(const std::map<std::string, int>& porDia, const DataHora& hoje) {
  const std::vector<std::string> dias = UltimosDias(hoje, kDiasGrafico);
  std::vector<int> quantidades;
  for (const std::string& d : dias) {
    const auto q = porDia.find(d);
    quantidades.push_back(q == porDia.end() ? 0 : q->second);
  }
  const int maximo = std::max(1, *std::max_element(quantidades.begin(), quantidades.end()));
  char abertura[192];
  std::snprintf(abertura, sizeof abertura,
                "<svg xmlns='http://www.w3.org/2000/svg' width='%d' height='%d' viewBox='0 0 %d %d' role='img' "
                "aria-label='Atualizações por dia nos últimos 30 dias'>\r\n",
                kLargura, kAltura, kLargura, kAltura);
  std::string svg = abertura;
  svg += Linha(kMargem, kTopo, kMargem, kBase) + "\r\n" + Linha(kMargem, kBase, kLargura - 8, kBase) + "\r\n";
  svg += Texto(kMargem - 4, kTopo + 4, "end", std::to_string(maximo)) + "\r\n";
  svg += Texto(kMargem - 4, kBase + 4, "end", "0") + "\r\n";
  for (int i = 0; i < kDiasGrafico; ++i) {
    if (quantidades[i] > 0) svg += Barra(i, quantidades[i], maximo, dias[i]) + "\r\n";
    if (i % 5 == 0 || i == kDiasGrafico - 1)
      svg += Texto(kMargem + i * kPasso + kPasso / 2, kBase + 16, "middle", DiaMes(dias[i])) + "\r\n";
  }
  return svg + "</svg>";
}

}  // namespace tavoran::tavadmin
