#include "install/clsNControlaComp.h"

#include "platform/Texto.h"

namespace tavoran {

clsNControlaComp::~clsNControlaComp() = default;

bool clsNControlaComp::InicializarObjeto(clsNKemRyxLogErr& v_objLog, clsNKemRyxUtil* v_objUtil,
                                         const LinksAjuda& v_objLinks) {
  if (v_objUtil == nullptr) {
    utilProprio_ = std::make_unique<clsNKemRyxUtil>(ambiente_, v_objLinks);
    v_objUtil = utilProprio_.get();
  }
  regComp_ = std::make_unique<clsNKemRegComp>(ambiente_);
  contexto_ = std::make_unique<ContextoInstalacao>(ambiente_, *v_objUtil, nullptr, v_objLog, *regComp_, silencioso_);
  pasta_ = std::make_unique<clsComponentesPasta>(*contexto_);
  op_ = std::make_unique<clsOperacoesComponente>(*contexto_);
  activeX_ = std::make_unique<clsInstaladorActiveX>(*contexto_, *pasta_, *op_);
  return true;
}

bool clsNControlaComp::VerificarObjetoIniciado() {
  if (contexto_) return true;
  erro_.Definir(12345, "Objeto não iniciado", "VerificarObjetoIniciado");
  return false;
}

void clsNControlaComp::GravarLog(const std::string& texto, std::int32_t numero, const std::string& descricao) {
  contexto_->GravarLog(texto, numero, descricao, "");
}

bool clsNControlaComp::InstalarAtualizarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino,
                                                          bool /*v_bReservado*/, bool& v_bAusente,
                                                          bool& v_bInstalado) {
  v_bAusente = false;
  v_bInstalado = false;
  erro_.Limpar();
  if (!VerificarObjetoIniciado()) return false;
  return Protegido(erro_, "InstalarAtualizarComponenteActiveX", false, [&] {
    clsNKemRyxUtil& util = contexto_->util;
    if (!util.ArquivoExiste(v_sDestino)) {
      if (!util.ArquivoExiste(v_sOrigem)) {
        v_bAusente = true;
        return true;
      }
      if (!InstalarComponenteActiveX(v_sOrigem, v_sDestino)) return false;
      v_bInstalado = true;
      return true;
    }
    bool precisa = false;
    std::int32_t versaoMaior = 0;
    if (!op_->VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior, RegraVersao::Controle))
      return false;
    if (precisa) {
      if (!AtualizarComponenteActiveX(v_sOrigem, v_sDestino)) return false;
      v_bInstalado = true;
      return true;
    }
    bool precisaRegistrar = false;
    activeX_->VerificarPrecisaRegistrar(v_sDestino, precisaRegistrar);
    return !precisaRegistrar || RegistrarComponenteActiveX(v_sDestino);
  });
}

bool clsNControlaComp::CopiarAoLado(const std::string& origem, const std::string& destino) {
  Falha f;
  if (op_->CopiarAoLado(origem, destino, f)) return true;
  GravarLog("Falha ao copiar componente '" + origem + "' para '" + destino + "'.", f.numero, f.descricao);
  erro_.Definir(f.numero, "Falha ao copiar componente.", "CopiarComponente");
  return false;
}

bool clsNControlaComp::ColocarNoLugar(const std::string& origem, const std::string& destino) {
  Falha f;
  if (op_->ColocarNoLugar(destino, f)) return true;
  GravarLog("Falha ao copiar componente '" + origem + "' para '" + destino + "'.", f.numero, f.descricao);
  erro_.Definir(f.numero, "Falha ao copiar componente.", "CopiarComponente");
  return false;
}

bool clsNControlaComp::RegistrarComponente(const std::string& texto, const std::string& arquivo) {
  if (regComp_->RegistrarComponente(arquivo, true)) return true;
  GravarLog(texto, regComp_->ErroNumero(), regComp_->ErroDescricao());
  erro_.Definir(regComp_->ErroNumero(), "Falha ao registrar componente.", "RegistrarComponente");
  return false;
}

bool clsNControlaComp::InstalarComponenteActiveX(const std::string& origem, const std::string& destino) {
  const std::string texto = "Instalar componente ActiveX '" + destino + "'.";
  if (!CopiarAoLado(origem, destino) || !ColocarNoLugar(origem, destino)) return false;
  if (!RegistrarComponente(texto, destino)) {
    contexto_->util.ExcluirArquivo(destino);  // installed anew by the next run
    return false;
  }
  GravarLog(texto, 0, "");
  return true;
}

// The new copy is complete beside the old one before the old one is unregistered and deleted.
bool clsNControlaComp::AtualizarComponenteActiveX(const std::string& origem, const std::string& destino) {
  const std::string texto = "Atualizar componente ActiveX '" + destino + "'.";
  if (!CopiarAoLado(origem, destino)) return false;
  activeX_->DesregistrarComponente(texto, destino);
  bool proprio = false;
  if (!op_->ExcluirComponente(texto, destino, proprio)) {
    op_->DescartarCopia(destino);
    activeX_->RegistrarComponente(texto, destino);
    return !proprio;
  }
  if (!ColocarNoLugar(origem, destino)) return false;
  if (!RegistrarComponente(texto, destino)) {
    contexto_->util.ExcluirArquivo(destino);
    return false;
  }
  GravarLog(texto, 0, "");
  return true;
}

bool clsNControlaComp::RegistrarComponenteActiveX(const std::string& destino) {
  const std::string texto = "Registrar componente ActiveX '" + destino + "'.";
  activeX_->DesregistrarComponente(texto, destino);
  if (!RegistrarComponente(texto, destino)) return false;
  GravarLog(texto, 0, "");
  return true;
}

}  // namespace tavoran
