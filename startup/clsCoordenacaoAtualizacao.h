#pragma once
// Whether this computer must update, and that only one instance of a computer updates
// at a time: the status record on the share decides, the computer's lock file held open
// exclusively is the lock. Nothing here waits or retries.
#include <memory>
#include <string>

#include "platform/Ambiente.h"
#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"
#include "startup/clsApresentacao.h"

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
  // Used before the window exists: an unexpected error is shown with the start-up's box.
  static void ExcluirRegistroSelvcomp(Ambiente& v_objAmbiente, clsApresentacao& v_objApresentacao,
                                      const std::string& v_sMaquina, const std::string& v_sDiretorio);

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
