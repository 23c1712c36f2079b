#pragma once
// Which files of a shared folder are components (libraries, controls, type libraries) or
// executables, and the version folders of the .NET components, as the file system lists them.
#include <cstdint>
#include <string>
#include <vector>

#include "install/ContextoInstalacao.h"

namespace tavoran {

class clsComponentesPasta {
 public:
  explicit clsComponentesPasta(ContextoInstalacao& contexto) : c_(contexto) {}

  bool VerificarArquivoComponente(const std::string& v_sArquivo, bool& v_bComponente);
  bool RetornarQuantidadeComponentesPasta(const std::string& v_sPasta, std::int32_t& v_lQuantidade);
  // Upper-cased names, in the order the lookup returns them.
  bool RetornarComponentesPasta(const std::string& v_sPasta, std::vector<std::string>& v_asComponentes);
  bool RetornarPastasKoraComponentesNetVersao(const std::string& v_sPasta, std::vector<std::string>& v_asPastas);
  bool VerificarArquivoExecutavel(const std::string& v_sArquivo, bool& v_bExecutavel);
  bool RetornarExecutaveisPasta(const std::string& v_sPasta, std::vector<std::string>& v_asExecutaveis);

 private:
  // Files (hidden ones included, folders not) of the folder that pass the filter.
  template <class Filtro>
  bool Listar(const std::string& v_sPasta, Filtro&& filtro, std::vector<std::string>& nomes);

  ContextoInstalacao& c_;
};

}  // namespace tavoran
