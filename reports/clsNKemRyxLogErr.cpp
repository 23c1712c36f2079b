#include "reports/clsNKemRyxLogErr.h"

#include "platform/Texto.h"

namespace tavoran {
namespace {

// The help-link key of an error; empty when no article applies. Keys of errors that
// share a number tell the cases apart (upper case).
std::string ChaveDoLink(std::int32_t numero, const std::string& descricao, const std::string& chave) {
  switch (numero) {
    case 70:
    case 75:
      return "C1";
    case 161:
      return "C2";
    case 429:
    case 430:
      return "C3";
    case 3014:
      return "C4";
    case 107707:
      return "C6";
    case 107719:
      return "C17";
    case 107720:
      return "C18";
    case 107721:
      return "C19";
    case 3012:
      if (chave == "PORTA") return "C11";
      if (chave == "REDE") return "C10";
      if (chave == "SEMLINK") return "";
      return "C8";
    case 3103:
      if (chave == "PORTA") return "C13";
      if (chave == "REDE") return "C14";
      if (chave == "SEMLINK") return "";
      return "C12";
    case 23098:
      return "C20";
    case 0:
      if (chave == "ERRO_VBDTI80") return "C23";
      if (chave == "COMPONENTE_AUSENTE") return "C3";
      return "C9";
    default:
      break;
  }
  // Checked before the last numbers of the table: an automation error of any of them
  // points to the component article.
  if (Maiusculas(Aparar(descricao)) == "AUTOMATION ERROR") return "C3";
  switch (numero) {
    case 32181:
      return "C21";
    case 32182:
      return "C22";
    case 9071:
      return "C16";
    case 12345:
      return "C26";
    default:
      return "";
  }
}

constexpr const char* kConselhoPadrao =
    "Acesse a Central Online e utilize a Base de Conhecimento para encontrar o Guia Prático de solução deste "
    "problema.";

}  // namespace

clsNKemRyxLogErr::clsNKemRyxLogErr(IArquivos& arquivos, IRelogio& relogio, const LinksAjuda& links)
    : documento_(arquivos, relogio, "Relatório de Inconsistência de Componentes Tavoran"), links_(links) {}

clsNKemRyxLogErr::~clsNKemRyxLogErr() { documento_.FecharLog(); }

std::int32_t clsNKemRyxLogErr::ErroNumero() const { return documento_.Erro().Numero(); }
const std::string& clsNKemRyxLogErr::ErroDescricao() const { return documento_.Erro().Descricao(); }
const std::string& clsNKemRyxLogErr::Arquivo() const { return documento_.Arquivo(); }
void clsNKemRyxLogErr::Arquivo(const std::string& v_sArquivo) { documento_.Arquivo(v_sArquivo); }
std::int16_t clsNKemRyxLogErr::LogsGravados() const { return documento_.LogsGravados(); }

bool clsNKemRyxLogErr::TratarErrosComFAQLinks(std::int32_t v_lErroNumero, std::string& v_sLink,
                                              const std::string& v_sErroDescricao, const std::string& v_sErroChave) {
  v_sLink.clear();
  auto& erro = documento_.Erro();
  return Protegido(erro, "TratarErrosComFAQLinks", false, [&] {
    erro.Limpar();
    const std::string chave = ChaveDoLink(v_lErroNumero, v_sErroDescricao, Maiusculas(v_sErroChave));
    if (!chave.empty()) v_sLink = links_.Link(chave);
    return true;
  });
}

bool clsNKemRyxLogErr::GravarLog(const std::string& v_sMensagem, const std::string& /*v_sLink*/,
                                 std::int32_t v_lErroNumero, const std::string& v_sErroDescricao,
                                 const std::string& v_sErroChave, const std::string& v_sSolucao) {
  auto& d = documento_;
  return Protegido(d.Erro(), "GravarLog", false, [&] {
    d.Erro().Limpar();
    std::string link;
    TratarErrosComFAQLinks(v_lErroNumero, link, v_sErroDescricao, v_sErroChave);
    if (!d.AbrirComInicio()) return false;
    if (!d.TabelaIniciada()) {
      d.Escrever("<table width='100%' cellpadding='2' cellspacing='0'>");
      d.Escrever("<tr>");
      d.Escrever("   <td class='tdTitulo'>Data e Hora</td>");
      d.Escrever("   <td class='tdTitulo'>Mensagem</td>");
      d.Escrever("   <td class='tdTitulo'>Informações do Erro</td>");
      d.Escrever("   <td class='tdTitulo'>Solução</td>");
      d.Escrever("</tr>");
      d.MarcarTabelaIniciada();
    }
    d.Escrever("<tr>");
    d.Escrever("   <td class='tdErro' style='text-align:center'>" + d.DataHoraAtual() + "</td>");
    d.Escrever("   <td class='tdErro' style='text-align:left'>" + v_sMensagem + "</td>");
    d.Escrever("   <td class='tdErro' style='text-align:left'>" + std::to_string(v_lErroNumero) + " - " +
               v_sErroDescricao + "</td>");
    if (!Aparar(link).empty()) {
      d.Escrever("   <td class='tdErro' style='text-align:center'><a href = \"" + link +
                 "\" target=\"_blank\">Clique Aqui</a> para acessar o Guia Prático de solução deste problema. </td>");
    } else {
      const std::string texto = Aparar(v_sSolucao).empty() ? std::string(kConselhoPadrao) : v_sSolucao;
      d.Escrever("   <td class='tdErro' style='text-align:center'>" + texto + "</td>");
    }
    d.Escrever("</tr>");
    d.ContarLinha();
    return true;
  });
}

bool clsNKemRyxLogErr::FecharLog() { return documento_.FecharLog(); }

}  // namespace tavoran
