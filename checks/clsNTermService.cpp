#include "checks/clsNTermService.h"

namespace tavoran {

namespace {
constexpr std::int32_t kErroConsultaSessao = 100045;
}

std::string clsNTermService::NomeMaquinaCliente() {
  ConsultarSessao();
  return nomeMaquinaCliente_;
}

bool clsNTermService::UtilizandoTerminalService() {
  ConsultarSessao();
  return utilizandoTerminalService_;
}

// A failed query keeps the values of the last successful one.
void clsNTermService::ConsultarSessao() {
  erro_.Limpar();
  std::string nome;
  bool consultou = false;
  try {
    consultou = ambiente_.sessaoTerminal && ambiente_.sessaoTerminal->NomeClienteSessao(nome);
  } catch (...) {
    consultou = false;
  }
  if (!consultou) {
    erro_.Definir(kErroConsultaSessao, "Erro na seleção do RDP. Nenhuma informação foi colhida.");
    return;
  }
  nomeMaquinaCliente_ = nome;
  utilizandoTerminalService_ = !nome.empty();
}

}  // namespace tavoran
