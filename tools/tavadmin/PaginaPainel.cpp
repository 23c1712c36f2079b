#include "tools/tavadmin/PaginaPainel.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

#include "platform/Texto.h"
#include "tools/tavadmin/EnderecoPagina.h"
#include "tools/tavadmin/GraficoAtualizacoes.h"

namespace tavoran::tavadmin {
namespace {

constexpr const char* kTitulo = "Painel das estações Tavoran";
// The heads of the two report columns (PaginaPainel::CelulasRelatorios).
constexpr const char* kCabecalhosRelatorios =
    "<th>Último relatório de atualização</th><th>Último relatório de inconsistência</th></tr>";

constexpr const char* kEstilo[] = {
    "body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #222222; margin: 16px; }",
    "h1 { font-size: 14pt; margin: 0 0 4px 0; }",
    "h2 { font-size: 11pt; margin: 20px 0 6px 0; }",
    "table { border-collapse: collapse; }",
    "th { background-color: #3B5B7A; color: #FFFFFF; font-size: 9pt; text-align: left; padding: 3px 8px; }",
    "td { border: 1px solid #CCCCCC; font-size: 9pt; padding: 2px 8px; }",
    "tr.forcar td { background-color: #FFF2CC; }",
    ".emUso { color: #B00000; font-weight: bold; }",
    ".abandonado { color: #666666; }",
    ".barra { fill: #2A6FDB; }",
    "svg text { font-family: Arial, Helvetica, sans-serif; font-size: 10px; fill: #444444; }",
};

// "YYYY-MM-DD hh:mm:ss" of a report name's stamp.
std::string DataHoraDoNome(const std::string& nome) {
  std::string computador, carimbo;
  LerNomeRelatorio(nome, computador, carimbo);
  return carimbo.substr(0, 10) + " " + Substituir(carimbo.substr(11), "-", ":");
}

// "YYYYMMDD" shown as "YYYY-MM-DD"; anything else as stored.
std::string DataLegivel(const std::string& data) {
  if (data.size() != 8 || data.find_first_not_of("0123456789") != std::string::npos) return data;
  return data.substr(0, 4) + "-" + data.substr(4, 2) + "-" + data.substr(6, 2);
}

std::string Forcar(const std::string& valor) { return valor == "1" ? "Sim" : valor == "0" ? "Não" : valor; }

std::string Celula(const std::string& html) { return "<td>" + html + "</td>"; }

std::string Plural(std::size_t n, const char* um, const char* varios) {
  return std::to_string(n) + " " + (n == 1 ? um : varios);
}

}  // namespace

std::string EscaparHtml(const std::string& texto) {
  static constexpr std::pair<char, const char*> kReferencias[] = {
      {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&#39;"}};
  if (texto.find_first_of("&<>\"'") == std::string::npos) return texto;
  std::string saida;
  for (const char c : texto) {
    const auto* r = std::find_if(std::begin(kReferencias), std::end(kReferencias),
                                 [c](const auto& referencia) { return referencia.first == c; });
    if (r == std::end(kReferencias))
      saida += c;
    else
      saida += r->second;
  }
  return saida;
}

PaginaPainel::PaginaPainel(const Frota& frota, DadosPagina dados) : frota_(frota), dados_(std::move(dados)) {}

std::string PaginaPainel::Montar() {
  html_.clear();
  Cabecalho();
  Resumo();
  Grafico();
  Pendentes();
  Bloqueios();
  Estacoes();
  SemRegistro();
  Linha("</body>");
  Linha("</html>");
  return std::move(html_);
}

void PaginaPainel::Linha(const std::string& texto) {
  html_ += texto;
  html_ += "\r\n";
}

void PaginaPainel::Cabecalho() {
  Linha("<!DOCTYPE html>");
  Linha("<html lang='pt-BR'>");
  Linha("<head>");
  Linha("<meta charset='windows-1252'>");
  Linha("<title>" + std::string(kTitulo) + "</title>");
  Linha("<style>");
  for (const char* regra : kEstilo) Linha(regra);
  Linha("</style>");
  Linha("</head>");
  Linha("<body>");
  Linha("<h1>" + std::string(kTitulo) + "</h1>");
  Linha("<p>Diretório principal <b>" + EscaparHtml(dados_.dirT) + "</b>, gerado em " +
        FormatarDataHoraRelatorio(dados_.agora) + ".</p>");
}

void PaginaPainel::Resumo() {
  std::size_t pendentes = 0, emUso = 0;
  for (const EstacaoFrota& e : frota_.estacoes) pendentes += e.forcar == "1";
  for (const BloqueioFrota& b : frota_.bloqueios) emUso += b.situacao == SituacaoBloqueio::kEmUso;
  Linha("<p id='resumo'>" + Plural(frota_.estacoes.size(), "estação", "estações") + " no arquivo de status, " +
        std::to_string(pendentes) + " com atualização forçada pendente; " +
        Plural(frota_.bloqueios.size(), "arquivo", "arquivos") + " de bloqueio, " + std::to_string(emUso) +
        " em uso agora.</p>");
}

void PaginaPainel::Grafico() {
  const std::vector<std::string> dias = UltimosDias(dados_.agora, kDiasGrafico);
  int total = 0;
  for (auto d = frota_.atualizacoesPorDia.lower_bound(dias.front());
       d != frota_.atualizacoesPorDia.end() && d->first <= dias.back(); ++d)
    total += d->second;
  Linha("<h2>Atualizações por dia nos últimos 30 dias</h2>");
  Linha("<p>" + Plural(static_cast<std::size_t>(total), "relatório", "relatórios") +
        " de atualização em Logs\\RYX de " + dias.front() + " a " + dias.back() + ".</p>");
  Linha(GraficoAtualizacoes(frota_.atualizacoesPorDia, dados_.agora));
}

void PaginaPainel::Pendentes() {
  Linha("<h2>Atualização forçada pendente</h2>");
  std::string linhas;
  for (const EstacaoFrota& e : frota_.estacoes) {
    if (e.forcar != "1") continue;
    linhas += "<tr>" + Celula(EscaparHtml(e.maquina)) +
              Celula(EscaparHtml(Aparar(DataLegivel(e.data) + " " + e.hora))) + Celula(EscaparHtml(e.usuario)) +
              "</tr>\r\n";
  }
  if (linhas.empty()) return Linha("<p>Nenhuma estação aguarda atualização forçada.</p>");
  Linha("<table id='pendentes'>");
  Linha("<tr><th>Estação</th><th>Última atualização</th><th>Usuário</th></tr>");
  html_ += linhas;
  Linha("</table>");
}

void PaginaPainel::Bloqueios() {
  Linha("<h2>Arquivos de bloqueio</h2>");
  if (frota_.bloqueios.empty()) return Linha("<p>Nenhum arquivo de bloqueio no diretório principal.</p>");
  Linha("<table id='bloqueios'>");
  Linha("<tr><th>Arquivo</th><th>Estação</th><th>Situação</th></tr>");
  for (const BloqueioFrota& b : frota_.bloqueios) {
    std::string situacao;
    if (b.situacao == SituacaoBloqueio::kEmUso)
      situacao = "<span class='emUso'>Em uso agora: atualização em andamento</span>";
    else if (b.situacao == SituacaoBloqueio::kAbandonado)
      situacao = "<span class='abandonado'>Abandonado: a última atualização não terminou com sucesso</span>";
    else
      situacao = "Não verificado: " + EscaparHtml(b.falha);
    Linha("<tr>" + Celula(EscaparHtml(b.arquivo)) + Celula(EscaparHtml(b.maquina)) + Celula(situacao) + "</tr>");
  }
  Linha("</table>");
}

void PaginaPainel::Estacoes() {
  Linha("<h2>Estações (SELVCOMP.BTR)</h2>");
  if (frota_.estacoes.empty()) return Linha("<p>O arquivo de status não tem estações.</p>");
  Linha("<table id='estacoes'>");
  Linha(std::string("<tr><th>Estação</th><th>Status</th><th>Data</th><th>Hora</th><th>Usuário</th><th>Forçar</th>") +
        kCabecalhosRelatorios);
  for (const EstacaoFrota& e : frota_.estacoes) {
    html_ += e.forcar == "1" ? "<tr class='forcar'>" : "<tr>";
    html_ += Celula(EscaparHtml(e.maquina)) + Celula(EscaparHtml(e.status)) + Celula(EscaparHtml(DataLegivel(e.data))) +
             Celula(EscaparHtml(e.hora)) + Celula(EscaparHtml(e.usuario)) + Celula(EscaparHtml(Forcar(e.forcar))) +
             CelulasRelatorios(e.maquina);
    Linha("</tr>");
  }
  Linha("</table>");
}

void PaginaPainel::SemRegistro() {
  std::set<std::string> registradas;
  for (const EstacaoFrota& e : frota_.estacoes) registradas.insert(Maiusculas(e.maquina));
  std::string linhas;
  for (const auto& [chave, r] : frota_.relatorios)
    if (!registradas.count(chave))
      linhas += "<tr>" + Celula(EscaparHtml(r.nome)) + CelulasRelatorios(chave) + "</tr>\r\n";
  if (linhas.empty()) return;
  Linha("<h2>Computadores com relatórios e sem registro no arquivo de status</h2>");
  Linha("<table id='semRegistro'>");
  Linha(std::string("<tr><th>Computador</th>") + kCabecalhosRelatorios);
  html_ += linhas;
  Linha("</table>");
}

std::string PaginaPainel::CelulasRelatorios(const std::string& maquina) const {
  const auto r = frota_.relatorios.find(Maiusculas(maquina));
  if (r == frota_.relatorios.end()) return Celula("-") + Celula("-");
  return Celula(Link("Logs/RYX/", r->second.atualizacao)) + Celula(Link("Logs/RYX/Erros/", r->second.inconsistencia));
}

std::string PaginaPainel::Link(const std::string& pasta, const std::string& nome) const {
  if (nome.empty()) return "-";
  return "<a href='" + EscaparHtml(dados_.enderecoDirT + CodificarUrl(pasta + nome)) + "'>" + DataHoraDoNome(nome) +
         "</a>";
}

}  // namespace tavoran::tavadmin
