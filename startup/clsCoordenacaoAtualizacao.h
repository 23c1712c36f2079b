#pragma once
// Whether this computer must update, and that only one instance of a computer updates
// at a time: the status record on the share decides, the computer's lock file held open
// exclusively is the lock. Nothing here waits or retries.
#include <memory>
#include <string>

#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"

namespace tavoran {

class frmInicial;

class clsCoordenacaoAtualizacao {
 public:
  explicit clsCoordenacaoAtualizacao(frmInicial& janela);
  ~clsCoordenacaoAtualizacao();

  bool ExecutarVerificacoesTerminalService();
  bool VerificarMaquinaBloqueada(bool& v_bBloqueada);
  bool VerificarPrecisaAtualizarComponentes(bool& v_bPrecisaAtualizar, bool& v_bAtualizacaoForcada);
  bool ObterBloqueio();
  void ExibirMensagemBloqueio();
  bool AtualizarSelvComp(bool v_bAtualizacaoForcada);
  bool GravarRegistroSelVcomp();
  bool AlterarSelvComp();
  bool Desbloquear();
  void ExcluirRegistroSelvcomp(const std::string& v_sMaquina, const std::string& v_sDiretorio);

  // Releases the status file object, then the lock object (closing the lock file).
  void Liberar();
  bool BloqueioMantido() const { return bloqueio_ != nullptr; }

 private:
  std::unique_ptr<clsRyxMaqBloqueio> NovoBloqueio();

  frmInicial& janela_;
  std::unique_ptr<clsSelVcomp> selVcomp_;
  std::unique_ptr<clsRyxMaqBloqueio> bloqueio_;
};

}  // namespace tavoran
