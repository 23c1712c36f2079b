#pragma once
// The .NET assemblies of the shared tree, registered for COM with RegAsm; the suite's COM
// executable TAVINTEGCNPJ.EXE; the per-framework copies of .NET libraries; and the files of
// the embedded browser runtime.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "install/clsComponentesPasta.h"
#include "install/clsOperacoesComponente.h"
#include "install/clsWindowsUsuarios.h"

namespace tavoran {

class clsInstaladorNet {
 public:
  // pararServicoResidente stops a resident program by its process name (false: it failed).
  clsInstaladorNet(ContextoInstalacao& contexto, clsComponentesPasta& pasta, clsOperacoesComponente& operacoes,
                   std::function<bool(const std::string&)> pararServicoResidente);

  bool InstalarAtualizarComponentesNet();
  bool CarregarRegAsm();
  bool InstalarAtualizarComponentesPastaBibliotecaNet(const std::string& v_sPastaOrigem,
                                                      const std::string& v_sPastaDestino);
  bool VerificarComponenteDotNetPodeSerInstalado(const std::string& v_sArquivo,
                                                 const std::vector<std::string>& v_asProprios, bool& v_bPodeInstalar);
  bool VerificarComponenteExisteNoArray(const std::string& v_sNome, const std::vector<std::string>& v_asLista,
                                        bool& v_bEncontrado);
  bool InstalarAtualizarComponenteBibliotecaNet(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool AtualizarComponenteBibliotecaNet(const std::string& v_sOrigem, const std::string& v_sDestino,
                                        bool v_bExcluirTypeLib);
  bool RegistrarComponenteNetComTentativas(const std::string& v_sPastaOrigem, const std::string& v_sDestino);
  bool InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoes(const std::string& v_sPastaOrigem,
                                                                   const std::string& v_sPastaDestino);
  bool InstalarAtualizarComponentesPastaBibliotecaNetPastasVersoesArquivos(const std::string& v_sPastaOrigem,
                                                                           const std::string& v_sPastaDestino);
  bool InstalarAtualizarComponenteBibliotecaNetVersao(const std::string& v_sOrigem, const std::string& v_sDestino,
                                                      bool v_bRegistrar);
  bool RetornarNetFramewor35kInstalado(bool& v_bInstalado);
  bool RetornarNetFramewor45kInstalado(bool& v_bInstalado);
  bool InstalarAtualizarTavIntegCnpj(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool InstalarTavIntegCnpj(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool AtualizarTavIntegCnpj(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool RegistrarTavIntegCnpj(const std::string& v_sArquivo);
  bool ObterArquivosComponentesDotNetCefSharp(std::vector<std::string>& v_asArquivos);
  std::int32_t ObterArquivosComponentesDotNetCefSharpQuantidade();
  bool InstalarComponentesDotNetCefSharp();

 private:
  std::string TypeLib(const std::string& v_sArquivo) const;
  bool InstalarPasta(const std::string& v_sOrigem, const std::string& v_sDestino, bool v_bRegistrar);
  std::vector<std::string> ArquivosPak();

  ContextoInstalacao& c_;
  clsComponentesPasta& pasta_;
  clsOperacoesComponente& op_;
  std::function<bool(const std::string&)> pararServicoResidente_;
};

}  // namespace tavoran
