#pragma once
// A workstation of fakes with an installed suite on drive P:, and the progress window.
#include <memory>
#include <string>

#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"
#include "startup/frmInicial.h"
#include "tests/fakes/Falsos.h"

namespace tavoran::testes {

inline constexpr const char* kDirT = "P:\\Tavoran.win";
inline constexpr const char* kChaveDirT = "SOFTWARE\\Tavoran\\DIR_T";

struct Cenario {
  Cenario() {
    f.registro->DefinirTexto(kChaveDirT, "", kDirT);
    f.arquivos->CriarPastas(kDirT);
    logErr = std::make_shared<clsNKemRyxLogErr>(*f.ambiente.arquivos, *f.ambiente.relogio, links);
    janela = std::make_unique<frmInicial>(f.ambiente, links);
    f.ambiente.visao->Carregar(*janela);
  }
  // The update-report and inconsistency-report files of this run.
  std::string RelatorioAtualizacao() const {
    return std::string(kDirT) + "\\Logs\\RYX\\ESTACAO01 (2026-12-08_09-05-07).HTML";
  }
  std::string RelatorioInconsistencia() const {
    return std::string(kDirT) + "\\Logs\\RYX\\Erros\\ESTACAO01 (2026-12-08_09-05-07).HTML";
  }
  bool Inicializar() { return janela->Inicializar(logErr); }

  AmbienteFalso f;
  LinksAjuda links;
  std::shared_ptr<clsNKemRyxLogErr> logErr;
  std::unique_ptr<frmInicial> janela;
};

}  // namespace tavoran::testes
