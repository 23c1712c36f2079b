#pragma once
// The steps every installer is built on: the install-or-update decision, the copy into the
// workstation, the deletion of an old copy with its in-use handling, and the library
// components (copied, registered as .NET assemblies when asked).
#include <cstdint>
#include <string>

#include "install/ContextoInstalacao.h"

namespace tavoran {

// How a missing version and the forced update enter the install-or-update decision.
enum class RegraVersao {
  Janela,    // forced update honoured; an empty destination version means update
  Controle,  // no forced update; an empty version on either side leaves it to the dates
};

class clsOperacoesComponente {
 public:
  explicit clsOperacoesComponente(ContextoInstalacao& contexto) : c_(contexto) {}

  // Only called when the destination exists. The second result is the source version's
  // leading number (4.0.30319.1 gives 4; no version gives 0).
  bool VerificarPrecisaAtualizar(const std::string& v_sOrigem, const std::string& v_sDestino,
                                 bool& v_bPrecisaAtualizar, std::int32_t& v_lVersaoMaiorOrigem,
                                 RegraVersao v_enRegra = RegraVersao::Janela);

  // A failed copy is reported and the caller goes on: the copy is written beside the
  // destination first and put in place only once complete, so a copy that fails midway leaves
  // the destination as it was and nothing beside it.
  bool CopiarComponente(const std::string& v_sOrigem, const std::string& v_sDestino);
  // The first half of a replacement: the new file complete beside the destination. False
  // (reported) when it could not be written; the destination is untouched either way.
  bool PrepararCopia(const std::string& v_sOrigem, const std::string& v_sDestino);
  // The second half, after the old file was deleted: the new file takes its name.
  bool ConcluirCopia(const std::string& v_sOrigem, const std::string& v_sDestino);
  void DescartarCopia(const std::string& v_sDestino);
  // The two halves without a report: false with the failure, and nothing left beside.
  bool CopiarAoLado(const std::string& v_sOrigem, const std::string& v_sDestino, Falha& v_objFalha);
  bool ColocarNoLugar(const std::string& v_sDestino, Falha& v_objFalha);

  // False when the file stays: then v_bComponenteProprio tells whether the components
  // whitelist lists it (its failure was reported) or not (skipped without a word).
  bool ExcluirComponente(const std::string& v_sTexto, const std::string& v_sArquivo, bool& v_bComponenteProprio);
  // Why the last deletion that left its file failed.
  const Falha& FalhaExclusao() const { return falhaExclusao_; }

  bool InstalarAtualizarComponenteBiblioteca(const std::string& v_sOrigem, const std::string& v_sDestino,
                                             bool v_bRegistrarEContar);
  bool InstalarComponenteBiblioteca(const std::string& v_sOrigem, const std::string& v_sDestino,
                                    bool v_bRegistrar);
  bool AtualizarComponenteBiblioteca(const std::string& v_sOrigem, const std::string& v_sDestino);
  // Replaces a file that needs no registration: the new copy is prepared beside it, the old
  // one deleted, the new one put in place and the text written to the update report. False
  // only when a whitelisted file could not be deleted and the pass must stop.
  bool SubstituirArquivo(const std::string& v_sTexto, const std::string& v_sOrigem, const std::string& v_sDestino);
  // RegAsm registration; a failure is reported under "Registrar componente" and the run goes on.
  void RegistrarComponenteNet(const std::string& v_sArquivo, bool v_bRegistrar);

  static std::string ArquivoTemporario(const std::string& v_sDestino) { return v_sDestino + ".tavnovo"; }

 private:
  void RelatarFalhaCopia(const std::string& origem, const std::string& destino, const Falha& falha);

  ContextoInstalacao& c_;
  Falha falhaExclusao_;
};

}  // namespace tavoran
