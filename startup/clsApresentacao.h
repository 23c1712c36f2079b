#pragma once
// The system's message boxes: the generic error box, information boxes and boxes that
// offer the help article for the case, opened in the browser.
#include <cstdint>
#include <string>

#include "platform/Shell.h"
#include "platform/Visao.h"
#include "reports/clsNKemRyxLogErr.h"

namespace tavoran {

inline constexpr const char* kTituloPadrao = "Tavoran - Atenção";
inline constexpr const char* kQuebra = "\r\n";

class clsApresentacao {
 public:
  // The help links are found by the inconsistency report's lookup.
  clsApresentacao(IVisao& visao, IShell& shell, clsNKemRyxLogErr* resolvedorLinks);

  // The start-up module's generic box: when building or showing it fails, a second box
  // tells of that failure instead.
  void ExibirErroGenerico(std::int32_t v_lNumero, const std::string& v_sDescricao, const std::string& v_sRotina);
  // The progress window's generic box: a failure on the way is not shown again.
  void ExibirErroGenericoJanela(std::int32_t v_lNumero, const std::string& v_sDescricao,
                                const std::string& v_sRotina);
  // An information box; the button pressed.
  int ExibirMensagemInformacao(const std::string& v_sTexto, const std::string& v_sTitulo = kTituloPadrao);
  // A question box (OK only) that opens the help article when answered with OK.
  void ExibirMensagemComFAQLinks(const std::string& v_sMensagem, std::int32_t v_lNumero,
                                 const std::string& v_sDescricao, const std::string& v_sChave);
  // Looks up the help link of an error and opens it ("open", shown normally); nothing is awaited.
  void AbrirAjuda(std::int32_t v_lNumero, const std::string& v_sDescricao, const std::string& v_sChave);

  static std::string TextoErroGenerico(std::int32_t numero, const std::string& descricao, const std::string& rotina);

 private:
  IVisao& visao_;
  IShell& shell_;
  clsNKemRyxLogErr* resolvedor_;  // none: every link is empty
};

}  // namespace tavoran
