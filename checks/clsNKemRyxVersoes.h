#pragma once
// Version verification of the four start-up programs on the share against the versions
// that KEMVERSAO.BTR prescribes for the current system version. Shows its own boxes for
// what the user must act on (file missing or unreadable, programs missing or outdated);
// every other failure travels through the error state.
#include <cstdint>
#include <memory>
#include <string>

#include "checks/clsNKemRyxUtil.h"
#include "platform/Ambiente.h"
#include "platform/Erro.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"

namespace tavoran {

class clsSssVersao;

class clsNKemRyxVersoes {
 public:
  clsNKemRyxVersoes(Ambiente& ambiente, const LinksAjuda& links);
  ~clsNKemRyxVersoes();
  clsNKemRyxVersoes(const clsNKemRyxVersoes&) = delete;
  clsNKemRyxVersoes& operator=(const clsNKemRyxVersoes&) = delete;

  std::int32_t ErroNumero() const { return erro_.Numero(); }
  const std::string& ErroDescricao() const { return erro_.Descricao(); }

  // True when all four programs exist and none is older than expected. When false,
  // mensagemExibida tells whether the user has already been shown the case.
  bool VerificarVersoes(bool& mensagemExibida);

 private:
  std::unique_ptr<clsSssVersao> CriarAbrirKemVersao(bool& mensagemExibida);
  bool RetornarUltimaVersaoSistema(clsSssVersao& v_objVersao, std::string& v_sVersaoSistema);
  bool RetornarUltimaVersaoPrograma(const std::string& v_sPrograma, const std::string& v_sVersaoSistema,
                                    clsSssVersao& v_objVersao, std::string& v_sVersaoEsperada);
  bool VerificarVersaoPrograma(clsSssVersao& v_objVersao, const std::string& v_sVersaoSistema,
                               const std::string& v_sPrograma, const std::string& v_sDirT, bool& naoEncontrado,
                               bool& desatualizado, std::string& v_sVersaoEsperada);
  void ConfigurarErro(std::int32_t v_lNumero, const std::string& v_sDescricao, const std::string& v_sRotina);
  // The information box; on OK, the help article found for the number and key.
  void ExibirMensagemComAjuda(const std::string& v_sMensagem, std::int32_t v_lNumeroAjuda,
                              const std::string& v_sChaveAjuda);

  Ambiente& ambiente_;
  const LinksAjuda& links_;
  clsNKemRyxUtil util_;
  std::unique_ptr<clsNKemRyxLogErr> localizadorLinks_;  // lives for one VerificarVersoes
  EstadoErro erro_;
};

}  // namespace tavoran
