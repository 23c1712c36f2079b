#include "install/clsInstaladorExecutaveis.h"

#include "platform/ArquivoListado.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

// Files of the suite's former layout, relative to the main directory, in the order they go.
constexpr const char* kArquivosReestruturacao[] = {
    // retired programs in the main directory
    "TAVATUALIZA.EXE", "TAVCONFIG.EXE", "TAVREDE.EXE", "TAVBACKUP.EXE", "TAVRESTAURA.EXE", "TAVINDEXA.EXE",
    "TAVMENSAGEM.EXE", "TAVAGENDA.EXE", "TAVLICENCA.EXE", "TAVCOPIA.EXE", "TAVIMPORTA.EXE", "TAVEXPORTA.EXE",
    "TAVSUPORTE.EXE", "TAVREPARO.EXE", "TAVMONITOR.EXE", "TAVINICIO.EXE",
    // retired programs and their help file in Kora
    "Kora\\KORAATUALIZA.EXE", "Kora\\KORACONFIG.EXE", "Kora\\KORAREGISTRA.EXE", "Kora\\KORAINSTALA.EXE",
    "Kora\\KORAVERIFICA.EXE", "Kora\\KORALIMPA.EXE", "Kora\\KORAREDE.EXE", "Kora\\KORA.HLP",
    // a retired program in Kem
    "Kem\\KEMATUALIZA.EXE",
    // the updater again: a copy written back while the list ran is removed too
    "TAVATUALIZA.EXE",
    // the former database model and record files
    "TAVMODELO.DAT", "TAVANTIGO.BTR", "TAVCONFIG.BTR", "TAVREDE.BTR",
};
static_assert(std::size(kArquivosReestruturacao) == 30);

}  // namespace

bool clsInstaladorExecutaveis::InstalarAtualizarExecutaveis(const std::string& v_sPastaOrigem,
                                                            const std::string& v_sPastaDestino) {
  std::vector<std::string> executaveis;
  if (!pasta_.RetornarExecutaveisPasta(v_sPastaOrigem, executaveis)) return false;
  for (const std::string& nome : executaveis) {
    c_.progresso.ExibirMensagem("Verificando '" + nome + "'");
    if (!InstalarAtualizarExecutavelSelecionado(v_sPastaOrigem + "\\" + nome, v_sPastaDestino + "\\" + nome))
      return false;
    c_.progresso.ExibirMensagem("");
  }
  return true;
}

bool clsInstaladorExecutaveis::InstalarAtualizarExecutavelSelecionado(const std::string& v_sOrigem,
                                                                      const std::string& v_sDestino) {
  c_.progresso.ExibirMensagem("Processando '" + c_.util.RetornarNomeArquivo(v_sOrigem, false) + "'");
  bool ok = true;
  if (!c_.util.ArquivoExiste(v_sDestino)) {
    ok = InstalarExecutavel(v_sOrigem, v_sDestino);
  } else {
    bool precisa = false;
    std::int32_t versaoMaior = 0;
    if (!op_.VerificarPrecisaAtualizar(v_sOrigem, v_sDestino, precisa, versaoMaior)) return false;
    if (precisa) ok = Atualizarexecutavel(v_sOrigem, v_sDestino);
  }
  if (ok) c_.progresso.AdicionarProgresso();
  return ok;
}

bool clsInstaladorExecutaveis::InstalarExecutavel(const std::string& v_sOrigem, const std::string& v_sDestino) {
  op_.CopiarComponente(v_sOrigem, v_sDestino);
  c_.GravarLog("Instalar Executavel '" + v_sDestino + "'.", 0, "");
  return true;
}

bool clsInstaladorExecutaveis::Atualizarexecutavel(const std::string& v_sOrigem, const std::string& v_sDestino) {
  return op_.SubstituirArquivo("Atualizar Executavel '" + v_sDestino + "'.", v_sOrigem, v_sDestino);
}

bool clsInstaladorExecutaveis::ApagarExecutaveisReestruturacaoKem() {
  for (const char* relativo : kArquivosReestruturacao) ReestruturarKem(relativo);
  return true;
}

bool clsInstaladorExecutaveis::ReestruturarKem(const std::string& v_sCaminhoRelativo) {
  const std::string caminho = Maiusculas(c_.util.DirT() + "\\" + v_sCaminhoRelativo);
  if (!ArquivoListado(*c_.ambiente.arquivos, caminho)) return true;
  if (!c_.util.ExcluirArquivo(caminho)) return false;
  c_.GravarLog("Apagar executável " + v_sCaminhoRelativo + ".", 0, "");
  return true;
}

}  // namespace tavoran
