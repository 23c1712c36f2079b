#pragma once
// What the installation routines reach: the platform facilities, the utilities, both report
// writers, the registration engine and the small interface the progress window implements.
// The routines never hold the window itself.
#include <cstdint>
#include <string>

#include "checks/clsNKemRyxUtil.h"
#include "install/clsNKemRegComp.h"
#include "platform/Ambiente.h"
#include "reports/clsNKemRyxLog.h"
#include "reports/clsNKemRyxLogErr.h"

namespace tavoran {

inline constexpr const char* kQuebraLinha = "\r\n";
inline constexpr const char* kTituloAtencao = "Tavoran - Atenção";

// The progress window as the installation sees it.
class IProgresso {
 public:
  virtual ~IProgresso() = default;
  // Sets the step text and lets the window repaint.
  virtual void ExibirMensagem(const std::string& v_sTexto) = 0;
  // Advances the bar by one, never past its maximum.
  virtual void AdicionarProgresso() = 0;
  virtual void DefinirMaximoProgresso(int v_lMaximo) = 0;
  // Pauses about 500 ms on the window's timer while the window stays alive.
  virtual void Aguardar() = 0;
  virtual int CaixaMensagem(const std::string& v_sTexto, const std::string& v_sTitulo, BotoesCaixa v_enBotoes,
                            IconeCaixa v_enIcone) = 0;
  virtual void ExibirErroGenerico(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                  const std::string& v_sRotina) = 0;
};

// The window's interface for a caller without a window: no step text, no bar, no pause, no box.
class ProgressoSilencioso : public IProgresso {
 public:
  void ExibirMensagem(const std::string&) override {}
  void AdicionarProgresso() override {}
  void DefinirMaximoProgresso(int) override {}
  void Aguardar() override {}
  int CaixaMensagem(const std::string&, const std::string&, BotoesCaixa, IconeCaixa) override { return kBotaoOk; }
  void ExibirErroGenerico(std::int32_t, const std::string&, const std::string&) override {}
};

// Runs a routine's body; an unexpected error is shown with the generic box under the
// routine's name and makes the routine fail.
template <class F>
bool ExecutarRotina(IProgresso& progresso, const std::string& v_sRotina, F&& corpo) {
  try {
    return corpo();
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    try {
      progresso.ExibirErroGenerico(f.numero, f.descricao, v_sRotina);
    } catch (...) {
      // The box itself failed: the routine's failure is all that is left to report.
    }
    return false;
  }
}

// Where the components come from and where they go; computed once per run.
struct PastasInstalacao {
  std::string PastaComponentes, PastaPsql, PastaComponentesNet, PastaCefSharp, PastaLocales, PastaWindowsLibrary;
  std::string PastaSistema, PastaWindows, PastaPervasiveBin;
};

struct ContextoInstalacao {
  // Without an update report, actions go to the inconsistency report too.
  ContextoInstalacao(Ambiente& a, clsNKemRyxUtil& u, clsNKemRyxLog* l, clsNKemRyxLogErr& le, clsNKemRegComp& r,
                     IProgresso& p)
      : ambiente(a), util(u), log(l), logErr(le), regComp(r), progresso(p) {}

  Ambiente& ambiente;
  clsNKemRyxUtil& util;
  clsNKemRyxLog* log;
  clsNKemRyxLogErr& logErr;
  clsNKemRegComp& regComp;
  IProgresso& progresso;

  PastasInstalacao pastas;
  std::string versaoBtrieve;       // the engine's version text, "8.60" say
  bool forcarAtualizacao = false;  // every existing component counts as out of date
  std::string caminhoRegAsm;
  std::int32_t versaoFrameworkRegAsm = 0;

  // An update-report row; a failure to write it is not the installation's.
  void GravarLog(const std::string& v_sAcao, std::int32_t v_lNumero, const std::string& v_sDescricao);
  // An inconsistency-report entry.
  void GravarLog(const std::string& v_sMensagem, std::int32_t v_lNumero, const std::string& v_sDescricao,
                 const std::string& v_sChave);
  // The leading number of the engine version ("8.60" gives 8.6).
  double ValorVersaoBtrieve() const;
  // Starts a command line hidden, without waiting; a program that cannot start is the
  // calling routine's run-time error.
  void IniciarOculto(const std::string& v_sLinhaComando);
  // The progress window as the owner of what the shell opens; none without a window.
  IdJanela JanelaDona() const { return ambiente.visao ? ambiente.visao->Janela() : 0; }
};

// Shows a step text for as long as a routine runs and clears it when the routine ends, on
// every way out.
class TextoEtapa {
 public:
  TextoEtapa(IProgresso& progresso, const std::string& v_sTexto) : progresso_(progresso) {
    progresso_.ExibirMensagem(v_sTexto);
  }
  ~TextoEtapa() {
    try {
      progresso_.ExibirMensagem("");
    } catch (...) {
      // A failing repaint is no failure of the routine.
    }
  }
  TextoEtapa(const TextoEtapa&) = delete;
  TextoEtapa& operator=(const TextoEtapa&) = delete;

 private:
  IProgresso& progresso_;
};

// A name as one argument of a command line: in double quotes when it holds a blank.
std::string ArgumentoComando(const std::string& v_sNome);

// The leading number of a text as VB's Val reads it: blanks skipped, digits with at most one
// point; no digits count 0.
double ValorNumerico(const std::string& v_sTexto);

}  // namespace tavoran
