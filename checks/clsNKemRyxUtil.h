#pragma once
// The utility object every step uses: registry, main directory, names, files and
// folders, Windows folders, regional settings, versions, drive mapping, whitelist,
// processes and services, and the default-data file with the help links.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Ambiente.h"
#include "platform/Erro.h"
#include "reports/LinksAjuda.h"
#include "reports/clsNKemRyxLogErr.h"

namespace tavoran {

class clsNKemRyxUtil {
 public:
  clsNKemRyxUtil(Ambiente& ambiente, const LinksAjuda& links);
  ~clsNKemRyxUtil();
  clsNKemRyxUtil(const clsNKemRyxUtil&) = delete;
  clsNKemRyxUtil& operator=(const clsNKemRyxUtil&) = delete;

  std::int32_t ErroNumero() const;
  const std::string& ErroDescricao() const;

  std::string DirT();
  std::string UNC();
  std::string RetornarNomeComputador();
  std::string RetornarLogin();
  bool RetornarPastaPervasive(std::string& v_sPasta);
  bool RetornarArquivoInfo(const std::string& v_sArquivo, DataHora& v_dtDataHora, std::string& v_sVersao);
  std::string RetornarNomeArquivo(const std::string& v_sCaminho, bool v_bSemExtensao);
  bool RetornarNomeSistemaOperacional(std::string& v_sNome);
  bool RetornarVersaoSistemaOperacional(std::string& v_sVersao);
  bool CopiarArquivo(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool ExcluirArquivo(const std::string& v_sArquivo);
  bool ArquivoExiste(const std::string& v_sArquivo);
  bool PastaExiste(const std::string& v_sPasta);
  bool CorrigirConfiguracaoDataWindows(bool& v_bAlterado);
  std::string RetornarConfigRegionalUsuario(std::uint32_t v_lIdLocale, std::uint32_t v_lItem);
  std::uint32_t LerDWordRegistro(RaizRegistro v_lRaiz, const std::string& v_sChave, const std::string& v_sValor);
  std::string LerStringRegistro(RaizRegistro v_lRaiz, const std::string& v_sChave, const std::string& v_sValor);
  bool EscreverString(RaizRegistro v_lRaiz, const std::string& v_sChave, const std::string& v_sValor,
                      const std::string& v_sTexto);
  std::string RetornarPastaWindowsSystem();
  std::string RetornarPastaWindows();
  std::string RetornarPastaEspecial(int v_lCsidl);
  bool OrdenarArrayString(std::vector<std::string>& v_asLista);
  bool VerificarKemEmExecucao(IdJanela v_lHwnd, bool& v_bEmExecucao);
  bool RetornarVersaoMaior(const std::string& v_sVersaoA, const std::string& v_sVersaoB, std::string& v_sVersaoMaior);
  bool MapearDirT(const std::string& v_sCaminhoRemoto, const std::string& v_sUnidadeLocal);
  bool VerificarComponenteTavoran(const std::string& v_sArquivo, bool& v_bListado);
  bool VerificarProcessoInicializado(const std::string& v_sNome, bool& v_bEmExecucao, std::string& v_sNomeEncontrado);
  bool IniciarServico(const std::string& v_sServico, const std::string& v_sExecutavel, bool& v_bEmExecucao);
  bool CarregarObjXml();
  std::string RetornarLinkPadraoTavoran(const std::string& v_sChave);
  void FinalizarComponenteChiilkat();

 private:
  std::string LerCacheRegistro(std::string& cache, const std::string& valor);
  std::string CaminhoEspecial(int v_lCsidl);
  bool LerSistemaOperacional(std::string& v_sTexto, bool v_bVersao, const std::string& rotina);
  void ProcessarEventos();

  Ambiente& ambiente_;
  EstadoErro erro_;
  std::string dirT_, unc_;
  clsNKemRyxLogErr links_;  // used only to find help links
  std::unique_ptr<IDocumentoXml> xml_;
};

}  // namespace tavoran
