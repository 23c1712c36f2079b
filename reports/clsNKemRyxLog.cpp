#include "reports/clsNKemRyxLog.h"

namespace tavoran {

clsNKemRyxLog::clsNKemRyxLog(IArquivos& arquivos, IRelogio& relogio)
    : documento_(arquivos, relogio, "Relatório de Atualização de Componentes Tavoran") {}

clsNKemRyxLog::~clsNKemRyxLog() { documento_.FecharLog(); }

std::int32_t clsNKemRyxLog::ErroNumero() const { return documento_.Erro().Numero(); }
const std::string& clsNKemRyxLog::ErroDescricao() const { return documento_.Erro().Descricao(); }
const std::string& clsNKemRyxLog::Arquivo() const { return documento_.Arquivo(); }
void clsNKemRyxLog::Arquivo(const std::string& v_sArquivo) { documento_.Arquivo(v_sArquivo); }
std::int16_t clsNKemRyxLog::LogsGravados() const { return documento_.LogsGravados(); }

bool clsNKemRyxLog::GravarLog(const std::string& v_sAcao, std::int32_t v_lErroNumero,
                              const std::string& v_sErroDescricao) {
  auto& d = documento_;
  return Protegido(d.Erro(), "GravarLog", false, [&] {
    d.Erro().Limpar();
    if (!d.AbrirComInicio()) return false;
    // A notice may have opened the file without the table: the first row starts it.
    if (!d.TabelaIniciada()) {
      d.Escrever("<table width='100%' cellpadding='2' cellspacing='0'>");
      d.Escrever("<tr>");
      d.Escrever("   <td class='tdTitulo'>Status</td>");
      d.Escrever("   <td class='tdTitulo'>Data e Hora</td>");
      d.Escrever("   <td class='tdTitulo'>Ação</td>");
      d.Escrever("   <td class='tdTitulo'>Informações do Erro</td>");
      d.Escrever("</tr>");
      d.MarcarTabelaIniciada();
    }
    const std::string dataHora = d.DataHoraAtual();
    if (v_lErroNumero == 0) {
      d.Escrever("<tr>");
      d.Escrever("   <td class='tdOK' style='text-align:center'>OK</td>");
      d.Escrever("   <td class='tdOK' style='text-align:center'>" + dataHora + "</td>");
      d.Escrever("   <td class='tdOK' style='text-align:left'>" + v_sAcao + "</td>");
      d.Escrever("   <td class='tdOK' style='text-align:center'>-</td>");
      d.Escrever("</tr>");
    } else {
      d.Escrever("<tr>");
      d.Escrever("   <td class='tdErro' style='text-align:center'>ERRO</td>");
      d.Escrever("   <td class='tdErro' style='text-align:center'>" + dataHora + "</td>");
      d.Escrever("   <td class='tdErro' style='text-align:left'>" + v_sAcao + "</td>");
      d.Escrever("   <td class='tdErro' style='text-align:left'>" + std::to_string(v_lErroNumero) + " - " +
                 v_sErroDescricao + "</td>");
      d.Escrever("</tr>");
    }
    d.ContarLinha();
    return true;
  });
}

bool clsNKemRyxLog::GravarAlerta(const std::string& v_sAlerta) {
  auto& d = documento_;
  return Protegido(d.Erro(), "GravarAlerta", false, [&] {
    if (!d.AbrirComInicio()) return false;
    d.Escrever("<p class='Alerta'>" + v_sAlerta + "</p>");
    return true;
  });
}

bool clsNKemRyxLog::FecharLog() { return documento_.FecharLog(); }

}  // namespace tavoran
