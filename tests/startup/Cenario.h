#pragma once
// A workstation of fakes with an installed suite on drive P:, and the progress window.
#include <memory>
#include <string>

#include "records/clsSssVersao.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"
#include "startup/frmInicial.h"
#include "tests/fakes/EstacaoFalsa.h"
#include "tests/fakes/Falsos.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran::testes {

inline constexpr const char* kDirT = "P:\\Tavoran.win";
inline constexpr const char* kChaveDirT = "SOFTWARE\\Tavoran\\DIR_T";
inline constexpr const char* kComponentes = "P:\\Tavoran.win\\KORA\\COMPONENTES";

// The suite installed on the share: the main directory in the registry, the version file
// expecting version 1.0.0.0 of the four start-up programs, and the programs themselves.
inline void InstalarSuite(AmbienteFalso& f) {
  f.registro->DefinirTexto(kChaveDirT, "", kDirT);
  f.arquivos->CriarPastas(std::string(kDirT) + "\\KEM");
  clsSssVersao v(*f.ambiente.btrieve, *f.ambiente.arquivos);
  v.Diretorio(kDirT);
  v.Sistema("KEM");
  v.Criar();
  v.Abrir(0, "");
  for (const char* programa : {"TAVORAN.EXE", "TAVORAN2.EXE", "KEMCRIAARQ.EXE", "KEMGRAVAARQUIVOWSE.EXE"}) {
    v.AdicionarNovo();
    v.VersaoSistema("5.0");
    v.NomeProgramaArquivo(programa);
    v.VersaoPrograma("1.0.0.0");
    v.VersaoOrdenacao("0005.0000");
    v.Gravar();
    const std::string caminho = std::string(kDirT) + (std::string(programa) == "KEMGRAVAARQUIVOWSE.EXE" ? "\\KEM\\" : "\\") + programa;
    f.arquivos->CriarArquivo(caminho, "MZ");
    f.arquivos->DefinirVersao(caminho, "1.0.0.0");
  }
  v.Fechar();
  PrepararWindows(f);
  CriarComponenteCom(f, std::string(kComponentes) + "\\TLBINF32.DLL", "1.5.0.0", "{8B217740-717D-11CE-AB5B-D41203C10000}");
}

struct Cenario {
  Cenario() {
    InstalarSuite(f);
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
