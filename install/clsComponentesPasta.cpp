#include "install/clsComponentesPasta.h"

#include "platform/Texto.h"

namespace tavoran {
bool clsComponentesPasta::VerificarArquivoComponente(const std::string& v_sArquivo, bool& v_bComponente) {
  const std::string nome = Minusculas(Aparar(v_sArquivo));
  v_bComponente = false;
  if (nome == "stdole2.tlb" || nome == "msvbvm60.dll" || nome == "scrrun.dll") return true;
  if (nome == "vbdti80.dll" && c_.ValorVersaoBtrieve() < 8.6) return true;
  const auto ponto = nome.rfind('.');
  const std::string extensao = ponto == std::string::npos ? nome : nome.substr(ponto + 1);
  v_bComponente = extensao == "dll" || extensao == "dep" || extensao == "ocx" || extensao == "tlb";
  return true;
}

bool clsComponentesPasta::VerificarArquivoExecutavel(const std::string& v_sArquivo, bool& v_bExecutavel) {
  const std::string nome = Maiusculas(Aparar(v_sArquivo));
  v_bExecutavel = nome.size() >= 4 && nome.compare(nome.size() - 4, 4, ".EXE") == 0;
  return true;
}

template <class Filtro>
bool clsComponentesPasta::Listar(const std::string& v_sPasta, Filtro&& filtro, std::vector<std::string>& nomes) {
  nomes.clear();
  for (const EntradaPasta& e : c_.ambiente.arquivos->Listar(v_sPasta + "\\*.*")) {
    if (e.pasta) continue;
    bool aceito = false;
    if (!filtro(e.nome, aceito)) return false;
    if (aceito) nomes.push_back(Maiusculas(e.nome));
  }
  return true;
}

bool clsComponentesPasta::RetornarQuantidadeComponentesPasta(const std::string& v_sPasta,
                                                             std::int32_t& v_lQuantidade) {
  v_lQuantidade = 0;
  std::vector<std::string> nomes;
  if (!RetornarComponentesPasta(v_sPasta, nomes)) return false;
  v_lQuantidade = static_cast<std::int32_t>(nomes.size());
  return true;
}

bool clsComponentesPasta::RetornarComponentesPasta(const std::string& v_sPasta,
                                                   std::vector<std::string>& v_asComponentes) {
  return Listar(
      v_sPasta, [&](const std::string& n, bool& a) { return VerificarArquivoComponente(n, a); }, v_asComponentes);
}

bool clsComponentesPasta::RetornarExecutaveisPasta(const std::string& v_sPasta,
                                                   std::vector<std::string>& v_asExecutaveis) {
  return Listar(
      v_sPasta, [&](const std::string& n, bool& a) { return VerificarArquivoExecutavel(n, a); }, v_asExecutaveis);
}

// The folders the lookup matches with "v??".
bool clsComponentesPasta::RetornarPastasKoraComponentesNetVersao(const std::string& v_sPasta,
                                                                 std::vector<std::string>& v_asPastas) {
  v_asPastas.clear();
  for (const EntradaPasta& e : c_.ambiente.arquivos->Listar(v_sPasta + "\\v??"))
    if (e.pasta) v_asPastas.push_back(Maiusculas(e.nome));
  return true;
}

}  // namespace tavoran
