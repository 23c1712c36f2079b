#pragma once
// The ActiveX installer that the start-up uses before the progress window exists: no step
// text, no progress, no forced update; every line goes to the one log given to it, and a
// failed copy or registration fails the component.
#include <cstdint>
#include <memory>
#include <string>

#include "install/clsInstaladorActiveX.h"

namespace tavoran {

class clsNControlaComp {
 public:
  explicit clsNControlaComp(Ambiente& ambiente) : ambiente_(ambiente) {}
  ~clsNControlaComp();

  std::int32_t ErroNumero() const { return erro_.Numero(); }
  const std::string& ErroDescricao() const { return erro_.Descricao(); }
  // Keeps the log, uses the utilities given (or its own when none, built on the links) and
  // creates its registration engine.
  bool InicializarObjeto(clsNKemRyxLogErr& v_objLog, clsNKemRyxUtil* v_objUtil, const LinksAjuda& v_objLinks);
  // Missing: the component is neither on the workstation nor at the source (nothing copied).
  // Installed: it was copied now, or replaced.
  bool InstalarAtualizarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino,
                                          bool v_bReservado, bool& v_bAusente, bool& v_bInstalado);

 private:
  bool InstalarComponenteActiveX(const std::string& origem, const std::string& destino);
  bool AtualizarComponenteActiveX(const std::string& origem, const std::string& destino);
  bool RegistrarComponenteActiveX(const std::string& destino);
  bool CopiarAoLado(const std::string& origem, const std::string& destino);
  bool ColocarNoLugar(const std::string& origem, const std::string& destino);
  bool RegistrarComponente(const std::string& texto, const std::string& arquivo);
  void GravarLog(const std::string& texto, std::int32_t numero, const std::string& descricao);
  bool VerificarObjetoIniciado();

  Ambiente& ambiente_;
  EstadoErro erro_;
  std::unique_ptr<clsNKemRyxUtil> utilProprio_;
  std::unique_ptr<clsNKemRegComp> regComp_;
  ProgressoSilencioso silencioso_;
  std::unique_ptr<ContextoInstalacao> contexto_;
  std::unique_ptr<clsComponentesPasta> pasta_;
  std::unique_ptr<clsOperacoesComponente> op_;
  std::unique_ptr<clsInstaladorActiveX> activeX_;
};

}  // namespace tavoran
