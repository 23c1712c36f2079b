#include "install/ContextoInstalacao.h"

#include <cctype>

namespace tavoran {

void ContextoInstalacao::GravarLog(const std::string& v_sAcao, std::int32_t v_lNumero,
                                   const std::string& v_sDescricao) {
  try {
    if (log != nullptr)
      log->GravarLog(v_sAcao, v_lNumero, v_sDescricao);
    else
      logErr.GravarLog(v_sAcao, "", v_lNumero, v_sDescricao, "", "");
  } catch (...) {
    // The report keeps its own error; the installation goes on.
  }
}

void ContextoInstalacao::GravarLog(const std::string& v_sMensagem, std::int32_t v_lNumero,
                                   const std::string& v_sDescricao, const std::string& v_sChave) {
  try {
    logErr.GravarLog(v_sMensagem, "", v_lNumero, v_sDescricao, v_sChave, "");
  } catch (...) {
    // The report keeps its own error; the installation goes on.
  }
}

double ContextoInstalacao::ValorVersaoBtrieve() const { return ValorNumerico(versaoBtrieve); }

void ContextoInstalacao::IniciarOculto(const std::string& v_sLinhaComando) {
  std::uint32_t id = 0;
  const Falha f = ambiente.shell->IniciarPrograma(v_sLinhaComando, EstiloJanela::Oculta, id);
  if (f.Ocorreu()) throw ErroRuntime(f.numero, f.descricao);
}

std::string ArgumentoComando(const std::string& v_sNome) {
  return v_sNome.find(' ') == std::string::npos ? v_sNome : "\"" + v_sNome + "\"";
}

double ValorNumerico(const std::string& v_sTexto) {
  std::size_t i = 0;
  while (i < v_sTexto.size() && (v_sTexto[i] == ' ' || v_sTexto[i] == '\t')) ++i;
  bool negativo = false;
  if (i < v_sTexto.size() && (v_sTexto[i] == '-' || v_sTexto[i] == '+')) negativo = v_sTexto[i++] == '-';
  double valor = 0, escala = 0;
  for (; i < v_sTexto.size(); ++i) {
    const char c = v_sTexto[i];
    if (c == '.' && escala == 0) {
      escala = 1;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      if (escala == 0) {
        valor = valor * 10 + (c - '0');
      } else {
        escala /= 10;
        valor += (c - '0') * escala;
      }
    } else {
      break;
    }
  }
  return negativo ? -valor : valor;
}

}  // namespace tavoran
