#include "tools/tavadmin/ManifestoVersao.h"

#include "platform/Texto.h"

namespace tavoran::tavadmin {

const std::array<CampoManifesto, kCamposManifesto> kCamposVersao = {{
    {"VersaoSistema", 14},
    {"CaminhoProgramaArquivo", 64},
    {"NomeProgramaArquivo", 64},
    {"VersaoPrograma", 14},
    {"hash", 32},
    {"RegDataCriacao", 8},
    {"RegDataUltAlteracao", 8},
    {"Observacao", 255},
    {"Funcionando", 1},
    {"Beta", 1},
    {"VersaoOrdenacao", 19},
    {"Boletim", 8},
}};

namespace {

constexpr std::size_t kCampoNomePrograma = 2;

bool Utf8Valido(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : 9;
    if (extra == 9 || (extra > 0 && i + extra >= s.size())) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

// Splits one line; false on an unterminated quote.
bool DividirLinha(const std::string& linha, char separador, std::vector<std::string>& valores) {
  valores.assign(1, "");
  bool entreAspas = false;
  for (std::size_t i = 0; i < linha.size(); ++i) {
    const char c = linha[i];
    if (entreAspas) {
      if (c == '"' && i + 1 < linha.size() && linha[i + 1] == '"') {
        valores.back() += '"';
        ++i;
      } else if (c == '"') {
        entreAspas = false;
      } else {
        valores.back() += c;
      }
    } else if (c == '"') {
      entreAspas = true;
    } else if (c == separador) {
      valores.emplace_back();
    } else {
      valores.back() += c;
    }
  }
  return !entreAspas;
}

std::vector<std::string> Linhas(const std::string& texto) {
  std::vector<std::string> linhas;
  std::string atual;
  for (char c : texto) {
    if (c == '\n') {
      if (!atual.empty() && atual.back() == '\r') atual.pop_back();
      linhas.push_back(atual);
      atual.clear();
    } else {
      atual += c;
    }
  }
  if (!atual.empty()) linhas.push_back(atual);
  if (!linhas.empty() && linhas[0].rfind("\xEF\xBB\xBF", 0) == 0) linhas[0].erase(0, 3);  // byte-order mark
  return linhas;
}

// Maps each column of the header to its field; false with a message when a name is
// unknown, repeated or missing.
bool LerCabecalho(const std::vector<std::string>& nomes, std::vector<std::size_t>& coluna, std::string& mensagem) {
  coluna.assign(nomes.size(), kCamposManifesto);
  std::array<bool, kCamposManifesto> visto{};
  for (std::size_t c = 0; c < nomes.size(); ++c) {
    std::size_t campo = 0;
    while (campo < kCamposManifesto && !IguaisSemCaixa(Aparar(nomes[c]), kCamposVersao[campo].nome)) ++campo;
    if (campo == kCamposManifesto || visto[campo]) {
      mensagem = "Linha 1 do manifesto: coluna \"" + Aparar(nomes[c]) + "\" desconhecida ou repetida.";
      return false;
    }
    visto[campo] = true;
    coluna[c] = campo;
  }
  for (std::size_t campo = 0; campo < kCamposManifesto; ++campo)
    if (!visto[campo]) {
      mensagem = std::string("Linha 1 do manifesto: falta a coluna \"") + kCamposVersao[campo].nome + "\".";
      return false;
    }
  return true;
}

}  // namespace

bool LerManifesto(const std::string& texto, std::vector<EntradaVersao>& entradas, std::string& mensagem) {
  entradas.clear();
  const std::vector<std::string> linhas = Linhas(texto);
  if (linhas.empty()) {
    mensagem = "O manifesto está vazio: falta a linha de cabeçalho.";
    return false;
  }
  const char separador = linhas[0].find(';') != std::string::npos ? ';' : ',';
  std::vector<std::string> valores;
  std::vector<std::size_t> coluna;
  if (!DividirLinha(linhas[0], separador, valores) || !LerCabecalho(valores, coluna, mensagem)) {
    if (mensagem.empty()) mensagem = "Linha 1 do manifesto: aspas sem fechamento.";
    return false;
  }
  for (std::size_t n = 1; n < linhas.size(); ++n) {
    const std::string numero = "Linha " + std::to_string(n + 1) + " do manifesto: ";
    const std::string linha = Utf8Valido(linhas[n]) ? linhas[n] : DeCp1252(linhas[n]);
    if (Aparar(linha).empty()) continue;
    if (!DividirLinha(linha, separador, valores)) {
      mensagem = numero + "aspas sem fechamento.";
      return false;
    }
    if (valores.size() != coluna.size()) {
      mensagem = numero + "esperadas " + std::to_string(coluna.size()) + " colunas, encontradas " +
                 std::to_string(valores.size()) + ".";
      return false;
    }
    EntradaVersao entrada;
    for (std::size_t c = 0; c < valores.size(); ++c) {
      const CampoManifesto& campo = kCamposVersao[coluna[c]];
      if (ParaCp1252(valores[c]).size() > campo.tamanho) {
        mensagem = numero + "o campo \"" + campo.nome + "\" passa de " + std::to_string(campo.tamanho) + " caracteres.";
        return false;
      }
      entrada[coluna[c]] = valores[c];
    }
    if (Aparar(entrada[kCampoNomePrograma]).empty()) {
      mensagem = numero + "o campo \"NomeProgramaArquivo\" está em branco.";
      return false;
    }
    entradas.push_back(entrada);
  }
  return true;
}

std::string EscreverManifesto(const std::vector<EntradaVersao>& entradas) {
  std::string texto;
  auto acrescentar = [&texto](const std::string& v) {
    if (v.find_first_of(";\"") == std::string::npos) {
      texto.append(v);
      return;
    }
    texto.push_back('"');
    texto.append(Substituir(v, "\"", "\"\""));
    texto.push_back('"');
  };
  for (std::size_t c = 0; c < kCamposManifesto; ++c) {
    if (c) texto.push_back(';');
    texto.append(kCamposVersao[c].nome);
  }
  texto.append("\r\n");
  for (const EntradaVersao& e : entradas) {
    for (std::size_t c = 0; c < kCamposManifesto; ++c) {
      if (c) texto.push_back(';');
      acrescentar(e[c]);
    }
    texto.append("\r\n");
  }
  return texto;
}

}  // namespace tavoran::tavadmin
