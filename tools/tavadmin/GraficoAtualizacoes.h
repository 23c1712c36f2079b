#pragma once
// The fleet page's chart: update reports per day over the last 30 days, drawn as an
// inline SVG bar chart (no script, nothing fetched).
#include <map>
#include <string>
#include <vector>

#include "platform/Relogio.h"

namespace tavoran::tavadmin {

constexpr int kDiasGrafico = 30;

// The days from hoje - (dias - 1) to hoje, oldest first, as "YYYY-MM-DD".
std::vector<std::string> UltimosDias(const DataHora& hoje, int dias);
// The SVG element, one line per shape; porDia maps "YYYY-MM-DD" to a count.
std::string GraficoAtualizacoes(const std::map<std::string, int>& porDia, const DataHora& hoje);

}  // namespace tavoran::tavadmin
