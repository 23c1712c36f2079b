#include "install/clsNShellExecWait.h"

namespace tavoran {
namespace {

constexpr std::int32_t kErroAbrirProcesso = 106947;
constexpr unsigned kIntervaloMs = 100;

}  // namespace

bool clsNShellExecWait::ShellExecuteExcutarEAguardarTermino(const std::string& v_sArquivo,
                                                            const std::string& v_sParametros,
                                                            EstiloJanela v_enMostrar) {
  erro_.Limpar();
  return Protegido(erro_, "ShellExecuteExcutarEAguardarTermino", false, [&] {
    std::unique_ptr<IProcessoIniciado> processo;
    if (ambiente_.shell->ExecutarProcesso(v_sArquivo, v_sParametros, v_enMostrar, processo).Ocorreu() || !processo) {
      erro_.Definir(kErroAbrirProcesso, "Falha ao abrir o processo.", "ShellExecuteExcutarEAguardarTermino");
      return false;
    }
    AguardarTermino(*processo);
    return true;
  });
}

bool clsNShellExecWait::ShellExecutarEAguardarTermino(const std::string& v_sLinhaComando, EstiloJanela v_enEstilo) {
  erro_.Limpar();
  return Protegido(erro_, "ShellExecutarEAguardarTermino", false, [&] {
    std::unique_ptr<IProcessoIniciado> processo;
    const Falha f = ambiente_.shell->IniciarProcesso(v_sLinhaComando, v_enEstilo, processo);
    if (f.Ocorreu()) {
      erro_.Definir(f.numero, f.descricao, "ShellExecutarEAguardarTermino");
      return false;
    }
    if (!processo) {
      erro_.Definir(kErroAbrirProcesso, "Falha ao abrir o processo.", "ShellExecutarEAguardarTermino");
      return false;
    }
    AguardarTermino(*processo);
    return true;
  });
}

// No time limit: a program that never ends keeps the wait going while the window's events
// run every 100 ms; the wait ends as soon as the program does.
void clsNShellExecWait::AguardarTermino(IProcessoIniciado& processo) {
  while (!processo.Terminou(kIntervaloMs))
    if (ambiente_.visao) ambiente_.visao->ProcessarEventos();
}

}  // namespace tavoran
